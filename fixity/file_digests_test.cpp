#include "fixity/file_digests.h"

#include <gtest/gtest.h>

#include "platform/sha256.h"

namespace fixity {
namespace {

constexpr const char* kEmpty = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
constexpr const char* kAbc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

class FileDigestsInLanes : public ::testing::TestWithParam<std::size_t> {};
INSTANTIATE_TEST_SUITE_P(OneOrMany, FileDigestsInLanes, ::testing::Values(1, 3));

TEST_P(FileDigestsInLanes, EachFileGetsTheDigestOfItsBytesHoweverTheyArePieced) {
  FileDigests digests(GetParam());
  digests.fileBegins("a", 3);
  digests.fileBytes("a");
  digests.fileBytes("");
  digests.fileBytes("bc");
  digests.fileEnds();
  digests.fileBegins("empty", 0);
  digests.fileEnds();
  // More than the queue holds at once: the reader waits for the worker.
  const std::string large(FileDigests::kBufferSize * (FileDigests::kQueueBuffers + 3) + 5, 'x');
  digests.fileBegins("large", static_cast<int64_t>(large.size()));
  for (std::size_t at = 0; at < large.size(); at += 100000)
    digests.fileBytes(std::string_view(large).substr(at, 100000));
  digests.fileEnds();
  digests.fileSameAs("link", "a");
  const std::vector<FileFixity> files = digests.files();
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0], (FileFixity{"a", 3, kAbc, {}}));
  EXPECT_EQ(files[1].sha256, kEmpty);
  EXPECT_EQ(files[2].sha256, platform::sha256Hex(large));
  EXPECT_EQ(files[3], (FileFixity{"link", 3, kAbc, {}}));
}

TEST_P(FileDigestsInLanes, AFileWithUnreadableBytesOrNoneOpenedHasNoDigest) {
  FileDigests digests(GetParam());
  digests.fileBegins("damaged", 8192);
  digests.fileBytes(std::string(2048, 'a'));
  digests.fileUnreadable({2048, 2048});
  digests.fileUnreadable({4096, 2048});  // joined to the one before
  digests.fileBytes(std::string(2048, 'a'));
  digests.fileEnds();
  digests.fileBegins("closed", -1);
  digests.fileEnds();
  digests.fileBegins("read twice", 3);  // an image's second pass: the last counts
  digests.fileUnreadable({0, 3});
  digests.fileEnds();
  digests.fileBegins("read twice", 3);
  digests.fileBytes("abc");
  digests.fileEnds();
  const std::vector<FileFixity> files = digests.files();
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0], (FileFixity{"damaged", 8192, "", {{2048, 4096}}}));
  EXPECT_EQ(files[1], (FileFixity{"closed", -1, "", {}}));
  EXPECT_EQ(files[2], (FileFixity{"read twice", 3, kAbc, {}}));
}

TEST(Manifest, ListsReadFilesByPathEscapedAsSha256sumWritesThem) {
  EXPECT_EQ(
      manifestText({{"b/c", 3, kAbc, {}}, {"a\\b\nc", 0, kEmpty, {}}, {"lost", 9, "", {{0, 9}}}}),
      "\\" + std::string(kEmpty) + "  a\\\\b\\nc\n" + kAbc + "  b/c\n");
}

}  // namespace
}  // namespace fixity
