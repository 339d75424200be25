#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "log/log_sink.h"

// A sink for tests that keeps every call it receives.
class RecordingSink : public logging::LogSink {
 public:
  struct Call {
    int32_t level;
    int32_t code;
    std::string message;
    std::string prefix;
    bool operator==(const Call&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Call& call) {
      return out << "{" << call.level << ", " << call.code << ", \"" << call.message << "\", \""
                 << call.prefix << "\"}";
    }
  };

  void write(int32_t level, int32_t code, std::string_view message,
             std::string_view prefix) override {
    calls.push_back(Call{level, code, std::string(message), std::string(prefix)});
  }

  // The messages received at level, in order.
  std::vector<std::string> messagesAt(int32_t level) const {
    std::vector<std::string> messages;
    for (const Call& call : calls) {
      if (call.level == level) messages.push_back(call.message);
    }
    return messages;
  }

  std::vector<Call> calls;
};
