#include "catalog/disk_identity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace catalog {
namespace {

CataloguedDisk twoFiles(const std::string& root) {
  CataloguedDisk disk;
  for (int i = 0; i < 2; ++i) {
    CataloguedFile file;
    file.record.path = root + "20060615/P061500" + std::to_string(i) + ".DAT";
    file.record.usable = true;
    file.record.station = "VELK";
    file.record.start = 60 * i;
    file.record.end = 60 * i + 60;
    file.size = 7256;
    file.stream = 1;
    disk.files.push_back(file);
  }
  return disk;
}

TEST(DiskIdentity, ADiskIsWhatItsFilesHoldWhereverItIsMounted) {
  const CataloguedDisk recorded = twoFiles("/media/cdrom/");
  using Change = std::function<void(CataloguedDisk&)>;
  for (const auto& [what, change, expected] :
       std::vector<std::tuple<const char*, Change, DiskMatch>>{
           {"the same", [](CataloguedDisk&) {}, DiskMatch::kSame},
           {"another size", [](CataloguedDisk& d) { d.files[1].size = 7257; }, DiskMatch::kOther},
           {"another name", [](CataloguedDisk& d) { d.files[1].record.path += "X"; },
            DiskMatch::kOther},
           {"a file less", [](CataloguedDisk& d) { d.files.pop_back(); }, DiskMatch::kOther},
           {"other times", [](CataloguedDisk& d) { d.files[0].record.start += 1; },
            DiskMatch::kOther},
           {"another station", [](CataloguedDisk& d) { d.files[1].record.station = "BRNO"; },
            DiskMatch::kOther},
           {"another stream", [](CataloguedDisk& d) { d.files[1].stream = 2; }, DiskMatch::kOther},
           {"a file unusable now", [](CataloguedDisk& d) { d.files[1].record.usable = false; },
            DiskMatch::kReadsOtherwise},
           {"a file that cannot be opened now",
            [](CataloguedDisk& d) {
              d.files[1].size = -1;
              d.files[1].record.usable = false;
            },
            DiskMatch::kReadsOtherwise},
           {"other bytes", [](CataloguedDisk& d) { d.manifest = "b"; }, DiskMatch::kReadsOtherwise},
       }) {
    CataloguedDisk then = recorded;
    then.manifest = "a";
    CataloguedDisk now = twoFiles("/mnt/elsewhere/");
    now.manifest = "a";
    change(now);
    EXPECT_EQ(matchOf(then, "/media/cdrom/", now, "/mnt/elsewhere/"), expected) << what;
    // Its content, by which copies are known, leaves its bytes to fixity.
    const bool sameContent = expected == DiskMatch::kSame || now.manifest != then.manifest;
    EXPECT_EQ(contentOf(then.files, "/media/cdrom/") == contentOf(now.files, "/mnt/elsewhere/"),
              sameContent)
        << what;
  }
  EXPECT_EQ(contentOf({}, "/media/cdrom/"), "");  // no data file: a copy of nothing
  // Fixity taken on one side only: the data files decide.
  EXPECT_EQ(matchOf(recorded, "/media/cdrom/", twoFiles("/media/cdrom/"), "/media/cdrom/"),
            DiskMatch::kSame);
}

// A catalogue travels between Linux and Windows: a disk recorded on either is
// known, on either, by the paths below its root.
TEST(DiskIdentity, ADiskRecordedOnEitherHostIsTheSameDiskOnEither) {
  CataloguedDisk onWindows = twoFiles("x:\\");
  for (CataloguedFile& file : onWindows.files)
    std::replace(file.record.path.begin(), file.record.path.end(), '/', '\\');
  const CataloguedDisk onLinux = twoFiles("/media/cdrom/");
  EXPECT_EQ(recordedRootOf("x", onWindows.files), "x:\\");
  EXPECT_EQ(recordedRootOf("x:", onWindows.files), "x:\\");
  EXPECT_EQ(recordedRootOf("/media/cdrom", onLinux.files), "/media/cdrom/");
  EXPECT_EQ(recordedRootOf("/media/cdrom/", onLinux.files), "/media/cdrom/");
  CataloguedDisk inFolder = twoFiles("d:\\disks\\042\\");
  for (CataloguedFile& file : inFolder.files)
    std::replace(file.record.path.begin() + 3, file.record.path.end(), '/', '\\');
  EXPECT_EQ(recordedRootOf("d:\\disks\\042", inFolder.files), "d:\\disks\\042\\");
  EXPECT_EQ(pathBelowRoot(onWindows.files[1].record.path, "x:\\"), "20060615/P0615001.DAT");
  EXPECT_EQ(pathBelowRoot("a\\b/c", "/media/"), "a\\b/c");  // a POSIX name keeps its '\'
  EXPECT_EQ(pathBelowRoot("g:/20060615\\P1.DAT", "g:/"), "20060615/P1.DAT");  // a drive as "g:/"
  EXPECT_EQ(contentOf(onWindows.files, recordedRootOf("x", onWindows.files)),
            contentOf(onLinux.files, recordedRootOf("/media/cdrom", onLinux.files)));
  EXPECT_EQ(matchOf(onWindows, recordedRootOf("x", onWindows.files), onLinux, "/media/cdrom/"),
            DiskMatch::kSame);
}

}  // namespace
}  // namespace catalog
