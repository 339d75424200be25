// Where the platform's own header reader (as Wine provides it) differs from the
// POSIX reader's rules; posix/profile_reader_posix_test.cpp states the other side.

#include <gtest/gtest.h>

#include "platform/profile_reader.h"
#include "tests/support/scratch_dir.h"

namespace platform {
namespace {

using testsupport::ScratchDir;
using testsupport::writeFile;

TEST(Win32ProfileReader, ReadsPastAZeroByteButTheFirstSectionOfANameWins) {
  ScratchDir dir;
  std::string bytes = "[HEADER]\r\nHEADER_SIZE=64\r\n";
  bytes.resize(64, '\0');
  bytes += "[HEADER]\r\nHEADER_SIZE=1\r\n[BINARY]\r\nK=1\r\n";
  writeFile(dir.file("f.dat"), bytes);
  EXPECT_EQ(systemProfileReader().readInt("HEADER", "HEADER_SIZE", -1, dir.file("f.dat")), 64);
  EXPECT_EQ(systemProfileReader().readInt("BINARY", "K", -1, dir.file("f.dat")), 1);
}

TEST(Win32ProfileReader, SemicolonLineIsAKey) {
  ScratchDir dir;
  writeFile(dir.file("f.dat"), "[A]\r\n;C=1\r\n");
  EXPECT_EQ(systemProfileReader().readString("A", ";C", 100, dir.file("f.dat")), "1");
}

TEST(Win32ProfileReader, IntegersTakeAHexadecimalPrefix) {
  ScratchDir dir;
  writeFile(dir.file("f.dat"), "[A]\r\nH=0x10\r\n");
  EXPECT_EQ(systemProfileReader().readInt("A", "H", -1, dir.file("f.dat")), 16);
}

}  // namespace
}  // namespace platform
