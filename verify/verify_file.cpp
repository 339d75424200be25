// The per-file pipeline: usability, carried station values, stream and record
// values, then the structured header parts, the start times and the covered
// interval. The file is opened once and its header parsed once.

#include <optional>

#include "base/printable_name.h"
#include "base/text_format.h"
#include "base/wrap32.h"
#include "verify/archive_verifier.h"
#include "verify/data_file_bytes.h"
#include "verify/data_file_header.h"

template <std::size_t N>
void ArchiveVerifier::checkCarriedText(const platform::ProfileText& text, FixedText<N>& carried,
                                       std::string_view key, const char* warningFormat,
                                       bool replace) {
  const std::string value = text.readString("SYSTEM", key, kHeaderTextSize);
  if (carried.empty()) {
    carried.fill(value);
    return;
  }
  if (carried.holds(value)) return;
  const std::string stored(carried.view());  // a full field has no terminator
  reportAboutFile(LOG_WARNING, LOG_CODE_FILE_CHECK,
                  formatText(warningFormat, value.c_str(), stored.c_str()), counters.warningCount);
  if (replace) carried.fill(value);
}

void ArchiveVerifier::checkFrequency(const platform::ProfileText& text) {
  const int32_t value = text.readInt("SYSTEM", "FREQ", -1);
  int32_t& frequency = station.frequency;
  if (frequency == 0) {
    frequency = value;
    return;
  }
  if (frequency == value) return;
  reportAboutFile(
      LOG_WARNING, LOG_CODE_FILE_CHECK,
      formatText("Frequency %d differ from previous file's frequency %d", value, frequency),
      counters.warningCount);
  frequency = value;
}

void ArchiveVerifier::checkChannelCount() {
  if (header.channelListCount == header.streamChannels) return;
  reportAboutFile(LOG_WARNING, LOG_CODE_FILE_CHECK,
                  formatText("channels number %d in stream %d differ from channels number from "
                             "channels list %d",
                             header.streamChannels, header.streamNumber, header.channelListCount),
                  counters.warningCount);
}

int ArchiveVerifier::verifyFile(const std::string& path) {
  currentFile = printableName(path);
  ++counters.fileCount;
  if (log != nullptr) log->write(LOG_INFO, 0, " File " + currentFile, LOG_PREFIX);

  std::unique_ptr<platform::OpenFile> opened = disk_.openForReading(path);
  std::optional<DataFileBytes> file;
  if (opened != nullptr) file.emplace(std::move(opened));
  if (!file || file->checkEnd() != 0) {
    if (log != nullptr) {
      log->write(LOG_ERROR, LOG_CODE_FILE_CHECK, " File " + currentFile + " is unusable",
                 LOG_PREFIX);
    }
    ++counters.errorCount;
    if (listener != nullptr) listener->fileVerified(*this, false);
    return -1;
  }
  const platform::ProfileText text(file->headerText(dialect_), dialect_);

  // The station name is kept from the first file that gives one; the position
  // and the frequency follow every file.
  checkCarriedText(text, station.stationName, "NAME",
                   "Station name %s differ from previous file's station name %s", false);
  checkCarriedText(text, station.latitude, "LAT",
                   "Latitude %s differ from previous file's latitude %s", true);
  checkCarriedText(text, station.longitude, "LON",
                   "Longitude %s differ from previous file's longitude %s", true);
  checkCarriedText(text, station.altitude, "ALT",
                   "Altitude %s differ from previous file's altitude %s", true);
  checkFrequency(text);
  header.stationName.fill(text.readString("SYSTEM", "NAME", kHeaderTextSize));

  header.groupCount = text.readInt("SYSTEM", "N_GROUP", -1);
  header.streamTotal = text.readInt("SYSTEM", "N_STREAM", -1);
  header.channelTotal = text.readInt("SYSTEM", "N_CHANNEL", -1);
  header.streamNumber = text.readInt("FILE", "STREAM", -1);
  const std::string stream = "STREAM" + std::to_string(header.streamNumber);
  header.streamChannels = text.readInt(stream, "N_CH", -1);
  readChannelList(text.readString(stream, "CH#", kHeaderTextSize), header);
  checkChannelCount();
  header.recordSeconds = text.readInt(stream, "REC_SIZE_SEC", -1);
  header.fileSeconds = text.readInt(stream, "FILE_SIZE_SEC", -1);
  header.headerSize = text.readInt("HEADER", "HEADER_SIZE", -1);
  header.dataOffset = text.readInt("HEADER", "OFFSET_TO_DATA", -1);
  header.dataSeconds = text.readInt("FILE", "DATA_SEC", 0);
  header.declaredRecords = wrapDiv(header.dataSeconds, header.recordSeconds);  // 0 for 0 s

  readChannelNames(text, header);
  readGroupRates(text, header);
  header.recordCount = countRecords(file->length(), header);
  header.realSeconds = wrapMul(header.recordCount, header.recordSeconds);
  readStartTimes(text, header);
  checkStartTimes();
  coverage->add(header.startInternal, wrapAdd(header.startInternal, header.realSeconds));
  // The binary block is read (bytes past the file's end keep their value) but
  // not interpreted; a negative offset reads nothing.
  if (header.headerSize >= 0) {
    file->read(header.headerSize, reinterpret_cast<char*>(header.binaryHeader.data()),
               header.binaryHeader.size());
  }
  if (listener != nullptr) listener->fileVerified(*this, true);
  return 0;
}
