#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_text.h"
#include "platform/disk.h"
#include "platform/host_profile_dialect.h"
#include "profile/profile_text.h"
#include "times/interval_list.h"
#include "verify/verification_listener.h"

namespace verify {

// A stream has at most this many channels; the channel arrays hold no more.
inline constexpr int32_t kMaxChannels = 32;
// Size of the binary header block that follows the text header.
inline constexpr std::size_t kBinaryHeaderSize = 1096;
// Header texts are read into buffers of this size: at most 99 characters of a
// value are seen.
inline constexpr std::size_t kHeaderTextSize = 100;

// The station values carried from one data file to the next, compared with each
// new file and reported at the end of the run. Empty texts and a zero frequency
// mean that no file has given a value yet.
struct CarriedStation {
  base::FixedText<10> stationName;
  base::FixedText<30> latitude;
  base::FixedText<30> longitude;
  base::FixedText<30> altitude;
  int32_t frequency = 0;
};

// The header values of the latest usable data file. A file that fails the
// usability check leaves them as the previous file left them.
struct FileHeaderValues {
  base::FixedText<10> stationName;  // this file's own; the carried one keeps the first
  int32_t streamTotal = 0;
  int32_t groupCount = 0;
  int32_t channelTotal = 0;
  int32_t streamNumber = 0;
  int32_t streamChannels = 0;
  int32_t channelListCount = 0;
  std::array<base::FixedText<10>, kMaxChannels> channelNames{};
  std::array<int8_t, kMaxChannels> channelNumbers{};
  std::array<int32_t, kMaxChannels> channelRates{};
  int32_t recordSeconds = 0;
  int32_t fileSeconds = 0;
  int32_t headerSize = 0;
  int32_t dataOffset = 0;
  int32_t dataSeconds = 0;
  int32_t realSeconds = 0;
  int32_t declaredRecords = 0;
  int32_t recordCount = 0;
  int32_t startInternal = 0;
  int32_t startHundredths = 0;
  int32_t startExternal = 0;
  int32_t startDos = 0;
  std::array<uint8_t, kBinaryHeaderSize> binaryHeader{};
};

// The counts of the summary; they only grow during a run.
struct RunCounters {
  int32_t errorCount = 0;
  int32_t warningCount = 0;
  int32_t fileCount = 0;
  int32_t directoryCount = 0;
};

// Verifies data files one after another, carrying the station values from each
// file to the next and gathering the time their records cover. What it finds
// it tells its listeners.
class ArchiveVerifier {
 public:
  // Reads data files from disk, which must outlive the verifier, parsing their
  // headers in dialect. The coverage list starts empty with merge mode 0.
  explicit ArchiveVerifier(platform::Disk& disk,
                           profile::ProfileDialect dialect = platform::kHostProfileDialect);
  ArchiveVerifier(const ArchiveVerifier&) = delete;
  ArchiveVerifier& operator=(const ArchiveVerifier&) = delete;

  // Listeners are told in the order they were added; they are not owned and
  // must outlive the verifier. Findings other than an unusable file are counted
  // only while a listener is attached: a check nobody hears is not counted.
  void addListener(VerificationListener& listener);

  // Counts a date directory the walk enters and announces it by name.
  void enterDirectory(std::string_view name);

  // Announces a directory of the disk whose listing could not be read (path:
  // the host's, ending in the separator); nothing is counted, and no log is
  // written of it.
  void directoryUnreadable(std::string_view path);

  // Counts and announces the file, then opens it once. A file that cannot be
  // opened or read to its last two bytes is reported unusable (a finding, and
  // fileVerified(usable false) to the listeners) and changes nothing else.
  // Otherwise its header is parsed once and checked against the previous
  // files, and the time its records cover is added to coverage.
  void verifyFile(const std::string& path);

  const CarriedStation& station() const { return station_; }
  // The header values of the latest usable file.
  const FileHeaderValues& header() const { return header_; }
  const RunCounters& counters() const { return counters_; }
  times::IntervalList& coverage() { return coverage_; }
  const times::IntervalList& coverage() const { return coverage_; }
  // The path of the file under verification as the logs show it (printableName).
  const std::string& currentFile() const { return currentFile_; }
  // Its length in bytes as opened; -1 when it could not be opened.
  int64_t currentLength() const { return currentLength_; }
  // When its content last changed as opened (OpenFile::modified); 0 when unknown.
  int64_t currentModified() const { return currentModified_; }

 private:
  // Compares a carried station text with this file's SYSTEM value of key: an
  // empty field takes the value; a differing one is a finding of kind (this
  // file's value, then the stored one) and, when replace is set, the new value
  // is taken.
  template <std::size_t N>
  void checkCarriedText(const profile::ProfileText& text, base::FixedText<N>& carried,
                        std::string_view key, FindingKind kind, bool replace);
  void checkFrequency(const profile::ProfileText& text);
  void checkChannelCount();
  // Finds an internal clock that did not start one second after the external
  // one, and start hundredths other than 0.
  void checkStartTimes();
  // Counts the finding about the current file and tells the listeners.
  void report(Finding finding);

  platform::Disk& disk_;
  profile::ProfileDialect dialect_;
  std::vector<VerificationListener*> listeners_;
  CarriedStation station_;
  FileHeaderValues header_;
  RunCounters counters_;
  times::IntervalList coverage_{0};
  std::string currentFile_;
  int64_t currentLength_ = -1;
  int64_t currentModified_ = 0;
};

}  // namespace verify
