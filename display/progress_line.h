#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "walk/walk_progress.h"

namespace display {

// One line on a terminal: "TITLE: DONE of LISTED files listed so far, in
// DIRECTORY". It is shown at the first listing and then at most every
// kInterval, each time over the one before (carriage return and blanks, which
// every console understands), cut to kWidth columns so that it never wraps,
// and erased by erase() or at the latest by the destructor.
class ProgressLine : public walk::WalkProgress {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds kInterval{200};
  static constexpr std::size_t kWidth = 79;

  explicit ProgressLine(std::ostream& terminal, Clock clock = &std::chrono::steady_clock::now);
  ~ProgressLine() override;
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Starts a new part of the work (a disk, an input) under title; the counts
  // start again from zero. The title is shown at once.
  void begin(std::string title);
  void filesListed(std::string_view directory, std::size_t count) override;
  void fileVerified(const verify::ArchiveVerifier& verifier, bool usable) override;
  // Shows "TITLE: what" as things stand before the first listing (a disk
  // read whole before it is walked), at most every kInterval.
  void note(std::string what);
  // Leaves the terminal's line as it was before anything was shown.
  void erase();

 private:
  std::string text() const;
  void show(std::string line);
  void showWhenDue();

  std::ostream& terminal_;
  Clock clock_;
  std::chrono::steady_clock::time_point shownAt_;
  std::string title_;
  std::string directory_;
  std::string note_;
  std::size_t listed_ = 0;
  std::size_t done_ = 0;
  std::size_t shownWidth_ = 0;
  bool started_ = false;  // by begin() or a listing
};

}  // namespace display
