// The Windows dialect of the header parser against its oracle, the platform's own
// private-profile calls: thousands of generated header texts, each written to a
// file and read both ways, every answer equal.

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "profile/profile_text.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

using Pool = std::vector<std::string>;
const Pool kSections = {"SYSTEM", "system", "Stream1", "GROUP1", "GROUP2",
                        "A",      " A ",    "CH-56",   "FILE"};
const Pool kKeys = {"NAME", "name", "FREQ", "CH#", ";C", "K", "N_CH", "X Y"};
// clang-format off
const Pool kValues = {
    "VELK", "100", "-20", "+7", "0x1F", "0X1F", "0o17", "0b101", "-0x10", "  42  ", "4294967396",
    "-2147483649", "\"quoted\"", "'single'", "\"", "\"\"", "\"mixed'", "a=b", "1,2,3", "",
    "\t9\t", "x12", "\xE9t\xE9", "\xC3\xA9t\xC3\xA9", "\xE2\x82\xAC" "1", "\xA0" "5", "5\x1A",
    "\x1F" "3"};
// clang-format on
const Pool kEndings = {"\r\n", "\n", "\r", "\n\r", "\r\r\n"};
// Lines as templates: S, K and V stand for a section, a key and a value, b for
// a few blanks or tabs. Sections and keys come in mixed case; values now and
// then are long or hold a zero byte.
const Pool kLines = {"b[bSb]b", "b[bSb]b", "[S",      "[S] x]",  "bKb",    "b",
                     ";K=V",    "=V",      "bKb=bVb", "bKb=bVb", "bKb=bVb"};

// Header texts of such lines, with every line ending, zero bytes and a BOM.
class HeaderGenerator {
 public:
  explicit HeaderGenerator(unsigned seed) : random_(seed) {}
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  const std::string& any(const Pool& pool) {
    return pool[static_cast<std::size_t>(pick(static_cast<int>(pool.size())))];
  }

  std::string next() {
    std::string text = pick(8) == 0 ? "\xEF\xBB\xBF" : "";
    for (int i = pick(40); i > 0; --i) text += line() + any(kEndings);
    if (pick(4) == 0) text.append(static_cast<std::size_t>(pick(30)), '\0');
    return text + line() + any(kEndings);
  }

 private:
  std::string line() {
    std::string text;
    for (const char c : any(kLines)) {
      if (c == 'b') text.append(static_cast<std::size_t>(pick(3)), pick(2) ? ' ' : '\t');
      if (c == 'S') text += mixedCase(any(kSections));
      if (c == 'K') text += mixedCase(any(kKeys));
      if (c == 'V') text += value();
      if (std::string_view("bSKV").find(c) == std::string_view::npos) text += c;
    }
    return text;
  }
  std::string mixedCase(std::string name) {
    for (char& c : name) {
      if (pick(3) == 0 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
  }
  std::string value() {
    if (pick(10) == 0) return std::string(static_cast<std::size_t>(90 + pick(40)), 'v');
    std::string text = any(kValues);
    if (pick(12) == 0)
      text.insert(static_cast<std::size_t>(pick(static_cast<int>(text.size()) + 1)), 1, '\0');
    return text;
  }
  std::mt19937 random_;
};

std::string oracleString(const std::string& section, const std::string& key, DWORD size,
                         const std::string& path) {
  std::string buffer(size, '\0');
  buffer.resize(GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), size,
                                         path.c_str()));
  return buffer;
}

std::vector<std::string> oracleSectionNames(const std::string& path) {
  std::string buffer(1 << 16, '\0');
  buffer.resize(GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()),
                                               path.c_str()));
  std::vector<std::string> names;
  for (std::size_t at = 0; at < buffer.size() && buffer[at] != '\0';
       at = buffer.find('\0', at) + 1) {
    names.push_back(buffer.substr(at, buffer.find('\0', at) - at));
  }
  return names;
}

TEST(WindowsProfileDialect, AnswersAsThePlatformsPrivateProfileCalls) {
  testsupport::ScratchDir dir;
  HeaderGenerator generate(20261206);
  int mismatches = 0;
  for (int n = 0; n < 2000 && mismatches < 10; ++n) {
    const std::string bytes = generate.next();
    const std::string path = dir.file("h" + std::to_string(n) + ".dat");  // a name per text
    testsupport::writeFile(path, bytes);
    const profile::ProfileText parsed(bytes, profile::ProfileDialect::kWindows);
    const auto compare = [&](const std::string& what, const auto& platform, const auto& dialect) {
      if (platform == dialect) return;
      ++mismatches;
      ADD_FAILURE() << what << " of " << ::testing::PrintToString(bytes)
                    << "\n  platform: " << ::testing::PrintToString(platform)
                    << "\n  dialect:  " << ::testing::PrintToString(dialect);
    };
    compare("section names", oracleSectionNames(path), parsed.sectionNames());
    // Every platform call parses the file again, so each text answers a sample
    // of the lookups; over all texts every pair is asked many times.
    for (int lookup = 0; lookup < 10; ++lookup) {
      const std::string &section = generate.any(kSections), &key = generate.any(kKeys);
      for (const DWORD size : {100u, 4u}) {
        compare("[" + section + "] " + key + " in " + std::to_string(size),
                oracleString(section, key, size, path), parsed.readString(section, key, size));
      }
      compare("[" + section + "] " + key + " as integer",
              static_cast<int32_t>(
                  GetPrivateProfileIntA(section.c_str(), key.c_str(), -7, path.c_str())),
              parsed.readInt(section, key, -7));
    }
  }
}

}  // namespace
}  // namespace platform
