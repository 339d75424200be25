#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>

#include "walk/archive_walk.h"

// What the GNU-style command lines of cdcoverage and cdarchive share.
namespace cli {

// Accepts ISO 8601 times as times::parseIsoTime reads them.
extern const CLI::Validator kIsoTime;
// A count of seconds in decimal digits alone that fits 64 bits (secondsOf).
extern const CLI::Validator kSeconds;
// Refuses an empty value.
extern const CLI::Validator kNotEmpty;

// A count of seconds written in decimal digits alone (no sign, no "0x", no
// exponent) that fits 64 bits; nothing for any other text.
std::optional<int64_t> secondsOf(const std::string& text);

// An option written with an empty value ("--svg="): CLI11 would take the next
// argument as its value instead, and a disk named there would become the file
// written. Returns the option's name.
std::optional<std::string> optionWithEmptyValue(int argc, const char* const* argv);

// Gives every option of app (and of its subcommands) kNotEmpty.
void refuseEmptyValues(CLI::App& app);

// The walk's options as the command line spells them.
struct WalkOptionTexts {
  std::string mode = "subdir", stream = "permanent", firstByte = "P", extension = "*";
};

// --mode, --stream, --first-byte and --ext.
void addWalkOptions(CLI::App& app, WalkOptionTexts& texts);
void applyWalkOptions(const WalkOptionTexts& texts, walk::WalkSettings& walk);

}  // namespace cli
