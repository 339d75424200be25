#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace verify {

// What a check of one data file found.
enum class FindingKind : uint8_t {
  kUnusable,     // the file cannot be opened or read to its last two bytes
  kStationName,  // a station text differs from the one carried from before
  kLatitude,
  kLongitude,
  kAltitude,
  kFrequency,            // the frequency differs from the one carried from before
  kChannelCount,         // the stream's channel count differs from its channel list
  kClockUnsynchronised,  // the internal clock did not start a second after the external
  kStartHundredths,      // the internal start has hundredths other than 0
};

enum class Severity : uint8_t { kWarning, kError };

Severity severityOf(FindingKind kind);

// "unusable", "station-name", "latitude", "longitude", "altitude", "frequency",
// "channel-count", "clock-unsynchronised", "start-hundredths".
std::string_view findingKindName(FindingKind kind);

// The clock checks: the findings about a file's start times.
bool isClockFinding(FindingKind kind);

// One finding with the values involved. It refers to texts of the verifier, so
// it lives only as long as the call that hands it out.
struct Finding {
  FindingKind kind = FindingKind::kUnusable;
  std::string_view file{};      // the file as the logs show it
  std::string_view value{};     // station texts: this file's value
  std::string_view previous{};  // station texts: the value carried from before
  // kFrequency: this file's and the carried frequency; kChannelCount: the
  // stream's channel count and the list's; kClockUnsynchronised: the internal
  // start and the expected one; kStartHundredths: the hundredths.
  int32_t number = 0;
  int32_t expected = 0;
  int32_t stream = 0;  // kChannelCount: the stream's number
};

// The finding in the words of cdverify's logs (for kUnusable the whole line,
// " File <file> is unusable"; for the others the text that follows the file).
std::string describe(const Finding& finding);

}  // namespace verify
