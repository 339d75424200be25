// The per-file pipeline: usability, carried station values, stream and record
// values, then the header operations, the start times and the covered interval.

#include "base/text_format.h"
#include "base/wrap32.h"
#include "platform/file_access.h"
#include "verify/archive_verifier.h"

int ArchiveVerifier::checkUsable(const std::string& path) {
  platform::ReadOnlyFile file;
  if (!file.open(path)) return -1;
  const int64_t length = file.length();
  if (length < 2 || !file.seek(length - 2)) return -2;
  char lastBytes[2];
  if (file.read(lastBytes, sizeof lastBytes) != 2) return -3;
  return 0;
}

template <std::size_t N>
void ArchiveVerifier::checkCarriedText(FixedText<N>& carried, std::string_view key,
                                       const char* warningFormat, bool replace,
                                       const std::string& path) {
  const std::string value = profile_.readString("SYSTEM", key, kHeaderTextSize, path);
  if (carried.empty()) {
    carried.fill(value);
    return;
  }
  if (carried.holds(value)) return;
  const std::string stored(carried.view());  // a full field has no terminator
  reportAboutFile(LOG_WARNING, LOG_CODE_FILE_CHECK,
                  formatText(warningFormat, value.c_str(), stored.c_str()), warningCount);
  if (replace) carried.fill(value);
}

void ArchiveVerifier::checkFrequency(const std::string& path) {
  const int32_t value = profile_.readInt("SYSTEM", "FREQ", -1, path);
  if (frequency == 0) {
    frequency = value;
    return;
  }
  if (frequency == value) return;
  reportAboutFile(
      LOG_WARNING, LOG_CODE_FILE_CHECK,
      formatText("Frequency %d differ from previous file's frequency %d", value, frequency),
      warningCount);
  frequency = value;
}

int ArchiveVerifier::verifyFile(const std::string& path) {
  currentFile = path;
  ++fileCount;
  if (log != nullptr) log->write(LOG_INFO, 0, formatText(" File %s", path.c_str()), LOG_PREFIX);

  if (checkUsable(path) != 0) {
    if (log != nullptr) {
      log->write(LOG_ERROR, LOG_CODE_FILE_CHECK, formatText(" File %s is unusable", path.c_str()),
                 LOG_PREFIX);
    }
    ++errorCount;
    return -1;
  }

  // The station name is kept from the first file that gives one; the position
  // and the frequency follow every file.
  checkCarriedText(stationName, "NAME",
                   "Station name %s differ from previous file's station name %s", false, path);
  checkCarriedText(latitude, "LAT", "Latitude %s differ from previous file's latitude %s", true,
                   path);
  checkCarriedText(longitude, "LON", "Longitude %s differ from previous file's longitude %s", true,
                   path);
  checkCarriedText(altitude, "ALT", "Altitude %s differ from previous file's altitude %s", true,
                   path);
  checkFrequency(path);

  groupCount = profile_.readInt("SYSTEM", "N_GROUP", -1, path);
  streamTotal = profile_.readInt("SYSTEM", "N_STREAM", -1, path);
  channelTotal = profile_.readInt("SYSTEM", "N_CHANNEL", -1, path);
  streamNumber = profile_.readInt("FILE", "STREAM", -1, path);
  const std::string stream = formatText("STREAM%d", streamNumber);
  streamChannels = profile_.readInt(stream, "N_CH", -1, path);
  readChannelList(profile_.readString(stream, "CH#", kHeaderTextSize, path));
  if (channelListCount != streamChannels) {
    reportAboutFile(LOG_WARNING, LOG_CODE_FILE_CHECK,
                    formatText("channels number %d in stream %d differ from channels number from "
                               "channels list %d",
                               streamChannels, streamNumber, channelListCount),
                    warningCount);
  }
  recordSeconds = profile_.readInt(stream, "REC_SIZE_SEC", -1, path);
  fileSeconds = profile_.readInt(stream, "FILE_SIZE_SEC", -1, path);
  headerSize = profile_.readInt("HEADER", "HEADER_SIZE", -1, path);
  dataOffset = profile_.readInt("HEADER", "OFFSET_TO_DATA", -1, path);
  dataSeconds = profile_.readInt("FILE", "DATA_SEC", 0, path);
  declaredRecords = wrapDiv(dataSeconds, recordSeconds);  // 0 when REC_SIZE_SEC is 0

  readChannelNames(path);
  readGroupRates(path);
  recordCount = countRecords(path);
  realSeconds = wrapMul(recordCount, recordSeconds);
  readStartTimes(path);
  checkStartTimes();
  coverage->add(startInternal, wrapAdd(startInternal, realSeconds));
  readBinaryHeader(path);
  return 0;
}
