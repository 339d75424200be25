#include "verify/finding.h"

#include "base/text_format.h"

namespace verify {

Severity severityOf(FindingKind kind) {
  return kind == FindingKind::kUnusable || kind == FindingKind::kStartHundredths
             ? Severity::kError
             : Severity::kWarning;
}

std::string_view findingKindName(FindingKind kind) {
  static constexpr std::string_view kNames[] = {
      "unusable",        "station-name", "latitude",      "longitude",
      "altitude",        "frequency",    "channel-count", "clock-unsynchronised",
      "start-hundredths"};
  return kNames[static_cast<std::size_t>(kind)];
}

bool isClockFinding(FindingKind kind) {
  return kind == FindingKind::kClockUnsynchronised || kind == FindingKind::kStartHundredths;
}

std::string describe(const Finding& f) {
  const std::string value(f.value), previous(f.previous);
  switch (f.kind) {
    case FindingKind::kUnusable:
      return " File " + std::string(f.file) + " is unusable";
    case FindingKind::kStationName:
      return base::formatText("Station name %s differ from previous file's station name %s",
                              value.c_str(), previous.c_str());
    case FindingKind::kLatitude:
      return base::formatText("Latitude %s differ from previous file's latitude %s", value.c_str(),
                              previous.c_str());
    case FindingKind::kLongitude:
      return base::formatText("Longitude %s differ from previous file's longitude %s",
                              value.c_str(), previous.c_str());
    case FindingKind::kAltitude:
      return base::formatText("Altitude %s differ from previous file's altitude %s", value.c_str(),
                              previous.c_str());
    case FindingKind::kFrequency:
      return base::formatText("Frequency %d differ from previous file's frequency %d", f.number,
                              f.expected);
    case FindingKind::kChannelCount:
      return base::formatText(
          "channels number %d in stream %d differ from channels number from channels list %d",
          f.number, f.stream, f.expected);
    case FindingKind::kClockUnsynchronised:
      return base::formatText("Possible time unsyncronysation int: %ld ext: %ld",
                              static_cast<long>(f.number), static_cast<long>(f.expected));
    case FindingKind::kStartHundredths:
      return base::formatText("time start error. Hund: %d", f.number);
  }
  return {};
}

}  // namespace verify
