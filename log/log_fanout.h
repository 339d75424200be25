#pragma once

#include <array>
#include <cstdint>

#include "log/log_sink.h"

namespace logging {

// Hands every write to each of its sinks, in the order they were added. It owns
// none of them; a fan-out may hold another fan-out.
class LogFanout : public LogSink {
 public:
  static constexpr int32_t kMaxSinks = 50;

  // Appends sink and returns 0; returns 1 and changes nothing when kMaxSinks are
  // held already.
  int add(LogSink* sink);

  void write(int32_t level, int32_t code, std::string_view message,
             std::string_view prefix) override;

  int32_t sinkCount() const { return sinkCount_; }

 private:
  int32_t sinkCount_ = 0;
  std::array<LogSink*, kMaxSinks> sinks_{};
};

}  // namespace logging
