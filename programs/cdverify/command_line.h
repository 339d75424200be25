#pragma once

#include <cstddef>

#include "programs/cdverify/run_settings.h"

namespace cdverify {

// Looks up option `name` (with its leading '-') in argv[0] to argv[argc - 1]. An
// argument matches when the text before its first '=' is not empty and is a
// leading part of name ("-m=plane" matches "-mode"; an argument without '=' never
// matches); empty arguments are skipped. The first matching argument decides:
//   0: its whole value (everything after the first '=') and a terminator are in
//      value;
//   1: value and terminator need more than valueCapacity bytes; value holds the
//      first valueCapacity characters and no terminator;
//   2: no argument matched (also when argc is 0 or less).
int findOption(int argc, const char* const* argv, const char* name, char* value, int valueCapacity);

// Fills settings from "-option=value" arguments: -archDisk, -fileExt, -fNameInfo,
// -fNameWarning, -fNameError, -fNameSummary (texts, cut to 49 characters), -mode
// (plane or subdir), -stream (trigger or permanent), -firstbyte (its first
// character). Anything else, and any value of 100 characters or more, leaves the
// setting as it was.
void parseCommandLine(int argc, const char* const* argv, RunSettings& settings);

}  // namespace cdverify
