#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Words of a command line that name nothing, told by name with the nearest
// known word, before CLI11 would report something less helpful ("--station is
// required" for a misspelt --station).
namespace cli {

// Of candidates, the one nearest to word by edit distance (each insertion,
// deletion, substitution or swap of neighbours one edit), when it is near
// enough to be a slip: at most a third of the word's length, and at least one
// edit allowed. Nothing when none is.
std::optional<std::string> nearestWord(std::string_view word,
                                       const std::vector<std::string>& candidates);

// The first word of the command line that is neither an option of the
// (sub)command it follows, nor of those above it, nor a command where one is
// required: "unknown option --staton; did you mean --station?". Nothing when
// every word is known (values and positional arguments are CLI11's to judge).
std::optional<std::string> unknownWord(const CLI::App& app, int argc, const char* const* argv);

}  // namespace cli
