#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

namespace base {

// A program's one voice on standard error: every message it writes is a line
// that starts with its name ("cdarchive: ..."), said as a warning (the run goes
// on as it would) or as a failure (the run ends with status 1).
class Voice {
 public:
  // One message: what is streamed into it, written as one line when it ends.
  class Line {
   public:
    Line(Line&&) = delete;
    ~Line() { voice_.err_ << voice_.name_ << ": " << text_.str() << '\n'; }
    template <typename T>
    Line& operator<<(const T& part) {
      text_ << part;
      return *this;
    }

   private:
    friend class Voice;
    explicit Line(Voice& voice) : voice_(voice) {}
    Voice& voice_;
    std::ostringstream text_;
  };

  Voice(std::string_view name, std::ostream& err) : name_(name), err_(err) {}

  // A message of something the run goes on after, as it would.
  Line warn() { return Line(*this); }
  // A message of something that failed: the run's status becomes 1.
  Line fail() {
    failed_ = true;
    return Line(*this);
  }

  // Whether anything failed.
  bool failed() const { return failed_; }
  // The exit status that follows: 1 once anything failed, else 0.
  int status() const { return failed_ ? 1 : 0; }
  // The program's name, as its messages and its progress titles begin.
  const std::string& name() const { return name_; }
  // Where the voice is heard, for what writes whole lines of its own (a
  // progress display, a library's usage text).
  std::ostream& stream() { return err_; }

 private:
  std::string name_;
  std::ostream& err_;
  bool failed_ = false;
};

}  // namespace base
