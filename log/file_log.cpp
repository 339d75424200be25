#include "log/file_log.h"

#include "base/text_format.h"

namespace logging {

FileLog::FileLog(std::string fileName, const LevelFilter* filter, platform::Disk& disk)
    : fileName_(std::move(fileName)), filter_(filter), disk_(disk) {}

std::string FileLog::composeLine(int32_t level, int32_t code, std::string_view message,
                                 std::string_view prefix) const {
  std::string line;
  if (showLevel) (line += base::formatText("%2.2d", level)) += kSeparator;
  if (showCode) (line += base::formatText("%2.2d", code)) += kSeparator;
  if (showPrefix) (line += prefix) += kSeparator;
  (line += message) += "\r\n";
  return line;
}

void FileLog::write(int32_t level, int32_t code, std::string_view message,
                    std::string_view prefix) {
  if (filter_ != nullptr && !filter_->accepts(level)) return;
  // The whole line goes out in one append, so lines of runs sharing a log file
  // never split each other.
  // A log that cannot be written loses the line, as the logs always have.
  (void)disk_.appendToFile(fileName_, composeLine(level, code, message, prefix));
}

}  // namespace logging
