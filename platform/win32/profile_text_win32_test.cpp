// The Windows dialect of the header parser against its oracle, the platform's own
// private-profile calls: thousands of generated header texts, each written to a
// file and read both ways, every answer equal.

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "platform/profile_text.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

using testsupport::ScratchDir;
using testsupport::writeFile;

const std::vector<std::string> kSections = {"SYSTEM", "system", "Stream1", "GROUP1", "GROUP2",
                                            "A",      " A ",    "CH-56",   "FILE"};
const std::vector<std::string> kKeys = {"NAME", "name", "FREQ", "CH#", ";C", "K", "N_CH", "X Y"};
const std::vector<std::string> kValues = {"VELK",
                                          "100",
                                          "-20",
                                          "+7",
                                          "0x1F",
                                          "0X1F",
                                          "0o17",
                                          "0b101",
                                          "-0x10",
                                          "  42  ",
                                          "4294967396",
                                          "-2147483649",
                                          "2147483648",
                                          "\"quoted\"",
                                          "'single'",
                                          "\"",
                                          "\"\"",
                                          "\"mixed'",
                                          "a=b",
                                          "1,2,3",
                                          "",
                                          "\t9\t",
                                          "x12",
                                          "12x",
                                          "\xE9t\xE9",
                                          "\xC3\xA9t\xC3\xA9",
                                          "\xE2\x82\xAC"
                                          "1",
                                          "\xA0"
                                          "5",
                                          "5\x1A",
                                          "\x1F"
                                          "3"};
const std::vector<std::string> kEndings = {"\r\n", "\n", "\r", "\n\r", "\r\r\n"};

class HeaderGenerator {
 public:
  explicit HeaderGenerator(unsigned seed) : random_(seed) {}

  const std::string& any(const std::vector<std::string>& pool) {
    return pool[static_cast<std::size_t>(pick(static_cast<int>(pool.size())))];
  }

  std::string next() {
    std::string text = chance(8) ? "\xEF\xBB\xBF" : "";
    const int lines = pick(40);
    for (int i = 0; i < lines; ++i) text += line() + ending();
    if (chance(4)) text.append(static_cast<std::size_t>(pick(30)), '\0');
    if (chance(4)) text += line() + ending();
    return text;
  }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  bool chance(int oneIn) { return pick(oneIn) == 0; }
  std::string blanks() {
    return chance(3) ? std::string(static_cast<std::size_t>(pick(3)), chance(2) ? ' ' : '\t') : "";
  }
  std::string ending() { return any(kEndings); }
  std::string casing(std::string name) {
    for (char& c : name) {
      if (chance(3) && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
  }
  std::string value() {
    if (chance(10)) return std::string(static_cast<std::size_t>(90 + pick(40)), 'v');
    std::string value = any(kValues);
    if (chance(12))
      value.insert(static_cast<std::size_t>(pick(static_cast<int>(value.size()) + 1)), 1, '\0');
    return value;
  }

  std::string line() {
    switch (pick(10)) {
      case 0:
      case 1:
        return blanks() + "[" + blanks() + casing(any(kSections)) + blanks() + "]" + blanks();
      case 2:
        return blanks() + (chance(2) ? "[" + any(kSections) : "[" + any(kSections) + "] x]");
      case 3:
        return blanks() + casing(any(kKeys)) + blanks();
      case 4:
        return chance(2) ? "" : blanks();
      case 5:
        return ";" + any(kKeys) + "=" + value();
      case 6:
        return "=" + value();
      default:
        return blanks() + casing(any(kKeys)) + blanks() + "=" + blanks() + value() + blanks();
    }
  }

  std::mt19937 random_;
};

std::string oracleString(const std::string& section, const std::string& key, DWORD size,
                         const std::string& path) {
  std::string buffer(size, '\0');
  const DWORD length =
      GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), size, path.c_str());
  buffer.resize(std::min<std::size_t>(length, size - 1));
  return buffer;
}

std::vector<std::string> oracleSectionNames(const std::string& path) {
  std::string buffer(1 << 16, '\0');
  const DWORD length = GetPrivateProfileSectionNamesA(
      buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
  std::vector<std::string> names;
  for (std::size_t at = 0; at < length && buffer[at] != '\0';) {
    const std::size_t end = buffer.find('\0', at);
    names.push_back(buffer.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

// The header bytes as a C string literal, for a failure message.
std::string escaped(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && c != '\\') {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", u);
      out += hex;
    }
  }
  return out;
}

TEST(WindowsProfileDialect, AnswersAsThePlatformsPrivateProfileCalls) {
  ScratchDir dir;
  HeaderGenerator generate(20261206);
  int mismatches = 0;
  constexpr int kHeaders = 2000;
  for (int n = 0; n < kHeaders && mismatches < 10; ++n) {
    const std::string bytes = generate.next();
    const std::string path = dir.file("h" + std::to_string(n) + ".dat");  // a name per text
    writeFile(path, bytes);
    const ProfileText parsed(bytes, ProfileDialect::kWindows);
    const auto report = [&](const std::string& what, const auto& expected, const auto& actual) {
      if (expected == actual || mismatches >= 10) return;
      ++mismatches;
      ADD_FAILURE() << what << " of \"" << escaped(bytes)
                    << "\"\n  platform: " << ::testing::PrintToString(expected)
                    << "\n  dialect:  " << ::testing::PrintToString(actual);
    };
    report("section names", oracleSectionNames(path), parsed.sectionNames());
    // Every platform call parses the file again, so each text answers a sample
    // of the lookups; over all texts every pair is asked many times.
    for (int lookup = 0; lookup < 10; ++lookup) {
      const std::string& section = generate.any(kSections);
      const std::string& key = generate.any(kKeys);
      for (const DWORD size : {100u, 4u}) {
        report("[" + section + "] " + key + " (" + std::to_string(size) + ")",
               oracleString(section, key, size, path), parsed.readString(section, key, size));
      }
      report("[" + section + "] " + key + " as integer",
             static_cast<int32_t>(
                 GetPrivateProfileIntA(section.c_str(), key.c_str(), -7, path.c_str())),
             parsed.readInt(section, key, -7));
    }
  }
}

}  // namespace
}  // namespace platform
