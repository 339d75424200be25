#include "programs/common/command_line_options.h"

#include <charconv>
#include <ostream>
#include <string_view>

#include "programs/common/unknown_words.h"
#include "times/iso_time.h"

namespace cli {

const CLI::Validator kTypedTime(
    [](std::string& text) {
      return times::parseTypedTime(text) ? std::string()
                                         : "not a time: " + text + "; the forms taken are " +
                                               std::string(times::kTypedTimeForms);
    },
    "TIME");

const CLI::Validator kSeconds(
    [](std::string& text) {
      return secondsOf(text)
                 ? std::string()
                 : "a whole number of seconds from 0 to 9223372036854775807 expected: " + text;
    },
    "SECONDS");

const CLI::Validator kNotEmpty(
    [](std::string& text) { return text.empty() ? "a value expected, not an empty one" : ""; }, "");

std::optional<int64_t> secondsOf(const std::string& text) {
  int64_t seconds = 0;
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, seconds);
  const bool digitsOnly =
      !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  if (!digitsOnly || error != std::errc() || stop != end) return std::nullopt;
  return seconds;
}

namespace {

// An option written with an empty value ("--svg="): CLI11 would take the next
// argument as its value instead, and a disk named there would become the file
// written. Returns the option's name.
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

void refuseEmptyValues(CLI::App& app) {
  for (CLI::Option* option : app.get_options()) {
    if (!option->get_positional()) option->check(kNotEmpty);
  }
  for (CLI::App* subcommand : app.get_subcommands({})) refuseEmptyValues(*subcommand);
}

}  // namespace

std::optional<int> parseCommandLine(CLI::App& app, int argc, const char* const* argv,
                                    std::ostream& out, base::Voice& voice) {
  refuseEmptyValues(app);
  if (const std::optional<std::string> option = optionWithEmptyValue(argc, argv)) {
    voice.fail() << "option " << *option << " needs a value, not an empty one\n"
                 << "Run with --help for more information.";
    return 2;
  }
  if (const std::optional<std::string> unknown = unknownWord(app, argc, argv)) {
    voice.fail() << *unknown << "\nRun with --help for more information.";
    return 2;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error, out, voice.stream());  // --help
    voice.fail() << error.what() << "\nRun with --help for more information.";
    return 2;
  }
  return std::nullopt;
}

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

std::string oneOf(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i)
    text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  return text;
}

void addFormatOption(CLI::App& app, std::string& format, const std::vector<std::string>& names) {
  app.add_option("--format", format, oneOf(names))
      ->check(CLI::IsMember(names))
      ->capture_default_str();
}

void applyWalkOptions(const WalkOptionTexts& texts, walk::WalkSettings& walk) {
  walk.planeMode = texts.mode == "plane" ? 1 : 0;
  walk.triggerStream = texts.stream == "trigger" ? 1 : 0;
  walk.streamLetter = texts.firstByte.front();
  walk.fileExtension = texts.extension;
}

}  // namespace cli
