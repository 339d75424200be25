#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace times {

// Times as ISO 8601 text without a zone ("2006-06-15T12:00:01"): the station's
// clock has none. Seconds count from 1970-01-01T00:00:00 in the Gregorian
// calendar, without leap seconds.
//
// Why a second calendar beside calendar.h: that one is the verifier's, whose
// times are signed 32-bit counts that wrap as the data files' own arithmetic
// does, with every fourth year a leap year; these are cdcoverage's 64-bit
// times, which never wrap and follow the full Gregorian rule over any year.
// Over the 32-bit range (1901 to 2038) the two agree, as a test proves.

// The text of a time; years before 1 or after 9999 are written with as many
// digits as they need and a sign for negative ones.
std::string isoTime(int64_t seconds);

// isoTime of a time that may be missing; "none" when it is.
std::string isoTimeOrNone(const std::optional<int64_t>& seconds);

// The time of "YYYY-MM-DDTHH:MM:SS" (a space may stand for the T) or of
// "YYYY-MM-DD" (midnight). Nothing for any other text or an impossible date.
std::optional<int64_t> parseIsoTime(std::string_view text);

// The forms of a time that people type on a command line, as FDSN web services
// and ObsPy take them: "2006-06-15" (midnight), "2006-06-15T12:30" (no seconds)
// and "2006-06-15T12:30:01", a space for the T and a trailing "Z" allowed. The
// station's clock has no zone, so the Z changes nothing. Nothing for any other
// text.
std::optional<int64_t> parseTypedTime(std::string_view text);

// The forms parseTypedTime takes, for help and messages.
inline constexpr std::string_view kTypedTimeForms =
    "2006-06-15, 2006-06-15T12:30 or 2006-06-15T12:30:01 (a space may stand for the T, a Z "
    "may end it)";

}  // namespace times
