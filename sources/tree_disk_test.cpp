#include "sources/tree_disk.h"

#include <gtest/gtest.h>

#include "platform/path_rules.h"
#include "tests/support/memory_disk.h"

namespace sources {
namespace {

// What a read of size bytes at offset gives: its bytes, "<0>" for none, or
// "<failed>".
std::string readOf(platform::OpenFile& file, int64_t offset, std::size_t size) {
  std::string buffer(size, '\0');
  const base::Outcome<int64_t> got = file.readAt(offset, buffer.data(), size);
  if (!got) return "<failed>";
  if (*got == 0) return "<0>";
  return buffer.substr(0, static_cast<std::size_t>(*got));
}

// A file of the tree reads exactly its kept bytes: a read in a part not kept,
// or just past a kept range, fails rather than ending the file early; a read
// at its length ends it. Paths outside the root are the host's, and nothing
// under the root is written.
TEST(TreeDisk, AFileReadsItsKeptBytesAndFailsAnywhereElseBeforeItsEnd) {
  auto file = std::make_shared<ImageFile>();
  file->length = 100;
  file->leading = std::string("ab\0", 3);
  file->kept = {{base::ByteRange{50, 10}, "0123456789"}, {base::ByteRange{98, 2}, "yz"}};
  ImageTree tree;
  tree.files["D/F.DAT"] = file;
  testsupport::MemoryDisk host;
  TreeDisk disk("R/", "/images/r.iso", tree, host);

  const base::Outcome<std::unique_ptr<platform::OpenFile>> reading =
      disk.openForReading("R/D/F.DAT");
  ASSERT_TRUE(reading);
  platform::OpenFile* const opened = reading->get();
  EXPECT_EQ(opened->length(), 100);
  EXPECT_EQ(readOf(*opened, 0, 10), std::string("ab\0", 3));
  EXPECT_EQ(readOf(*opened, 3, 4), "<failed>");
  EXPECT_EQ(readOf(*opened, 52, 4), "2345");
  EXPECT_EQ(readOf(*opened, 55, 20), "56789");
  EXPECT_EQ(readOf(*opened, 60, 4), "<failed>");  // just past the range: not the end
  EXPECT_EQ(readOf(*opened, 98, 8), "yz");
  EXPECT_EQ(readOf(*opened, 100, 4), "<0>");
  EXPECT_EQ(readOf(*opened, -1, 4), "<failed>");
  EXPECT_FALSE(disk.openForReading("R/D/NONE.DAT"));

  EXPECT_FALSE(disk.appendToFile("R/D/F.DAT", "x"));
  EXPECT_FALSE(disk.appendToFile("R/new.log", "x"));
  EXPECT_TRUE(disk.appendToFile("elsewhere/log.txt", "x"));
  EXPECT_EQ(*disk.resolve("R/D/F.DAT"),
            std::string("/images/r.iso") + platform::kPathSeparator + "D/F.DAT");
}

}  // namespace
}  // namespace sources
