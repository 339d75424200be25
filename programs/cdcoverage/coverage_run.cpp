#include "programs/cdcoverage/coverage_run.h"

#include <ostream>

#include "base/ascii_case.h"
#include "base/printable_name.h"
#include "image/disk_image.h"
#include "platform/host_profile_dialect.h"
#include "platform/path_rules.h"
#include "platform/terminal.h"
#include "programs/cdcoverage/coverage_options.h"
#include "summary/disk_survey.h"
#include "summary/summary_formats.h"
#include "summary/summary_json.h"
#include "times/iso_time.h"
#include "verify/data_file_bytes.h"
#include "walk/write_guard.h"

namespace cdcoverage {

namespace {

bool isSummaryFile(const std::string& input) {
  return input.size() >= 5 && base::equalsIgnoringCase(input.substr(input.size() - 5), ".json");
}

// The whole content of a file; nothing when it cannot be read.
std::optional<std::string> readWholeFile(platform::Disk& disk, const std::string& path) {
  const std::unique_ptr<platform::OpenFile> file = disk.openForReading(path);
  if (!file || file->length() < 0) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(file->length()), '\0');
  if (file->readAt(0, bytes.data(), bytes.size()) != file->length()) return std::nullopt;
  return bytes;
}

// Shows how far the disks have been read, on one line that each report
// overwrites; only on a terminal.
class Progress {
 public:
  Progress(std::ostream& err, std::size_t inputs)
      : err_(err), inputs_(inputs), shown_(platform::standardErrorIsTerminal()) {}
  ~Progress() { show(""); }
  summary::SurveyProgress forDisk(std::size_t index, const std::string& name) {
    if (!shown_) return {};
    return [this, index, name](int32_t files) {
      if (files % 50 != 1) return;
      show("cdcoverage: disk " + std::to_string(index + 1) + "/" + std::to_string(inputs_) + " " +
           base::printableName(name) + ": " + std::to_string(files) + " files");
    };
  }

 private:
  // Overwrites the line shown before (blanks, not terminal escapes: any
  // console understands them).
  void show(const std::string& line) {
    if (!shown_) return;
    err_ << "\r" << line << std::string(line.size() < width_ ? width_ - line.size() : 0, ' ')
         << "\r" << line << std::flush;
    width_ = line.size();
  }

  std::ostream& err_;
  std::size_t inputs_;
  bool shown_;
  std::size_t width_ = 0;
};

// Writes bytes as the whole of path, unless the guard refuses it: the
// archive is only ever read. False, with the reason on err, when it is not
// written; an earlier file of that name is then left as it was.
bool writeFile(const std::string& path, const std::string& bytes, walk::WriteGuard& guard,
               platform::Disk& disk, std::ostream& err) {
  const std::string name = base::printableName(path);
  if (const std::optional<walk::WriteGuard::Refusal> refusal = guard.refusal(path)) {
    err << "cdcoverage: " << name << " " << refusal->reason << ": it is not written\n";
    return false;
  }
  if (const std::optional<std::string> problem = disk.replaceFile(path, bytes)) {
    err << "cdcoverage: cannot write " << name << ": " << *problem << "\n";
    return false;
  }
  return true;
}

// The disks an input holds, or why it cannot be read.
using InputRead = std::variant<std::vector<summary::DiskRecord>, std::string>;

// Reads one input: a JSON summary (a name ending in ".json"), or a disk, which
// is walked with walk's settings and protected by guard.
InputRead readInput(const std::string& input, walk::WalkSettings& walk, platform::Disk& host,
                    const summary::SurveyProgress& progress, walk::WriteGuard& guard,
                    std::ostream& err) {
  const std::string name = base::printableName(input);
  if (isSummaryFile(input)) {
    const std::optional<std::string> text = readWholeFile(host, input);
    if (!text) return "summary " + name + ": cannot be opened";
    InputRead read = summary::disksFromSummaryJson(*text);
    if (auto* message = std::get_if<std::string>(&read))
      *message = "summary " + name + ": " + *message;
    return read;
  }
  const std::string setting = platform::diskSettingOf(input);  // "g:" is the drive g
  guard.protect(setting);
  const image::OpenedDisk opened =
      image::openDisk(setting, host, verify::verificationKeepPolicy(platform::kHostProfileDialect));
  if (opened.problem) return "disk image " + name + " cannot be read: " + *opened.problem;
  for (const std::string& warning : opened.warnings) {
    err << "cdcoverage: disk image " << name << ": " << warning << "\n";
  }
  walk.archiveDisk = setting;
  std::optional<summary::DiskRecord> record = summary::surveyDisk(walk, *opened.disk, progress);
  if (!record) return "disk " + name + ": no such disk, or nothing on it";
  return std::vector<summary::DiskRecord>{std::move(*record)};
}

}  // namespace

int runCoverage(int argc, const char* const* argv, platform::Disk& disk, std::ostream& out,
                std::ostream& err) {
  CoverageOptions options;
  if (const std::optional<int> status = parseCoverageOptions(argc, argv, options, out, err)) {
    return *status;
  }
  int status = 0;
  std::vector<summary::DiskRecord> disks;
  walk::WriteGuard guard(disk);
  {
    Progress progress(err, options.inputs.size());
    for (std::size_t i = 0; i < options.inputs.size(); ++i) {
      const std::string& input = options.inputs[i];
      InputRead read = readInput(input, options.walk, disk, progress.forDisk(i, input), guard, err);
      if (auto* found = std::get_if<std::vector<summary::DiskRecord>>(&read)) {
        for (summary::DiskRecord& record : *found) disks.push_back(std::move(record));
      } else {
        err << "cdcoverage: " << std::get<std::string>(read) << "\n";
        status = 1;
      }
    }
  }

  const summary::CoverageSummary summary = summarize(std::move(disks), options.summary);
  // One side of the window given, the other a station's own: it may still end
  // before it starts.
  for (const summary::StationSummary& station : summary.stations) {
    if (station.firstStart && station.window.end < station.window.start) {
      err << "cdcoverage: the window of station " << base::printableName(station.station)
          << " ends before it starts: " << times::isoTime(station.window.start) << " .. "
          << times::isoTime(station.window.end) << "\n";
      return 2;
    }
  }
  const std::string text = summary::findSummaryFormat(options.format)->write(summary);
  if (options.output.empty()) {
    if (!(out << text << std::flush)) {
      err << "cdcoverage: cannot write standard output\n";
      status = 1;
    }
  } else if (!writeFile(options.output, text, guard, disk, err)) {
    status = 1;
  }
  if (!options.svg.empty() &&
      !writeFile(options.svg, summary::timelineSvg(summary), guard, disk, err)) {
    status = 1;
  }
  return status;
}

}  // namespace cdcoverage
