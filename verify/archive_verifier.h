#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/fixed_text.h"
#include "log/log_sink.h"
#include "platform/directory_lister.h"
#include "platform/profile_reader.h"
#include "timecov/interval_list.h"

// A stream has at most this many channels; the channel arrays hold no more.
inline constexpr int32_t kMaxChannels = 32;
// Size of the binary header block that follows the text header.
inline constexpr std::size_t kBinaryHeaderSize = 1096;
// Header texts are read into buffers of this size: at most 99 characters of a
// value are seen.
inline constexpr std::size_t kHeaderTextSize = 100;
// Width of the walk settings, as wide as the run settings that fill them.
inline constexpr std::size_t kSettingWidth = 50;

// The verifier's state for one run: the walk settings, the station values
// carried from one data file to the next, the header values of the file under
// verification, the counters of the summary, and the coverage list it owns.
// Every field not set by the driver starts at zero.
class ArchiveVerifier {
 public:
  // Verifies through the given directory lister and header reader, which must
  // outlive the verifier. The coverage list starts empty with merge mode 0.
  ArchiveVerifier(platform::DirectoryLister& lister, platform::ProfileReader& profile);
  ArchiveVerifier(const ArchiveVerifier&) = delete;
  ArchiveVerifier& operator=(const ArchiveVerifier&) = delete;

  // --- Archive walk ---------------------------------------------------------

  // Verifies every data file of the selected stream: those of the disk's root in
  // plane mode, else those of every root directory whose name begins with eight
  // digits, each directory announced and counted first.
  void walkArchive();
  // Verifies every selected file that the enumeration of pattern (a directory
  // part ending in the path separator, then a wildcard) yields: hidden, system
  // and directory entries are skipped, and a name's first character must (or,
  // for the trigger stream, must not) be one of the two stream letters.
  void scanFiles(const std::string& pattern);

  // --- File verification pipeline -----------------------------------------

  // Counts and announces the file, reports it when unusable (result -1), else
  // checks its header against the previous files and adds the time its records
  // cover to coverage (result 0).
  int verifyFile(const std::string& path);
  // 0 when the file opens and its last two bytes can be read; -1 when it cannot
  // be opened, -2 when it cannot be positioned two bytes before its end, -3 when
  // those bytes cannot be read (so any file under 2 bytes is unusable).
  int checkUsable(const std::string& path);

  // --- Data file header ---------------------------------------------------

  // Splits a comma-separated channel list: channelListCount is the number of
  // entries (one more than commas), and the first kMaxChannels numbers are stored
  // as their low 8 bits in channelNumbers. An entry without a number reads 0.
  void readChannelList(std::string_view listText);
  // NAME of section "CH<channelNumber>", at most 49 characters.
  std::string readChannelName(const std::string& path, int32_t channelNumber);
  // Fills channelNames for the first streamChannels channels (at most 32).
  void readChannelNames(const std::string& path);
  // Fills channelRates of the first streamChannels channels (at most 32): -1,
  // then each group's FREQ (default -10) for every channel whose number is on
  // the group's CH# list while its rate is still -1. Groups run from 1 to
  // groupCount. Returns 0.
  int readGroupRates(const std::string& path);
  // Whole records between dataOffset and the file's end, (length - dataOffset)
  // divided by the record size truncated toward zero; 0 when the record size is
  // not positive; -1 when the file cannot be opened.
  int32_t countRecords(const std::string& path);
  // Reads up to kBinaryHeaderSize bytes at headerSize into binaryHeader (bytes
  // past the file's end keep their value). 0 when read, -1 when the file cannot
  // be opened, -2 when it cannot be positioned at headerSize.
  int readBinaryHeader(const std::string& path);

  // --- Start time stamps --------------------------------------------------

  // Converts DATE_INT/TIME_INT, DATE_EXT/TIME_EXT and DATE_DOS/TIME_DOS into
  // startInternal, startExternal and startDos, and keeps TIME_INT's hundredths
  // in startHundredths.
  void readStartTimes(const std::string& path);
  // Warns when the internal clock did not start one second after the external
  // one, and reports an error for start hundredths other than 0; written and
  // counted only when a log is attached.
  void checkStartTimes();

  // --- Walk settings (set up by the driver) ----------------------------------
  FixedText<kSettingWidth> archiveDisk;
  uint8_t planeMode = 0;
  uint8_t triggerStream = 0;
  FixedText<kSettingWidth> fileExtension;
  char streamLetter = 0;
  char streamLetterAlt = 0;

  // --- The file under verification and the carried station values ----------
  std::string currentFile;
  FixedText<10> stationName;
  FixedText<30> latitude;
  FixedText<30> longitude;
  FixedText<30> altitude;
  int32_t frequency = 0;  // 0: none seen yet

  // --- Header values of the latest usable file -------------------------------
  int32_t streamTotal = 0;
  int32_t groupCount = 0;
  int32_t channelTotal = 0;
  int32_t streamNumber = 0;
  int32_t streamChannels = 0;
  int32_t channelListCount = 0;
  std::array<FixedText<10>, kMaxChannels> channelNames{};
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

  // --- Output and counters ---------------------------------------------------
  LogSink* log = nullptr;  // not owned; null: nothing is written
  int32_t errorCount = 0;
  int32_t warningCount = 0;
  std::array<uint8_t, kBinaryHeaderSize> binaryHeader{};
  std::unique_ptr<IntervalList> coverage;
  int32_t fileCount = 0;
  int32_t directoryCount = 0;

 private:
  // Compares a carried station text with this file's SYSTEM value of key: an
  // empty field takes the value; a differing one gives the warning (this file's
  // value, then the stored one) and, when replace is set, takes the new value.
  template <std::size_t N>
  void checkCarriedText(FixedText<N>& carried, std::string_view key, const char* warningFormat,
                        bool replace, const std::string& path);
  void checkFrequency(const std::string& path);
  // Writes a message about the current file, prefixed with its path, and counts
  // it in counter; nothing is written or counted without a log.
  void reportAboutFile(int32_t level, int32_t code, const std::string& message, int32_t& counter);
  // The stream channels whose arrays the header operations fill: streamChannels,
  // kept within 0 to kMaxChannels.
  int32_t usedChannels() const;

  platform::DirectoryLister& lister_;
  platform::ProfileReader& profile_;
};
