// ISO 9660 images verified directly: the logs equal those of the same tree as a
// folder, apart from the root, for images made by xorriso with Rock Ridge and
// Joliet names, either alone, or plain level 1; damaged images are told on
// standard error and verified as far as they hold whole files.

#include "sources/disk_image.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "programs/cdcoverage/coverage_run.h"
#include "sources/iso9660.h"
#include "sources/iso_image_reader.h"
#include "tests/run_test_fixture.h"
#include "tests/support/memory_disk.h"
#include "tools/datagen/sample_disk.h"
#include "verify/data_file_bytes.h"

namespace {

namespace fs = std::filesystem;
using datagen::DataFile;

// Each entry of a listing as "name hidden system directory".
std::vector<std::string> shown(
    const base::Outcome<std::vector<platform::DirectoryEntry>>& entries) {
  std::vector<std::string> lines;
  if (!entries) return {"cannot be listed"};
  for (const platform::DirectoryEntry& entry : *entries) {
    lines.push_back(entry.name + " " + std::to_string(entry.hidden) + std::to_string(entry.system) +
                    std::to_string(entry.directory));
  }
  return lines;
}

class DiskImageTest : public RunTest {
 protected:
  void SetUp() override {
    if (std::system("xorriso -version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
    datagen::makeSampleDisk(disk.directory());
  }

  // Runs xorriso with arguments in the working directory, which holds the disk.
  void makeImage(const std::string& arguments) {
    ASSERT_EQ(std::system(("xorriso " + arguments + " > /dev/null 2>&1").c_str()), 0) << arguments;
  }

  // The log of a run over setting, with the setting written as "disk".
  std::string logOf(const std::string& setting) {
    const std::string name = setting + ".log";
    std::filesystem::remove(dir.path() / name);
    run({"-archDisk=" + setting, "-fNameInfo=" + name, "-fNameWarning=" + name,
         "-fNameError=" + name, "-fNameSummary=" + name});
    said = errors;
    std::string log = logFile(setting + ".log");
    for (std::size_t at = 0; (at = log.find(setting, at)) != std::string::npos; at += 4) {
      log.replace(at, setting.size(), "disk");
    }
    return log;
  }

  std::string image() const { return testsupport::readFile(dir.path() / "disk.iso"); }

  // Sets the both-byte-order 32-bit field at bytes [at, at + 8) of an image.
  static void setBoth(std::string& image, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      image[at + i] = static_cast<char>(value >> (8 * i));
      image[at + 7 - i] = static_cast<char>(value >> (8 * i));
    }
  }
  // Where the directory record of name lies in the image's primary tree.
  static std::size_t recordOf(const std::string& image, const std::string& name) {
    const std::size_t at = image.find(name, 18 * 2048);
    EXPECT_NE(at, std::string::npos) << name;
    return at - 33;
  }
  void writeImage(const std::string& name, const std::string& bytes) const {
    testsupport::writeFile(dir.path() / name, bytes);
  }

  std::string said;  // standard error of the last run
};

TEST_F(DiskImageTest, LogsEqualTheFoldersForEveryKindOfNames) {
  put("20060615", "p0615004.dat", DataFile().startingAt(1150373100));  // lower case
  put("20060615", "P0615005.DaT", DataFile().set("SYSTEM", "FREQ", "20"));
  put("20060615", "P0615006\xC3\xA9.DAT", DataFile());  // not ASCII: UTF-8 as Linux shows it
  // Two names of one file: xorriso gives them one extent, and libarchive hands
  // out the second without data.
  std::filesystem::create_hard_link(disk.directory() / "20060615" / "P0615003.DAT",
                                    disk.directory() / "20060616" / "P0616009.DAT");
  const std::string folder = logOf("disk");
  for (const char* arguments :
       {"-as mkisofs -R -J -o image.iso disk", "-as mkisofs -R -o image.iso disk",
        "-outdev image.iso -rockridge off -joliet on -map disk /"}) {
    makeImage(arguments);
    EXPECT_EQ(logOf("image.iso"), folder) << arguments;
    EXPECT_EQ(said, "");
    // So do the listings, "." and ".." included.
    const base::Outcome<sources::OpenedDisk> opened =
        sources::openDisk("image.iso", platform::systemDisk(),
                          verify::verificationKeepPolicy(profile::ProfileDialect::kPosix));
    for (const char* directory : {"", "20060615/"}) {
      EXPECT_EQ(shown(opened->disk->list(std::string("image.iso/") + directory + "*.*")),
                shown(platform::systemDisk().list(std::string("disk/") + directory + "*.*")))
          << arguments << " " << directory;
    }
    std::filesystem::remove(dir.path() / "image.iso");
  }
}

// The ISO hidden flag set in the tree whose names libarchive gives (the primary
// one for level-1 and Rock Ridge names, Joliet's for Joliet names), on a file
// with data and on one without, which only its name can find.
TEST_F(DiskImageTest, HiddenFlagsAreSkippedInEveryKindOfNamesAndLevelOneNamesLoseVersionAndDot) {
  testsupport::writeFile(disk.directory() / "20060616" / "PNODOT", DataFile().bytes());
  testsupport::writeFile(disk.directory() / "20060616" / "EMPTY.DAT", "");
  const auto utf16 = [](const std::string& ascii) {
    std::string wide;
    for (const char c : ascii) wide += std::string(1, '\0') + c;
    return wide;
  };
  for (const auto& [arguments, joliet] : std::vector<std::pair<std::string, bool>>{
           {"-outdev disk.iso -rockridge off -joliet off -map disk /", false},
           {"-as mkisofs -R -J -o disk.iso disk", false},
           {"-outdev disk.iso -rockridge off -joliet on -map disk /", true}}) {
    std::filesystem::remove(dir.path() / "disk.iso");
    makeImage(arguments);
    std::string marked = image();
    for (const std::string name : {"P0615002.DAT;1", "EMPTY.DAT;1"}) {
      // xorriso writes Joliet names without a version.
      const std::string recorded = joliet ? utf16(name.substr(0, name.size() - 2)) : name;
      const std::size_t at = marked.find(recorded, 18 * 2048);
      ASSERT_NE(at, std::string::npos) << name;
      marked[at - 8] = static_cast<char>(marked[at - 8] | 0x01);  // the hidden flag
    }
    writeImage("hidden.iso", marked);
    const fs::path hiddenData = disk.directory() / "20060615" / "P0615002.DAT";
    const std::string data = testsupport::readFile(hiddenData);
    fs::remove(hiddenData);
    fs::remove(disk.directory() / "20060616" / "EMPTY.DAT");
    const std::string folder = logOf("disk");
    EXPECT_EQ(logOf("hidden.iso"), folder) << arguments;
    EXPECT_NE(folder.find("/20060616/PNODOT\r\n"), std::string::npos);
    testsupport::writeFile(hiddenData, data);
    testsupport::writeFile(disk.directory() / "20060616" / "EMPTY.DAT", "");
  }
}

TEST_F(DiskImageTest, UnreadableImagesAreToldAndFindNothing) {
  makeImage("-outdev disk.iso -rockridge off -joliet off -map disk /");
  std::string looped = image(), damaged = image();
  // The record of the date directory 20060615 in the root directory: made
  // shorter than any record can be, or to lead back to the root, whose record
  // lies in the primary volume descriptor.
  const std::size_t record = looped.find("20060615", 18 * 2048) - 33;
  damaged[record] = '\x10';
  const std::string rootLocation = looped.substr(16 * 2048 + 156 + 2, 4);
  looped.replace(record + 2, 4, rootLocation);
  looped.replace(record + 6, 4, std::string(rootLocation.rbegin(), rootLocation.rend()));
  const std::size_t rootAt = 2048 * sources::iso9660::littleEndian32(rootLocation.data());
  writeImage("text.iso", "not an image\n");
  writeImage("cut.iso", image().substr(0, 18 * 2048));
  writeImage("rootcut.iso", image().substr(0, rootAt + 56));  // inside the root's own records
  writeImage("damaged.iso", damaged);
  writeImage("looped.iso", looped);
  testsupport::writeFile(dir.path() / "missing" / "x", "");
  const std::string nothing = logOf("missing");
  for (const auto& [name, reason] : std::vector<std::pair<std::string, std::string>>{
           {"text.iso", "Unrecognized archive format"},
           {"cut.iso", "the image ends before the end of its directory records"},
           {"rootcut.iso", "the image ends before the end of its directory records"},
           {"damaged.iso", "Invalid length of directory record"},
           {"looped.iso", "Directory structure contains loop"}}) {
    EXPECT_EQ(logOf(name), nothing) << name;
    EXPECT_EQ(said, "cdverify: disk image " + name + " cannot be read: " + reason + "\n");
  }
  std::ostringstream out, err;
  const char* argv[] = {"cdcoverage", "looped.iso", "disk"};
  EXPECT_EQ(cdcoverage::runCoverage(3, argv, platform::systemDisk(), out, err), 1);
  EXPECT_EQ(
      err.str(),
      "cdcoverage: disk image looped.iso cannot be read: Directory structure contains loop\n");
}

TEST_F(DiskImageTest, TheImageIsNeverWrittenWhateverNamesIt) {
  makeImage("-as mkisofs -R -J -o disk.iso disk");
  const std::string before = image();
  std::filesystem::create_hard_link(dir.path() / "disk.iso", dir.path() / "h.log");
  run({"-archDisk=disk.iso/", "-fNameInfo=disk.iso", "-fNameWarning=h.log",
       "-fNameSummary=summary.log"});
  EXPECT_EQ(errors,
            "cdverify: log disk.iso is the disk image disk.iso/: it is not written\n"
            "cdverify: log h.log is the disk image disk.iso/: it is not written\n");
  EXPECT_NE(logFile("summary.log").find("     files: 7 \n"), std::string::npos);
  for (const char* output : {"--output=disk.iso", "--svg=h.log"}) {
    std::ostringstream out, err;
    const char* argv[] = {"cdcoverage", output, "./disk.iso//"};
    EXPECT_EQ(cdcoverage::runCoverage(3, argv, platform::systemDisk(), out, err), 1) << output;
    EXPECT_NE(err.str().find(" is the disk image ./disk.iso//: it is not written\n"),
              std::string::npos)
        << err.str();
  }
  EXPECT_EQ(image(), before);
}

// Sizes and places the image claims are bounded by the bytes it really has: a
// volume forged to 4 TiB with a file moved to its end, and directories whose
// extents overlap a large file, each asking for most of it.
TEST_F(DiskImageTest, ForgedSizesAndOverlappingDirectoriesCostOnlyTheRealImage) {
  makeImage("-outdev disk.iso -rockridge off -joliet off -map disk /");
  std::string forged = image();
  setBoth(forged, 16 * 2048 + 80, 0x7FFFFFFF);  // the volume's size in sectors
  setBoth(forged, recordOf(forged, "P0615002.DAT;1") + 2, 0x7FFFFFF0);
  writeImage("forged.iso", forged);
  const std::string log = logOf("forged.iso");
  EXPECT_EQ(said, "");
  EXPECT_NE(log.find(" File disk/20060615/P0615002.DAT is unusable\r\n"), std::string::npos);
  EXPECT_NE(log.find("     files: 7 \n"), std::string::npos);

  // A root directory that claims 1 GiB of records: refused before the reader
  // sets that memory aside.
  std::string claiming = image();
  setBoth(claiming, 16 * 2048 + 156 + 10, 1u << 30);
  writeImage("claiming.iso", claiming);
  logOf("claiming.iso");
  EXPECT_EQ(said,
            "cdverify: disk image claiming.iso cannot be read: its directory records "
            "need more than 64 MiB\n");

  testsupport::writeFile(dir.path() / "big" / "BIG.DAT", std::string(9 << 20, 'x'));
  for (int i = 0; i < 10; ++i)
    std::filesystem::create_directory(dir.path() / "big" / ("D" + std::to_string(i)));
  makeImage("-outdev big.iso -rockridge off -joliet off -map big /");
  std::string overlapping = testsupport::readFile(dir.path() / "big.iso");
  const std::size_t bigAt = recordOf(overlapping, "BIG.DAT;1");
  const uint32_t bigSector = sources::iso9660::littleEndian32(overlapping.data() + bigAt + 2);
  for (int i = 0; i < 10; ++i) {
    const std::size_t record = recordOf(overlapping, "D" + std::to_string(i));
    setBoth(overlapping, record + 2, bigSector + static_cast<uint32_t>(i));
    setBoth(overlapping, record + 10, 8 << 20);
  }
  writeImage("overlapping.iso", overlapping);
  logOf("overlapping.iso");
  EXPECT_EQ(said,
            "cdverify: disk image overlapping.iso cannot be read: its directory records "
            "need more than 64 MiB\n");
}

// Joliet names that no locale can show (a lone UTF-16 surrogate), or that hold
// a '/': the image is read by its ISO 9660 names instead, and says so.
TEST_F(DiskImageTest, BrokenJolietNamesFallBackToTheIsoNamesAndAreTold) {
  const std::string folder = logOf("disk");
  makeImage("-outdev disk.iso -rockridge off -joliet on -map disk /");
  const std::string joliet = std::string("\0P\0000\0006\0001\0005\0000\0000\0003", 16);
  for (const auto& [name, bytes, told] :
       std::vector<std::tuple<std::string, std::string, std::string>>{
           {"surrogate.iso", std::string("\xD8\x00", 2),
            "a file's name cannot be read (Pathname cannot be converted from UTF-16BE to "
            "current locale.)"},
           {"slash.iso", std::string("\0/", 2),
            "the name 20060615/P/615003.DAT holds a '/' or leads through no directory of the "
            "image"}}) {
    std::string broken = image();
    const std::size_t at = broken.find(joliet);
    ASSERT_NE(at, std::string::npos);
    broken.replace(at + 2, 2, bytes);
    writeImage(name, broken);
    EXPECT_EQ(logOf(name), folder) << name;
    EXPECT_EQ(said, "cdverify: disk image " + name + ": Joliet names cannot be read: " + told +
                        "; files are named as the image's ISO 9660 tree names them\n");
  }
}

// The image is read through the Disk it is given, here one in memory, and keeps
// what the caller's policy names: verification's bytes, or every byte.
TEST_F(DiskImageTest, AnImageIsReadThroughItsHostDiskKeepingWhatThePolicyNames) {
  makeImage("-as mkisofs -R -J -o disk.iso disk");
  testsupport::MemoryDisk memory;
  memory.addFile("", "disk.iso", image());
  const std::string path = "disk/20060615/P0615001.DAT";
  const std::string original = testsupport::readFile(dir.path() / path);
  const auto bytesOf = [&](const base::KeepPolicy& policy, int64_t offset, std::size_t size) {
    const base::Outcome<sources::OpenedDisk> opened = sources::openDisk("disk.iso", memory, policy);
    EXPECT_TRUE(opened) << opened.problem();
    const auto file = opened->disk->openForReading("disk.iso/20060615/P0615001.DAT");
    EXPECT_TRUE(file);
    EXPECT_EQ((*file)->length(), static_cast<int64_t>(original.size()));
    std::string bytes(size, '\0');
    return (*file)->readWhole(offset, bytes.data(), size) ? bytes : std::string("unreadable");
  };
  const base::KeepPolicy verification =
      verify::verificationKeepPolicy(profile::ProfileDialect::kPosix);
  const std::size_t middle = original.size() - 100;
  EXPECT_EQ(bytesOf(verification, 0, 20), original.substr(0, 20));
  EXPECT_EQ(bytesOf(verification, middle, 50), "unreadable");
  const base::KeepPolicy everything{0, [](std::string_view, int64_t length) {
                                      return std::vector<base::ByteRange>{{0, length}};
                                    }};
  EXPECT_EQ(bytesOf(everything, 0, original.size()), original);
}

TEST_F(DiskImageTest, ImageCutInsideAFileLeavesItAndTheFollowingOnesUnusable) {
  makeImage("-as mkisofs -R -J -o disk.iso disk");
  const std::string second = DataFile().startingAt(1150372860).set("SYSTEM", "LAT", "x").bytes();
  testsupport::writeFile(disk.directory() / "20060615" / "P0615002.DAT", second);
  std::filesystem::remove(dir.path() / "disk.iso");
  makeImage("-as mkisofs -R -J -o disk.iso disk");
  const std::size_t secondAt = image().find(second);
  ASSERT_NE(secondAt, std::string::npos);
  writeImage("cut.iso", image().substr(0, secondAt + 100));
  const std::string log = logOf("cut.iso");
  EXPECT_EQ(said, "");
  EXPECT_EQ(log.find(" File disk/20060615/P0615001.DAT is unusable"), std::string::npos);
  for (const char* name :
       {"20060615/P0615002.DAT", "20060615/P0615003.DAT", "20060616/P0616003.DAT"}) {
    EXPECT_NE(log.find(" File disk/" + std::string(name) + " is unusable\r\n"), std::string::npos)
        << name;
  }
}

// What a one-pass reader told of each file: the bytes it read, at their
// offsets, and the ranges it could not read.
class ToldBytes : public base::FileBytesListener {
 public:
  struct File {
    int64_t length = 0;
    std::string read;  // the bytes read, in order
    std::vector<base::ByteRange> unreadable;
  };
  void fileBegins(const std::string& path, int64_t length) override {
    current_ = &files[path];
    *current_ = File{length, {}, {}};
  }
  void fileBytes(std::string_view bytes) override { current_->read += bytes; }
  void fileUnreadable(base::ByteRange range) override { current_->unreadable.push_back(range); }
  void fileEnds() override {}
  void fileSameAs(const std::string&, const std::string&) override {}
  std::map<std::string, File> files;

 private:
  File* current_ = nullptr;
};

base::KeepPolicy keepingNothing() {
  return {0, [](std::string_view, int64_t) { return std::vector<base::ByteRange>{}; }};
}

// Reads image through a disk in memory whose unreadable ranges are damaged.
std::map<std::string, ToldBytes::File> toldOf(const std::string& image,
                                              std::vector<base::ByteRange> damaged = {}) {
  testsupport::MemoryDisk host;
  host.addFile("", "d.iso", image);
  host.unreadable["d.iso"] = std::move(damaged);
  ToldBytes told;
  base::KeepPolicy policy = keepingNothing();
  policy.everyByte = &told;
  const auto file = host.openForReading("d.iso");
  const sources::ImageRead read = sources::readIsoImage(**file, true, policy);
  EXPECT_FALSE(read.problem) << *read.problem;
  return told.files;
}

// Over every sector of the files' data, cut the image there or make it
// unreadable: each file is told exactly the bytes of its extent that lie in
// readable sectors before the cut, and the rest as unreadable ranges, never
// another file's; bytes told as read are the file's own.
TEST_F(DiskImageTest, EveryUnreadByteIsToldAgainstTheFileWhoseExtentHoldsIt) {
  makeImage("-as mkisofs -R -J -o disk.iso disk");
  const std::string whole = image();
  std::map<std::string, int64_t> starts;  // each non-empty file's first byte in the image
  testsupport::MemoryDisk host;
  host.addFile("", "d.iso", whole);
  const auto opened = host.openForReading("d.iso");
  for (const auto& [path, file] :
       sources::readIsoImage(**opened, true, keepingNothing()).tree.files) {
    if (file->length > 0) starts[path] = file->dataStart;
  }
  const std::map<std::string, ToldBytes::File> original = toldOf(whole);
  int64_t first = INT64_MAX, last = 0;
  for (const auto& [path, start] : starts) {
    first = std::min(first, start);
    last = std::max(last, start + original.at(path).length);
    ASSERT_TRUE(original.at(path).unreadable.empty()) << path;
  }
  constexpr int64_t kSector = sources::iso9660::kSector;
  // The ranges of a file of that start and length that fall in [from, to) of the image.
  const auto within = [](int64_t start, int64_t length, int64_t from, int64_t to) {
    std::vector<base::ByteRange> ranges;
    const int64_t a = std::max<int64_t>(from - start, 0), b = std::min(to - start, length);
    if (a < b) ranges.push_back({a, b - a});
    return ranges;
  };
  for (int64_t at = first; at <= last + kSector; at += kSector) {
    for (const bool cut : {true, false}) {
      const std::map<std::string, ToldBytes::File> told =
          cut ? toldOf(whole.substr(0, static_cast<std::size_t>(at)))
              : toldOf(whole, {{at, kSector}});
      for (const auto& [path, file] : original) {
        SCOPED_TRACE(path + (cut ? " cut at " : " damaged at ") + std::to_string(at));
        const ToldBytes::File& now = told.at(path);
        const int64_t start = starts.count(path) != 0 ? starts.at(path) : 0;
        const std::vector<base::ByteRange> expected =
            file.length == 0 ? std::vector<base::ByteRange>{}
            : cut            ? within(start, file.length, at, INT64_MAX)
                             : within(start, file.length, at, at + kSector);
        EXPECT_EQ(now.unreadable, expected);
        // What was read is the file's own bytes: all but a cut's missing tail.
        const std::size_t readable = cut && !expected.empty()
                                         ? static_cast<std::size_t>(expected[0].offset)
                                         : file.read.size();
        ASSERT_EQ(now.read.size(), readable);
        for (std::size_t i = 0; i < readable; ++i) {
          const bool damaged = std::any_of(expected.begin(), expected.end(), [&](const auto& r) {
            return static_cast<int64_t>(i) >= r.offset &&
                   static_cast<int64_t>(i) < r.offset + r.size;
          });
          if (!damaged && now.read[i] != file.read[i]) FAIL() << "byte " << i << " differs";
        }
      }
    }
  }
}

}  // namespace
