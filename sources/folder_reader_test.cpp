#include "sources/folder_reader.h"

#include <gtest/gtest.h>

#include "tests/support/memory_disk.h"

namespace sources {
namespace {

// What a reader told, one line per event.
class ToldBytes : public base::FileBytesListener {
 public:
  void fileBegins(const std::string& path, int64_t length) override {
    events.push_back("begin " + path + " " + std::to_string(length));
  }
  void fileBytes(std::string_view bytes) override { content += bytes; }
  void fileUnreadable(base::ByteRange range) override {
    events.push_back("unreadable " + std::to_string(range.offset) + " " +
                     std::to_string(range.size));
    content += std::string(static_cast<std::size_t>(range.size), '?');
  }
  void fileEnds() override { events.push_back("end"); }
  void fileSameAs(const std::string& path, const std::string&) override {
    events.push_back("same " + path);
  }
  std::vector<std::string> events;
  std::string content;
};

std::string patterned(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 26);
  return bytes;
}

TEST(FolderReader, ReadsEveryByteOncePassingOverExactlyTheSectorsThatFail) {
  // The host's paths; the tree's are always '/'-separated.
  const std::string root = std::string("d") + platform::kPathSeparator;
  const std::string dated = root + "20060615" + platform::kPathSeparator;
  testsupport::MemoryDisk disk;
  disk.addDirectory(root, "20060615");
  const std::string damaged = patterned(kFolderBlockSize + 3 * kSectorSize + 7);
  disk.addFile(dated, "A.DAT", damaged);
  disk.addFile(dated, "B.DAT", "whole");
  disk.addFile(root, "NOTES.TXT", "notes");
  // One byte of the second sector, and the last, short sector.
  disk.unreadable[dated + "A.DAT"] = {{kSectorSize + 5, 1}, {int64_t(damaged.size()) - 1, 1}};
  ToldBytes told;
  base::KeepPolicy policy{8, [](std::string_view, int64_t length) {
                            return std::vector<base::ByteRange>{{length - 2, 2}};
                          }};
  policy.everyByte = &told;

  const ImageTree tree = readFolder(disk, root, policy);

  const int64_t lastSector = int64_t(kFolderBlockSize + 3 * kSectorSize);
  // In the listing's order (the host's sorts by name).
  EXPECT_EQ(told.events, (std::vector<std::string>{
                             "begin 20060615/A.DAT " + std::to_string(damaged.size()),
                             "unreadable " + std::to_string(kSectorSize) + " 2048",
                             "unreadable " + std::to_string(lastSector) + " 7", "end",
                             "begin 20060615/B.DAT 5", "end", "begin NOTES.TXT 5", "end"}));
  std::string expected = damaged;
  expected.replace(kSectorSize, kSectorSize, std::string(kSectorSize, '?'));
  expected.replace(static_cast<std::size_t>(lastSector), 7, std::string(7, '?'));
  EXPECT_TRUE(told.content == expected + "whole" + "notes");
  // Kept: the leading bytes; the last two fall in the failed sector.
  const ImageFile& file = *tree.files.at("20060615/A.DAT");
  EXPECT_EQ(file.leading, "abcdefgh");
  ASSERT_EQ(file.kept.size(), 1u);
  EXPECT_EQ(file.kept[0].second, "");
  EXPECT_EQ(tree.files.at("20060615/B.DAT")->leading, "whole");
  // Every file is read once, in one read where nothing fails.
  EXPECT_EQ(disk.opens, 3);
}

}  // namespace
}  // namespace sources
