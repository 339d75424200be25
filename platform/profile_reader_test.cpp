#include "platform/profile_reader.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

using testsupport::ScratchDir;
using testsupport::writeFile;

TEST(SystemProfileReader, ReadsTextCutToBufferSize) {
  ScratchDir dir;
  writeFile(dir.file("f.dat"), "[SYSTEM]\r\nNAME=ABCDEFGHIJ\r\n");
  EXPECT_EQ(systemProfileReader().readString("SYSTEM", "NAME", 100, dir.file("f.dat")),
            "ABCDEFGHIJ");
  EXPECT_EQ(systemProfileReader().readString("SYSTEM", "NAME", 5, dir.file("f.dat")), "ABCD");
}

TEST(SystemProfileReader, AbsentKeysAndUnreadableFilesGiveDefaults) {
  ScratchDir dir;
  writeFile(dir.file("f.dat"), "[SYSTEM]\r\nFREQ=100\r\n");
  auto& reader = systemProfileReader();
  EXPECT_EQ(reader.readInt("SYSTEM", "FREQ", -1, dir.file("f.dat")), 100);
  EXPECT_EQ(reader.readInt("SYSTEM", "N_GROUP", -1, dir.file("f.dat")), -1);
  EXPECT_EQ(reader.readInt("GROUP1", "FREQ", -10, dir.file("f.dat")), -10);
  EXPECT_EQ(reader.readString("SYSTEM", "NAME", 100, dir.file("f.dat")), "");
  EXPECT_EQ(reader.readInt("SYSTEM", "FREQ", -1, dir.file("missing.dat")), -1);
  EXPECT_EQ(reader.readString("SYSTEM", "FREQ", 100, dir.file("missing.dat")), "");
  EXPECT_TRUE(reader.sectionNames(dir.file("missing.dat")).empty());
}

TEST(SystemProfileReader, RewrittenFileIsReadAgain) {
  ScratchDir dir;
  writeFile(dir.file("f.dat"), "[A]\nK=1\n");
  EXPECT_EQ(systemProfileReader().readInt("A", "K", -1, dir.file("f.dat")), 1);
  writeFile(dir.file("f.dat"), "[A]\nK=22\n");  // another size, so never mistaken for the cache
  EXPECT_EQ(systemProfileReader().readInt("A", "K", -1, dir.file("f.dat")), 22);
}

TEST(SystemProfileReader, ListsSectionNames) {
  ScratchDir dir;
  writeFile(dir.file("f.dat"), "[SYSTEM]\n[GROUP1]\n[GROUP2]\n");
  EXPECT_EQ(systemProfileReader().sectionNames(dir.file("f.dat")),
            (std::vector<std::string>{"SYSTEM", "GROUP1", "GROUP2"}));
}

}  // namespace
}  // namespace platform
