#pragma once

#include <string_view>

// 1 when c is one of the characters '0' to '9', else 0.
int isDigitChar(char c);

// 1 when the first eight characters of name are decimal digits, else 0; what
// follows them is not looked at.
int isDateDirectory(std::string_view name);
