#include "base/c_scan.h"

#include <gtest/gtest.h>

namespace base {

namespace {

// "value@position" after one scan from position 1 of text, or "none" when no
// number was found (the value and position then stay 99 and 1).
std::string scanned(std::string_view text) {
  std::size_t pos = 1;
  int32_t value = 99;
  const bool found = scanDecimal(text, pos, value);
  if (!found && (value != 99 || pos != 1)) return "changed";
  return found ? std::to_string(value) + "@" + std::to_string(pos) : "none";
}

// The numbers stored by scanDecimals into four slots preset to 5, and the count.
std::string scannedAll(std::string_view text, std::string_view separators) {
  int32_t values[4] = {5, 5, 5, 5};
  std::string out = std::to_string(scanDecimals(text, separators, values)) + ":";
  for (const int32_t value : values) out += " " + std::to_string(value);
  return out;
}

TEST(ScanDecimal, ReadsAsPercentDDoesAndWrapsIn32Bits) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"x  42", "42@5"},
      {"x\t-7x", "-7@4"},
      {"x+15", "15@4"}, {"x\r\f\v\n 8", "8@7"},
      {"x12:30", "12@3"},
      {"x-", "none"},
      {"x- 3", "none"},
      {"", "none"},
      {"x2147483648", "-2147483648@11"},
      {"x4294967297", "1@11"},
      {"x99999999999999999999", "1661992959@21"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(scanned(text), expected) << text;
}

TEST(ScanDecimals, FollowsTheFormatUntilTheFirstMismatch) {
  EXPECT_EQ(scannedAll("01-02-2006", "--"), "3: 1 2 2006 5");
  EXPECT_EQ(scannedAll(" 1- 2-  2006", "--"), "3: 1 2 2006 5");
  EXPECT_EQ(scannedAll("1 -2-2006", "--"), "1: 1 5 5 5");  // no blank before a separator
  EXPECT_EQ(scannedAll("10:00 :01.25", "::."), "2: 10 0 5 5");
  EXPECT_EQ(scannedAll("10:00:01.25", "::."), "4: 10 0 1 25");
  EXPECT_EQ(scannedAll("", "--"), "0: 5 5 5 5");
}

}  // namespace

}  // namespace base
