// The per-file pipeline: usability, carried station values, stream and record
// values, then the structured header parts, the start times and the covered
// interval. The file is opened once and its header parsed once.

#include <optional>

#include "base/printable_name.h"
#include "base/wrap32.h"
#include "verify/archive_verifier.h"
#include "verify/data_file_bytes.h"
#include "verify/data_file_header.h"

namespace verify {

template <std::size_t N>
void ArchiveVerifier::checkCarriedText(const profile::ProfileText& text,
                                       base::FixedText<N>& carried, std::string_view key,
                                       FindingKind kind, bool replace) {
  const std::string value = text.readString("SYSTEM", key, kHeaderTextSize);
  if (carried.empty()) {
    carried.fill(value);
    return;
  }
  if (carried.holds(value)) return;
  const std::string stored(carried.view());  // a full field has no terminator
  report({.kind = kind, .value = value, .previous = stored});
  if (replace) carried.fill(value);
}

void ArchiveVerifier::checkFrequency(const profile::ProfileText& text) {
  const int32_t value = text.readInt("SYSTEM", "FREQ", -1);
  int32_t& frequency = station_.frequency;
  if (frequency == 0) {
    frequency = value;
    return;
  }
  if (frequency == value) return;
  report({.kind = FindingKind::kFrequency, .number = value, .expected = frequency});
  frequency = value;
}

void ArchiveVerifier::checkChannelCount() {
  if (header_.channelListCount == header_.streamChannels) return;
  report({.kind = FindingKind::kChannelCount,
          .number = header_.streamChannels,
          .expected = header_.channelListCount,
          .stream = header_.streamNumber});
}

void ArchiveVerifier::verifyFile(const std::string& path) {
  currentFile_ = base::printableName(path);
  ++counters_.fileCount;
  for (VerificationListener* listener : listeners_) listener->fileStarted(currentFile_);

  base::Outcome<std::unique_ptr<platform::OpenFile>> opened = disk_.openForReading(path);
  currentLength_ = opened ? (*opened)->length() : -1;
  currentModified_ = opened ? (*opened)->modified() : 0;
  std::optional<DataFileBytes> file;
  if (opened) file.emplace(std::move(*opened));
  if (!file || file->checkEnd() != 0) {
    report({.kind = FindingKind::kUnusable});
    for (VerificationListener* listener : listeners_) listener->fileVerified(*this, false);
    return;
  }
  const profile::ProfileText text(file->headerText(dialect_), dialect_);

  // The station name is kept from the first file that gives one; the position
  // and the frequency follow every file.
  checkCarriedText(text, station_.stationName, "NAME", FindingKind::kStationName, false);
  checkCarriedText(text, station_.latitude, "LAT", FindingKind::kLatitude, true);
  checkCarriedText(text, station_.longitude, "LON", FindingKind::kLongitude, true);
  checkCarriedText(text, station_.altitude, "ALT", FindingKind::kAltitude, true);
  checkFrequency(text);
  header_.stationName.fill(text.readString("SYSTEM", "NAME", kHeaderTextSize));

  header_.groupCount = text.readInt("SYSTEM", "N_GROUP", -1);
  header_.streamTotal = text.readInt("SYSTEM", "N_STREAM", -1);
  header_.channelTotal = text.readInt("SYSTEM", "N_CHANNEL", -1);
  header_.streamNumber = text.readInt("FILE", "STREAM", -1);
  const std::string stream = "STREAM" + std::to_string(header_.streamNumber);
  header_.streamChannels = text.readInt(stream, "N_CH", -1);
  readChannelList(text.readString(stream, "CH#", kHeaderTextSize), header_);
  checkChannelCount();
  header_.recordSeconds = text.readInt(stream, "REC_SIZE_SEC", -1);
  header_.fileSeconds = text.readInt(stream, "FILE_SIZE_SEC", -1);
  header_.headerSize = text.readInt("HEADER", "HEADER_SIZE", -1);
  header_.dataOffset = text.readInt("HEADER", "OFFSET_TO_DATA", -1);
  header_.dataSeconds = text.readInt("FILE", "DATA_SEC", 0);
  header_.declaredRecords = base::wrapDiv(header_.dataSeconds, header_.recordSeconds);  // 0 for 0 s

  readChannelNames(text, header_);
  readGroupRates(text, header_);
  header_.recordCount = countRecords(file->length(), header_);
  header_.realSeconds = base::wrapMul(header_.recordCount, header_.recordSeconds);
  readStartTimes(text, header_);
  checkStartTimes();
  coverage_.add(header_.startInternal, base::wrapAdd(header_.startInternal, header_.realSeconds));
  // The binary block is read (bytes past the file's end keep their value) but
  // not interpreted; a negative offset reads nothing.
  if (header_.headerSize >= 0) {
    file->readWhole(header_.headerSize, reinterpret_cast<char*>(header_.binaryHeader.data()),
                    header_.binaryHeader.size());
  }
  for (VerificationListener* listener : listeners_) listener->fileVerified(*this, true);
}

}  // namespace verify
