#include "base/text_format.h"

#include <gtest/gtest.h>

namespace base {

namespace {

TEST(TextFormat, FormatsTextLongerThanAnyBuffer) {
  const std::string name(5000, 'x');
  EXPECT_EQ(formatText("%s:%d", name.c_str(), 7), name + ":7");
}

TEST(TextFormat, CountsTakeTheSingularForOneAlone) {
  EXPECT_EQ(counted(1, "disk"), "1 disk");
  EXPECT_EQ(counted(0, "disk"), "0 disks");
  EXPECT_EQ(counted(2, "gap"), "2 gaps");
  EXPECT_EQ(counted(1, "copy", "copies"), "1 copy");
  EXPECT_EQ(counted(3, "copy", "copies"), "3 copies");
  EXPECT_EQ(counted(-1, "second"), "-1 seconds");
}

}  // namespace

}  // namespace base
