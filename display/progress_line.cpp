#include "display/progress_line.h"

#include "base/printable_name.h"
#include "base/text_format.h"

namespace display {

ProgressLine::ProgressLine(std::ostream& terminal, Clock clock)
    : terminal_(terminal), clock_(std::move(clock)) {}

ProgressLine::~ProgressLine() { erase(); }

void ProgressLine::begin(std::string title) {
  started_ = true;
  title_ = std::move(title);
  directory_.clear();
  note_.clear();
  listed_ = done_ = 0;
  show(text());
}

void ProgressLine::filesListed(std::string_view directory, std::size_t count) {
  const bool first = !started_ || (listed_ == 0 && done_ == 0);
  started_ = true;
  directory_ = base::printableName(directory);
  listed_ += count;
  if (first) {
    show(text());
  } else {
    showWhenDue();
  }
}

void ProgressLine::fileVerified(const verify::ArchiveVerifier& /*verifier*/, bool /*usable*/) {
  ++done_;
  showWhenDue();
}

void ProgressLine::note(std::string what) {
  note_ = std::move(what);
  showWhenDue();
}

void ProgressLine::erase() {
  if (shownWidth_ == 0) return;
  terminal_ << '\r' << std::string(shownWidth_, ' ') << '\r' << std::flush;
  shownWidth_ = 0;
}

std::string ProgressLine::text() const {
  std::string line = title_;
  if (listed_ == 0 && done_ == 0) return note_.empty() ? line : line + ": " + note_;
  line += ": " + std::to_string(done_) + " of " +
          base::counted(static_cast<int64_t>(listed_), "file") + " listed so far";
  if (!directory_.empty()) line += ", in " + directory_;
  return line;
}

void ProgressLine::show(std::string line) {
  if (line.size() > kWidth) {
    std::size_t cut = kWidth - 3;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;  // UTF-8
    line = line.substr(0, cut) + "...";
  }
  // Blanks over what the longer line before leaves, then the line again, so
  // the cursor ends where the line does.
  const std::size_t blanks = shownWidth_ > line.size() ? shownWidth_ - line.size() : 0;
  terminal_ << '\r' << line << std::string(blanks, ' ');
  if (blanks > 0) terminal_ << '\r' << line;
  terminal_ << std::flush;
  shownWidth_ = line.size();
  shownAt_ = clock_();
}

void ProgressLine::showWhenDue() {
  if (started_ && clock_() - shownAt_ >= kInterval) show(text());
}

}  // namespace display
