#include "base/printable_name.h"

#include <gtest/gtest.h>

namespace base {

namespace {

TEST(PrintableName, ControlBytesAreEscapedAndEverythingElseKept) {
  EXPECT_EQ(printableName("disk/20060615/P0615001.DAT"), "disk/20060615/P0615001.DAT");
  EXPECT_EQ(printableName("g:\\x\\P1.DAT \xE9~"), "g:\\x\\P1.DAT \xE9~");
  EXPECT_EQ(printableName(std::string_view("a\r\nb\0c\x1f\x7f", 8)),
            "a\\x0d\\x0ab\\x00c\\x1f\\x7f");
}

}  // namespace

}  // namespace base
