#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "base/voice.h"
#include "walk/archive_walk.h"

// What the GNU-style command lines of cdcoverage and cdarchive share.
namespace cli {

// Accepts the times people type, as times::parseTypedTime reads them; the
// refusal lists the forms taken.
extern const CLI::Validator kTypedTime;
// A count of seconds in decimal digits alone that fits 64 bits (secondsOf).
extern const CLI::Validator kSeconds;
// Refuses an empty value.
extern const CLI::Validator kNotEmpty;

// A count of seconds written in decimal digits alone (no sign, no "0x", no
// exponent) that fits 64 bits; nothing for any other text.
std::optional<int64_t> secondsOf(const std::string& text);

// Parses the command line into app's options, refusing an empty value (as
// "--svg=" from an unset variable) in any of them. The exit status when the run
// must end here: 0 after --help or --version (written to out), 2 after a bad
// option or value (a message in voice); nothing when it goes on.
std::optional<int> parseCommandLine(CLI::App& app, int argc, const char* const* argv,
                                    std::ostream& out, base::Voice& voice);

// The walk's options as the command line spells them.
struct WalkOptionTexts {
  std::string mode = "subdir", stream = "permanent", firstByte = "P", extension = "*";
};

// --mode, --stream, --first-byte and --ext.
void addWalkOptions(CLI::App& app, WalkOptionTexts& texts);

// The names as alternatives: "text, csv or json".
std::string oneOf(const std::vector<std::string>& names);

// --format into format, one of names (the default first), its help listing
// them (oneOf).
void addFormatOption(CLI::App& app, std::string& format, const std::vector<std::string>& names);
void applyWalkOptions(const WalkOptionTexts& texts, walk::WalkSettings& walk);

}  // namespace cli
