// Whole cdarchive runs over ISO images of the sample disk (POSIX builds, which
// read images; Windows mounts them itself).

#include <fstream>

#include "platform/sha256.h"
#include "tests/archive_run_fixture.h"
#include "tests/support/memory_disk.h"

namespace {

// Two copies of one disk, a folder and an image, each under its own label:
// the catalogue keeps both and knows them as one content, counted once.
TEST_F(ArchiveRunTest, ADiskAndItsImageAreCopiesCountedOnce) {
  if (!xorrisoHere()) GTEST_SKIP() << "no xorriso";
  ASSERT_TRUE(imageTheDisk("disk042b"));
  const std::string image = (dir.path() / "d.iso").string();
  const std::vector<std::string> window = {"--station=VELK", "--from=2006-06-15T12:01:00",
                                           "--to=2006-06-15T12:04:00"};
  const auto answers = [&] {
    std::string text;
    for (const std::vector<std::string>& query : std::vector<std::vector<std::string>>{
             {"availability", "--extent"}, {"availability", "--format=json"}}) {
      EXPECT_EQ(archive(query), 0) << err;
      text += out;
    }
    EXPECT_EQ(cover({"--catalog=archive.db", "--format=csv"}), 0) << err;
    return text + out;
  };
  ASSERT_EQ(archive({"add", "--as=disk042", disk.setting()}), 0) << err;
  const std::string once = answers();

  ASSERT_EQ(archive({"add", "--no-fixity", image}), 0) << err;
  EXPECT_EQ(out,
            "disk042b: added, a copy of disk042, 7 files, 2006-06-15T12:00:01 .. "
            "2006-06-16T08:03:01\n");
  EXPECT_EQ(answers(), once);
  EXPECT_EQ(err,
            "cdcoverage: disk disk042b of catalogue archive.db is a copy of disk disk042: it is "
            "counted once\n");
  ASSERT_EQ(archive({"disks", "--format=csv"}), 0);
  const std::size_t second = out.find("\r\n") + 2, third = out.find("\r\n", second) + 2;
  EXPECT_EQ(out.substr(second, 25), "disk042|permanent||given|");
  EXPECT_EQ(out.substr(third, 32), "disk042b|permanent|disk042|image");
  std::vector<std::string> find = {"find"};
  find.insert(find.end(), window.begin(), window.end());
  ASSERT_EQ(archive(find), 0);
  EXPECT_EQ(out.substr(0, out.find("\nFiles")),
            "Station VELK, 2006-06-15T12:01:00 .. 2006-06-15T12:04:00: 3 files on 1 disk, 1 gap\n"
            "\n"
            "Disks to fetch: 1\n"
            "  disk042, or its copy disk042b  2006-06-15T12:01:00 .. 2006-06-15T12:03:01  3 files  "
            "(" +
                disk.setting() + ")\n");
  // The copy added without fixity is audited against its disk's digests.
  ASSERT_EQ(archive({"check", image}), 0) << err;
  EXPECT_EQ(out,
            "disk042b: 11 files: 11 matched, 0 changed, 0 moved, 0 missing, 0 new, 0 unreadable\n");

  // Either copy removed, the other holds the time alone.
  ASSERT_EQ(archive({"remove", "disk042"}), 0) << err;
  std::string copyAlone = once;
  for (std::size_t at = 0; (at = copyAlone.find("|disk042|", at)) != std::string::npos;)
    copyAlone.replace(at, 9, "|disk042b|");
  EXPECT_EQ(answers(), copyAlone);
  EXPECT_EQ(err, "");
  ASSERT_EQ(archive({"disks", "--format=csv"}), 0);
  EXPECT_EQ(out.substr(out.find("\r\n") + 2, 26), "disk042b|permanent||image|");
}

TEST_F(ArchiveRunTest, AnImageIsReadPastItsUnreadableSectorsWithTheSameDigestsAsTheFolder) {
  if (!xorrisoHere()) GTEST_SKIP() << "no xorriso";
  ASSERT_TRUE(imageTheDisk("disk"));
  ASSERT_EQ(archive({"add", disk.setting()}), 0) << err;
  ASSERT_EQ(archive({"manifest", label}), 0);
  const std::string folderManifest = out;
  testsupport::MemoryDisk host;
  const std::string image = testsupport::readFile(dir.path() / "d.iso");
  host.addFile("", "d.iso", image);
  const auto run = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "--catalog=" + (dir.path() / "image.db").string());
    return runWith(
        [&](int argc, const char* const* argv, std::ostream& o, std::ostream& e) {
          return cdarchive::runArchive(argc, argv, host, o, e, kNow);
        },
        "cdarchive", std::move(arguments));
  };
  ASSERT_EQ(run({"add", "d.iso"}), 0) << err;
  ASSERT_EQ(run({"add", "d.iso/"}), 0) << err;  // the same image, by its volume name
  EXPECT_EQ(out, label + ": unchanged, skipped\n");
  ASSERT_EQ(run({"manifest", label}), 0);
  EXPECT_EQ(out, folderManifest);  // the same bytes, read from the image in its order

  // A sector in the middle of one file's data: that file alone is hurt.
  const std::size_t at =
      image.find(testsupport::readFile(disk.directory() / "20060615" / "P0615002.DAT"));
  ASSERT_NE(at, std::string::npos);
  host.unreadable["d.iso"] = {{static_cast<int64_t>(at) + 5000, 1}};
  EXPECT_EQ(run({"check", "d.iso"}), 1);
  EXPECT_EQ(out,
            "unreadable 20060615/P0615002.DAT: bytes 4096..6143\n"
            "lost: station VELK, 2006-06-15T12:01:21 to 2006-06-15T12:01:51 "
            "(d.iso/20060615/P0615002.DAT)\n" +
                label +
                ": 11 files: 10 matched, 0 changed, 0 moved, 0 missing, 0 new, 1 unreadable\n");

  // Cut short inside that file: it and every file after it are unreadable,
  // never matched on the digest of no bytes.
  host.unreadable.clear();
  host.addFile("", "cut.iso", image.substr(0, (at / 2048 + 2) * 2048));
  EXPECT_EQ(run({"check", "--as=" + label, "--format=json", "cut.iso"}), 1);
  EXPECT_NE(out.find("\"matched\": 2,"), std::string::npos) << out;
  EXPECT_NE(out.find("\"unreadable\": 9\n"), std::string::npos) << out;
  EXPECT_NE(
      out.find("{\n      \"path\": \"20060615/P0615002.DAT\",\n      \"status\": "
               "\"unreadable\",\n      \"opened\": true,\n      \"unreadable\": [\n        {\n"
               "          \"offset\": 4096,\n          \"size\": 3160\n"),
      std::string::npos)
      << out;
  // Recorded usable, now unusable: the whole time it held is lost.
  EXPECT_NE(
      out.find("\"station\": \"VELK\",\n      \"path\": \"cut.iso/20060615/P0615002.DAT\",\n"
               "      \"start\": \"2006-06-15T12:01:01\",\n      \"end\": \"2006-06-15T12:02:01\""),
      std::string::npos)
      << out;
  ASSERT_EQ(run({"add", "--as=cut", "cut.iso"}), 1);
  ASSERT_EQ(run({"manifest", "cut"}), 1);
  EXPECT_EQ(out, platform::sha256Hex(
                     testsupport::readFile(disk.directory() / "20060615" / "P0615001.DAT")) +
                     "  20060615/P0615001.DAT\n" + platform::sha256Hex("") +
                     "  20060616/P0616004.DAT\n");  // the one empty file
  // Of the sample's six minutes, the first file's alone is whole on both
  // disks: the rest lie in files the check found unreadable and the image cut
  // short holds as unusable, and no proven disk holds them.
  ASSERT_EQ(run({"safety"}), 1);
  EXPECT_EQ(out,
            "VELK 1: on no proven disk 0d 0h 5m 0s, on one 0d 0h 0m 0s, on two or more 0d 0h "
            "1m 0s\n"
            "VELK 1: lost on " +
                label +
                " 2006-06-15T12:01:01 .. 2006-06-15T12:03:01, intact on "
                "no other disk\n"
                "VELK 1: lost on " +
                label +
                " 2006-06-16T08:00:01 .. 2006-06-16T08:03:01, intact on "
                "no other disk\n");
}

}  // namespace
