#include "fixity/audit.h"

#include <gtest/gtest.h>

namespace fixity {
namespace {

const std::string kA(64, 'a'), kB(64, 'b'), kC(64, 'c'), kD(64, 'd');

// "STATUS PATH[ <- FROM]" per entry.
std::vector<std::string> lines(const std::vector<AuditEntry>& entries) {
  std::vector<std::string> text;
  for (const AuditEntry& e : entries) {
    text.push_back(std::string(auditStatusName(e.status)) + " " + e.path +
                   (e.from.empty() ? "" : " <- " + e.from));
  }
  return text;
}

TEST(Audit, TellsEachFileMatchedChangedMovedMissingNewOrUnreadable) {
  const std::vector<FileFixity> recorded = {
      {"same", 3, kA, {}},   {"edited", 3, kB, {}},  {"old/place", 5, kC, {}},
      {"gone", 1, kD, {}},   {"damaged", 9, kA, {}}, {"was unreadable", 9, "", {{0, 9}}},
      {"shrunk", 4, kB, {}},
  };
  const std::vector<FileFixity> found = {
      {"same", 3, kA, {}},           {"edited", 3, kA, {}},
      {"new/place", 5, kC, {}},      {"damaged", 9, "", {{2048, 2048}}},
      {"was unreadable", 9, kC, {}}, {"shrunk", 2, kB, {}},
      {"fresh", 1, kD + "0", {}},    {"closed", -1, "", {}},
  };
  EXPECT_EQ(lines(audit(recorded, found)),
            (std::vector<std::string>{"unreadable closed", "unreadable damaged", "changed edited",
                                      "new fresh", "missing gone", "moved new/place <- old/place",
                                      "matched same", "changed shrunk", "changed was unreadable"}));
  // A manifest knows no sizes: the digest alone decides.
  EXPECT_EQ(lines(audit({{"same", -1, kA, {}}}, {{"same", 3, kA, {}}})),
            (std::vector<std::string>{"matched same"}));
}

TEST(Manifest, ReadsWhatSha256sumWritesAndRefusesWhatItDoesNot) {
  const std::vector<FileFixity> files = {
      {"a\\b\nc\rd", 1, kA, {}}, {"plain/name", 2, kB, {}}, {"lost", 3, "", {{0, 3}}}};
  const base::Outcome<std::vector<FileFixity>> read = readManifest(manifestText(files));
  ASSERT_TRUE(read) << read.problem();
  EXPECT_EQ(*read,
            (std::vector<FileFixity>{{"a\\b\nc\rd", -1, kA, {}}, {"plain/name", -1, kB, {}}}));

  // Binary mode, upper-case digits, CR LF, blank lines, a blank in the name.
  EXPECT_EQ(*readManifest(std::string(64, 'A') + " *x y\r\n\r\n"),
            (std::vector<FileFixity>{{"x y", -1, kA, {}}}));
  for (const auto& [text, why] : std::vector<std::pair<std::string, std::string>>{
           {kA + "  ok\nabc  short\n", "line 2: it does not begin with a SHA-256"},
           {std::string(64, 'g') + "  x\n", "line 1: it does not begin"},
           {kA + "\tx\n", "line 1: the digest is not followed"},
           {kA + "  \n", "line 1: the digest is not followed"},  // no name
           {"\\" + kA + "  a\\tb\n", "line 1: its path holds an unknown escape"},
           {"\\" + kA + "  a\\\n", "line 1: its path holds an unknown escape"},
           {kA + "  a\n" + kB + "  b\n\n" + kC + " *a\n", "line 4: its path is listed on line 1"},
           {kA + "  a" + std::string(1, '\0') + "b\n", "byte 67 is a NUL byte"},
           {std::string(4096, '\0'), "byte 0 is a NUL byte"},  // /dev/zero
           {"", "it lists no file"},
           {"\r\n\n", "it lists no file"}}) {
    const base::Outcome<std::vector<FileFixity>> refused = readManifest(text);
    EXPECT_FALSE(refused) << text;
    EXPECT_EQ(refused.problem().substr(0, why.size()), why) << text;
  }
}

}  // namespace
}  // namespace fixity
