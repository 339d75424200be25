#include "programs/cdcoverage/coverage_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <ostream>
#include <string_view>

#include "summary/summary_formats.h"
#include "times/iso_time.h"

namespace cdcoverage {

namespace {

// Accepts ISO 8601 times as parseIsoTime reads them.
const CLI::Validator kIsoTime(
    [](std::string& text) {
      return times::parseIsoTime(text) ? std::string()
                                       : "not a time of the form 2006-06-15T12:00:01: " + text;
    },
    "TIME");

// An option written with an empty value ("--svg="): the library would take the
// next argument as its value instead, and a disk named there would become the
// file written. Returns the option's name.
std::optional<std::string> optionWithEmptyValue(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") break;
    if (argument.size() > 3 && argument.substr(0, 2) == "--" && argument.back() == '=' &&
        argument.find('=') == argument.size() - 1) {
      return std::string(argument.substr(0, argument.size() - 1));
    }
  }
  return std::nullopt;
}

// A count of seconds written in decimal digits alone (no sign, no "0x", no
// exponent) that fits 64 bits; nothing for any other text.
std::optional<int64_t> secondsOf(const std::string& text) {
  int64_t seconds = 0;
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, seconds);
  const bool digitsOnly =
      !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  if (!digitsOnly || error != std::errc() || stop != end) return std::nullopt;
  return seconds;
}

const CLI::Validator kSeconds(
    [](std::string& text) {
      return secondsOf(text)
                 ? std::string()
                 : "a whole number of seconds from 0 to 9223372036854775807 expected: " + text;
    },
    "SECONDS");

const CLI::Validator kNotEmpty(
    [](std::string& text) { return text.empty() ? "a value expected, not an empty one" : ""; }, "");

// The walk's options as the command line spells them.
struct WalkOptionTexts {
  std::string mode = "subdir", stream = "permanent", firstByte = "P", extension = "*";
};

void addWalkOptions(CLI::App& app, WalkOptionTexts& texts) {
  app.add_option("--mode", texts.mode, "subdir: data files in date folders; plane: in the root")
      ->check(CLI::IsMember({"subdir", "plane"}))
      ->capture_default_str();
  app.add_option("--stream", texts.stream,
                 "permanent: files starting with --first-byte; trigger: others")
      ->check(CLI::IsMember({"permanent", "trigger"}))
      ->capture_default_str();
  app.add_option("--first-byte", texts.firstByte, "the stream letter")
      ->check(CLI::Validator(
          [](std::string& text) { return text.size() == 1 ? "" : "one character expected"; },
          "CHAR"))
      ->capture_default_str();
  app.add_option("--ext", texts.extension, "data file extension, * for any")->capture_default_str();
}

void applyWalkOptions(const WalkOptionTexts& texts, walk::WalkSettings& walk) {
  walk.planeMode = texts.mode == "plane" ? 1 : 0;
  walk.triggerStream = texts.stream == "trigger" ? 1 : 0;
  walk.streamLetter = texts.firstByte.front();
  walk.fileExtension = texts.extension;
}

// --format, one of the summary's formats ("text, json or csv").
void addFormatOption(CLI::App& app, std::string& format) {
  std::vector<std::string> names;
  std::string help;
  for (const summary::SummaryFormat& known : summary::summaryFormats()) {
    help += (names.empty() ? "" : &known == &summary::summaryFormats().back() ? " or " : ", ");
    help += names.emplace_back(known.name);
  }
  app.add_option("--format", format, help)->check(CLI::IsMember(names))->capture_default_str();
}

}  // namespace

std::optional<int> parseCoverageOptions(int argc, const char* const* argv, CoverageOptions& options,
                                        std::ostream& out, std::ostream& err) {
  CLI::App app(
      "Summarises the time that recorded-data disks cover: per station the covered spans, the "
      "gaps and overlaps, the coverage of a window and the events an operator should see. Each "
      "INPUT is a disk (a folder; a drive letter on Windows) or a JSON summary written before "
      "with --format=json.",
      "cdcoverage");
  app.set_version_flag("--version", kCoverageVersion);
  app.footer(
      "Exit status: 0 the summary was written; 1 an input could not be read or an output "
      "written (the others are still summarised); 2 a bad option or value, or a window "
      "that ends before it starts.\n"
      "Examples: cdcoverage /media/cdrom; cdcoverage --format=json --output=d1.json disk1; "
      "cdcoverage --svg=archive.svg archive/*.json");
  WalkOptionTexts walkTexts;
  addWalkOptions(app, walkTexts);
  std::string from, to;
  std::string gapTolerance = "0";
  app.add_option("--gap-tolerance", gapTolerance,
                 "gaps of at most this many seconds are not listed")
      ->check(kSeconds)
      ->capture_default_str();
  app.add_option("--from", from, "start of the coverage window (default: each station's first)")
      ->check(kIsoTime);
  app.add_option("--to", to, "end of the coverage window (default: each station's last)")
      ->check(kIsoTime);
  addFormatOption(app, options.format);
  app.add_option("--output", options.output, "write the summary to FILE, not standard output");
  app.add_option("--svg", options.svg, "also draw the timeline as an SVG picture into FILE");
  app.add_option("INPUT", options.inputs, "disks and JSON summaries")->required();

  for (CLI::Option* option : app.get_options()) {
    if (!option->get_positional()) {
      option->check(kNotEmpty);
    }
  }
  if (const std::optional<std::string> option = optionWithEmptyValue(argc, argv)) {
    err << "cdcoverage: option " << *option << " needs a value, not an empty one\n"
        << "Run with --help for more information.\n";
    return 2;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error, out, err);
    return status == 0 ? 0 : 2;
  }
  options.summary.gapToleranceSeconds = *secondsOf(gapTolerance);
  if (!from.empty()) options.summary.from = times::parseIsoTime(from);
  if (!to.empty()) options.summary.to = times::parseIsoTime(to);
  if (options.summary.from && options.summary.to && *options.summary.to < *options.summary.from) {
    err << "cdcoverage: --to lies before --from\n";
    return 2;
  }
  applyWalkOptions(walkTexts, options.walk);
  return std::nullopt;
}

}  // namespace cdcoverage
