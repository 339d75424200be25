#include "log/log_fanout.h"

namespace logging {

int LogFanout::add(LogSink* sink) {
  if (sinkCount_ >= kMaxSinks) return 1;
  sinks_[static_cast<std::size_t>(sinkCount_++)] = sink;
  return 0;
}

void LogFanout::write(int32_t level, int32_t code, std::string_view message,
                      std::string_view prefix) {
  for (int32_t i = 0; i < sinkCount_; ++i) {
    if (LogSink* sink = sinks_[static_cast<std::size_t>(i)])
      sink->write(level, code, message, prefix);
  }
}

}  // namespace logging
