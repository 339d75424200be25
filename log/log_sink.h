#pragma once

#include <cstdint>
#include <string_view>

namespace logging {

// Levels of a log write. Each of the run's four logs takes exactly one of them.
inline constexpr int32_t LOG_INFO = 10;
inline constexpr int32_t LOG_SUMMARY = 20;
inline constexpr int32_t LOG_WARNING = 30;
inline constexpr int32_t LOG_ERROR = 40;

// Code of the warnings and the unusable-file error raised by the file checks;
// every other line has code 0.
inline constexpr int32_t LOG_CODE_FILE_CHECK = 100;

// Prefixes of the driver's, the walk's and most report lines, and of the
// indented report lines.
inline constexpr std::string_view LOG_PREFIX = "   ";
inline constexpr std::string_view LOG_PREFIX_INDENTED = "    ";

// Where messages go. A writer does not learn whether anything was written.
class LogSink {
 public:
  virtual ~LogSink() = default;
  virtual void write(int32_t level, int32_t code, std::string_view message,
                     std::string_view prefix) = 0;
};

}  // namespace logging
