#pragma once

#include <string>

#include "log/level_filter.h"
#include "log/log_sink.h"
#include "platform/disk.h"

namespace logging {

// A log that appends one line per accepted message to a file, opening and
// closing the file for every line, so that several logs (and several runs) can
// name the same file. A line is: the level ("%2.2d") when showLevel is on, the
// code ("%2.2d") when showCode is on, the prefix when showPrefix is on, each
// followed by the separator " ", then the message as given and CR LF. Nothing of
// a line is ever cut. A file that cannot be opened loses the line silently.
class FileLog : public LogSink {
 public:
  // Appends to fileName on disk the levels that filter accepts; a null filter
  // accepts every level. The filter and the disk are not owned and must outlive
  // the log.
  FileLog(std::string fileName, const LevelFilter* filter,
          platform::Disk& disk = platform::systemDisk());

  void write(int32_t level, int32_t code, std::string_view message,
             std::string_view prefix) override;

  // The line write() appends for these arguments, filter aside.
  std::string composeLine(int32_t level, int32_t code, std::string_view message,
                          std::string_view prefix) const;

  bool showLevel = false;
  bool showCode = false;
  bool showPrefix = true;

 private:
  static constexpr std::string_view kSeparator = " ";

  std::string fileName_;
  const LevelFilter* filter_;
  platform::Disk& disk_;
};

}  // namespace logging
