// Whole cdarchive runs over the sample disk with a real SQLite catalogue:
// adding, finding, availability, and the catalogue as cdcoverage's input; on
// every host (images: cdarchive_image_test.cpp).

#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "catalog/open_catalog.h"
#include "platform/sha256.h"
#include "tests/archive_run_fixture.h"
#include "tests/support/memory_disk.h"
#include "times/iso_time.h"
#include "tools/datagen/data_file.h"

namespace {

// A disk is known by what it holds, never by its label, its listing's sizes
// or its files' times: the same disk is skipped wherever it is mounted, and
// another one under a catalogued label is refused unless --replace says so.
TEST_F(ArchiveRunTest, ADiskIsKnownByWhatItHoldsAndNeverReplacedSilently) {
  ASSERT_EQ(archive({"add", disk.setting()}), 0) << err;
  EXPECT_EQ(out, label + ": added, 7 files, 2006-06-15T12:00:01 .. 2006-06-16T08:03:01\n");
  ASSERT_EQ(archive({"add", disk.setting()}), 0);
  EXPECT_EQ(out, label + ": unchanged, skipped\n");
  // A data file written again with the same bytes is the same disk.
  const auto someTime = std::filesystem::file_time_type::clock::now() - std::chrono::hours(100);
  std::filesystem::last_write_time(disk.directory() / "20060615" / "P0615001.DAT", someTime);
  ASSERT_EQ(archive({"add", disk.setting()}), 0);
  EXPECT_EQ(out, label + ": unchanged, skipped\n");
  // The same disk where another drive or mount point puts it is unchanged.
  const std::filesystem::path moved = dir.path() / "mounted-elsewhere";
  std::filesystem::rename(disk.directory(), moved);
  ASSERT_EQ(archive({"add", "--as=" + label, moved.string()}), 0) << err;
  EXPECT_EQ(out, label + ": unchanged, skipped\n");
  std::filesystem::rename(moved, disk.directory());

  const std::string refused =
      "cdarchive: " + label +
      ": another disk is catalogued under this label (added 2026-11-30T00:53:20, "
      "2006-06-15T12:00:01 .. 2006-06-16T08:03:01, 7 files, from " +
      disk.setting() +
      "): not added; --as=LABEL adds this one under another label, --replace "
      "replaces that one\n";
  // The burn-time workflow: another disk in the same drive, the same names
  // and sizes, written in the same second, other times on it.
  const std::filesystem::path first = dir.path() / "first";
  std::filesystem::copy(disk.directory(), first, std::filesystem::copy_options::recursive);
  for (const char* name : {"P0615001.DAT", "P0615002.DAT", "P0615003.DAT"}) {
    const std::filesystem::path file = disk.directory() / "20060615" / name;
    const auto written = std::filesystem::last_write_time(file);
    std::string bytes = testsupport::readFile(file);
    bytes.replace(bytes.find("2006"), 4, "2007");  // its start times a year on
    testsupport::writeFile(file, bytes);
    std::filesystem::last_write_time(file, written);
  }
  EXPECT_EQ(archive({"add", disk.setting()}), 1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, refused);
  ASSERT_EQ(archive({"add", "--as=disk-b", disk.setting()}), 0) << err;
  ASSERT_EQ(archive({"disks", "--format=csv"}), 0);
  EXPECT_EQ(out.substr(0, out.find('\n') + 1),
            "label|stream|copy_of|label_from|source|files|bytes|first|last|added|proven|state\r\n");
  EXPECT_NE(out.find("\r\n" + label + "|permanent||folder|" + disk.setting() + "|7|"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("\r\ndisk-b|permanent||given|"), std::string::npos);
  // A disk burnt again replaces the one catalogued when asked.
  std::filesystem::remove(disk.directory() / "20060616" / "P0616003.DAT");
  ASSERT_EQ(archive({"add", "--replace", disk.setting()}), 0) << err;
  EXPECT_EQ(out, label + ": replaced, 6 files, 2006-06-16T08:00:01 .. 2007-06-15T12:03:01\n");
  ASSERT_EQ(archive({"add", "--as=" + label, first.string()}), 1);
}

// A disk's permanent and trigger streams are two records under one label:
// adding, finding and removing one leaves the other as it was.
TEST_F(ArchiveRunTest, TheStreamsOfADiskAreKeptApart) {
  ASSERT_EQ(archive({"add", disk.setting()}), 0) << err;
  ASSERT_EQ(archive({"availability", "--format=request"}), 0);
  const std::string permanent = out;
  ASSERT_EQ(archive({"add", "--stream=trigger", disk.setting()}), 0) << err;
  EXPECT_EQ(
      out,
      label + " (trigger stream): added, 1 file, 2006-06-15T12:00:31 .. 2006-06-15T12:01:31\n");
  ASSERT_EQ(archive({"availability", "--format=request"}), 0);
  EXPECT_EQ(out, permanent);
  ASSERT_EQ(archive({"availability", "--stream=trigger", "--format=request"}), 0);
  EXPECT_EQ(out, "VELK 1 2006-06-15T12:00:31 2006-06-15T12:01:31\n");
  ASSERT_EQ(archive({"find", "--station=VELK", "--stream=trigger"}), 0);
  EXPECT_EQ(out.substr(0, out.find('\n')),
            "Station VELK, 2006-06-15T12:00:31 .. 2006-06-15T12:01:31: 1 file on 1 disk, 0 gaps");
  ASSERT_EQ(archive({"disks", "--format=csv"}), 0);
  EXPECT_NE(out.find("\r\n" + label + "|permanent|"), std::string::npos);
  EXPECT_NE(out.find("\r\n" + label + "|trigger|"), std::string::npos);

  ASSERT_EQ(archive({"remove", label}), 0);
  EXPECT_EQ(out, label + ": removed, 7 files, 2006-06-15T12:00:01 .. 2006-06-16T08:03:01\n");
  EXPECT_EQ(archive({"manifest", label}), 1);
  EXPECT_EQ(err, "cdarchive: no disk " + label +
                     " in the catalogue (it holds its trigger stream: "
                     "--stream=trigger)\n");
  ASSERT_EQ(archive({"manifest", "--stream=trigger", label}), 0) << err;
  EXPECT_NE(out.find("  20060615/T0615001.DAT\n"), std::string::npos) << out;
  ASSERT_EQ(archive({"check", "--stream=trigger", disk.setting()}), 0) << err;
}

// The burn-time workflow: disk after disk mounted at one folder, each with
// the same names and sizes. Each is catalogued under the label its volume
// carries; without one, the second under the folder's name is refused, never
// put in the place of the first.
TEST_F(ArchiveRunTest, DisksMountedOneAfterAnotherAtOneFolderAreEachKept) {
  const std::string catalog = "--catalog=" + (dir.path() / "archive.db").string();
  const auto mount = [&](testsupport::MemoryDisk& host, int nth, const char* volume) {
    host.addDirectory(onHost("cdrom/"), "20060615");
    for (int i = 0; i < 3; ++i) {
      host.addFile(onHost("cdrom/20060615/"), "P061500" + std::to_string(i) + ".DAT",
                   datagen::DataFile().startingAt(1150372800 + nth * 3600 + i * 60).bytes());
    }
    if (volume != nullptr) host.labels[platform::diskSettingOf("cdrom")] = volume;
  };
  const auto add = [&](testsupport::MemoryDisk& host) {
    return runWith(
        [&](int argc, const char* const* argv, std::ostream& o, std::ostream& e) {
          return cdarchive::runArchive(argc, argv, host, o, e, kNow);
        },
        "cdarchive", {catalog, "add", "cdrom"});
  };
  for (int nth = 1; nth <= 5; ++nth) {
    testsupport::MemoryDisk host;
    const std::string shelf = "SHELF00" + std::to_string(nth);
    mount(host, nth, shelf.c_str());
    ASSERT_EQ(add(host), 0) << err;
    EXPECT_EQ(out.substr(0, out.find(',')), shelf + ": added") << out;
  }
  for (int nth = 6; nth <= 7; ++nth) {
    testsupport::MemoryDisk host;
    mount(host, nth, nullptr);
    EXPECT_EQ(add(host), nth == 6 ? 0 : 1);
  }
  EXPECT_EQ(err.substr(0, 61), "cdarchive: cdrom: another disk is catalogued under this label");
  ASSERT_EQ(archive({catalog, "disks", "--format=csv"}), 0);
  for (const char* shown : {"SHELF001|", "SHELF005|", "cdrom|"})
    EXPECT_NE(out.find(std::string("\r\n") + shown), std::string::npos) << shown << out;
  ASSERT_EQ(archive({catalog, "availability", "--extent"}), 0);
  EXPECT_NE(out.find(" 2006-06-15T13:00:01 2006-06-15T18:03:01 "), std::string::npos) << out;
}

TEST_F(ArchiveRunTest, FindNamesTheDisksFilesAndGapsOfAWindow) {
  ASSERT_EQ(archive({"add", "--as=shelf-042", disk.setting()}), 0);
  ASSERT_EQ(
      archive({"find", "--station=VELK", "--from=2006-06-15T12:01Z", "--to=2006-06-15 12:04:00"}),
      0);
  EXPECT_EQ(out,
            "Station VELK, 2006-06-15T12:01:00 .. 2006-06-15T12:04:00: 3 files on 1 disk, 1 gap\n"
            "\n"
            "Disks to fetch: 1\n"
            "  shelf-042  2006-06-15T12:01:00 .. 2006-06-15T12:03:01  3 files  (" +
                disk.setting() +
                ")\n"
                "\n"
                "Files: 3\n"
                "  2006-06-15T12:00:01 .. 2006-06-15T12:01:01  shelf-042  " +
                disk.path("20060615", "P0615001.DAT") +
                "  (in the window 2006-06-15T12:01:00 .. 2006-06-15T12:01:01)\n"
                "  2006-06-15T12:01:01 .. 2006-06-15T12:02:01  shelf-042  " +
                disk.path("20060615", "P0615002.DAT") +
                "\n"
                "  2006-06-15T12:02:01 .. 2006-06-15T12:03:01  shelf-042  " +
                disk.path("20060615", "P0615003.DAT") +
                "\n"
                "\n"
                "Gaps: 1\n"
                "  2006-06-15T12:03:01 .. 2006-06-15T12:04:00  0d 0h 0m 59s\n");
  ASSERT_EQ(archive({"find", "--station=VELK", "--from=2006-06-15T12:01:00",
                     "--to=2006-06-15T12:04:00", "--format=csv"}),
            0);
  EXPECT_NE(out.find("gap|||2006-06-15T12:03:01|2006-06-15T12:04:00|59|||\r\n"), std::string::npos);
  EXPECT_NE(out.find("|2006-06-15T12:01:00|2006-06-15T12:01:01|1||2006-06-15T12:00:01|"
                     "2006-06-15T12:01:01\r\n"),
            std::string::npos)
      << out;
  // One side alone: the window reaches to the station's first or last time.
  ASSERT_EQ(archive({"find", "--station=VELK", "--from=2006-06-16T08:01:30"}), 0);
  EXPECT_EQ(out.substr(0, out.find('\n')),
            "Station VELK, 2006-06-16T08:01:30 .. 2006-06-16T08:03:01: 2 files on 1 disk, 0 gaps");
  ASSERT_EQ(archive({"find", "--station=VELK", "--to=2006-06-15T12:00:30"}), 0);
  EXPECT_EQ(out.substr(0, out.find('\n')),
            "Station VELK, 2006-06-15T12:00:01 .. 2006-06-15T12:00:30: 1 file on 1 disk, 0 gaps");
  // A window of a station the catalogue holds may find nothing; a station it
  // does not hold is no gap but a mistake.
  ASSERT_EQ(archive({"find", "--station=VELK", "--to=2000-01-01", "--format=json"}), 0);
  EXPECT_NE(out.find("\"files\": []"), std::string::npos);
  for (const std::vector<std::string>& asked :
       {std::vector<std::string>{"find", "--station=velk"}, {"availability", "--station=velk"}}) {
    EXPECT_EQ(archive(asked), 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err,
              "cdarchive: no station velk in the catalogue (stations: VELK); differing only in "
              "case: VELK\n");
  }
  EXPECT_EQ(archive({"--catalog=empty.db", "add", "--as=x", "no-such-disk"}), 1);
  EXPECT_EQ(archive({"--catalog=empty.db", "find", "--station=VELK"}), 1);
  EXPECT_EQ(err, "cdarchive: no station VELK in the catalogue (stations: none)\n");
}

TEST_F(ArchiveRunTest, AvailabilityAndCdcoverageFromTheCatalogueEqualTheDiskRead) {
  // Under its own name as label, the catalogued disk reads as the disk itself.
  ASSERT_EQ(archive({"add", "--as=" + disk.setting(), disk.setting()}), 0);
  ASSERT_EQ(cover({"--format=csv", disk.setting()}), 0);
  const std::string direct = out;
  ASSERT_EQ(cover({"--format=csv", "--catalog=archive.db"}), 0) << err;
  EXPECT_EQ(out, direct);
  // The same disk as an input too: the copy is named by its label.
  ASSERT_EQ(cover({"--format=csv", "--catalog=archive.db", disk.setting()}), 0) << err;
  EXPECT_EQ(out, direct);
  EXPECT_EQ(err, "cdcoverage: disk " + disk.setting() +
                     " of catalogue archive.db holds the same disk as " + disk.setting() +
                     ": it is counted once\n");

  ASSERT_EQ(archive({"availability", "--format=request"}), 0);
  EXPECT_EQ(out,
            "VELK 1 2006-06-15T12:00:01 2006-06-15T12:03:01\n"
            "VELK 1 2006-06-16T08:00:01 2006-06-16T08:03:01\n");
  ASSERT_EQ(archive({"availability", "--merge-gaps=72000", "--extent"}), 0);
  EXPECT_EQ(out,
            "#Station Stream SampleRate Earliest Latest Updated TimeSpans\n"
            "VELK 1 10 2006-06-15T12:00:01 2006-06-16T08:03:01 2026-11-30T00:53:20 1\n");
  ASSERT_EQ(
      archive({"availability", "--from=2006-06-15T12:02:00", "--to=2006-06-16", "--format=geocsv"}),
      0);
  EXPECT_EQ(out.substr(out.find("Station|")),
            "Station|Stream|SampleRate|Earliest|Latest\n"
            "VELK|1|10|2006-06-15T12:02:00|2006-06-15T12:03:01\n");
}

// Labels and station names may hold anything: every format keeps each whole
// and tells it apart from its neighbours.
TEST_F(ArchiveRunTest, HostileNamesKeepEveryFormatWhole) {
  const std::filesystem::path other = dir.path() / "other";
  std::filesystem::create_directories(other / "20060617");
  datagen::DataFile()
      .startingAt(1150502400)
      .set("SYSTEM", "NAME", "A B")
      .writeTo(other / "20060617" / "P0617001.DAT");  // 2006-06-17T00:00:00
  ASSERT_EQ(archive({"add", "--as=a,b|c\nd", disk.setting()}), 0) << err;
  ASSERT_EQ(archive({"add", "--as=e\\f", other.string()}), 0) << err;

  ASSERT_EQ(archive({"disks"}), 0);
  EXPECT_EQ(out.substr(0, 18), "label       stream") << out;  // columns aligned
  EXPECT_EQ(out.substr(out.find('\n') + 1, 12), "a,b|c\\x0ad  ");
  ASSERT_EQ(archive({"disks", "--format=csv"}), 0);
  EXPECT_EQ(out.substr(out.find("\r\n") + 2, 10), "\"a,b|c\nd\"|");
  ASSERT_EQ(archive({"disks", "--format=json"}), 0);
  EXPECT_NE(out.find("\"label\": \"a,b|c\\nd\""), std::string::npos) << out;
  EXPECT_NE(out.find("\"label\": \"e\\\\f\""), std::string::npos) << out;

  ASSERT_EQ(archive({"availability", "--station=A B", "--format=request"}), 0);
  EXPECT_EQ(out, "\"A B\" 1 2006-06-17T00:00:01 2006-06-17T00:01:01\n");
  ASSERT_EQ(archive({"availability", "--extent"}), 0);
  EXPECT_EQ(out.substr(out.find('\n') + 1, 11), "\"A B\" 1 10 ");

  // The disks of a row, told apart however they are named.
  ASSERT_EQ(cover({"--format=csv", "--catalog=archive.db"}), 0) << err;
  EXPECT_NE(
      out.find("disk-gap||2006-06-16T08:03:01|2006-06-17T00:00:01|57420|\"a\\,b|c\nd,e\\\\f\"|"),
      std::string::npos)
      << out;
}

// A catalogue that fails a write mid-run (here a rule of its own refuses every
// new disk) fails the add, says why, and keeps what it held; one that fails a
// read fails the command.
TEST_F(ArchiveRunTest, ACatalogueThatFailsAWriteOrAReadFailsTheCommand) {
  ASSERT_EQ(archive({"add", "--as=first", disk.setting()}), 0) << err;
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir.path() / "archive.db").string().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TRIGGER refuse BEFORE INSERT ON disk BEGIN"
                         " SELECT RAISE(ABORT, 'no more disks'); END;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  EXPECT_EQ(archive({"add", "--as=second", disk.setting()}), 1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "cdarchive: catalogue archive.db: no more disks\n");
  ASSERT_EQ(archive({"disks", "--format=csv"}), 0);
  EXPECT_NE(out.find("\r\nfirst|"), std::string::npos);
  EXPECT_EQ(out.find("second"), std::string::npos);

  ASSERT_EQ(sqlite3_open((dir.path() / "archive.db").string().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "DROP TABLE held", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  for (const std::vector<std::string>& command : {std::vector<std::string>{"manifest", "first"},
                                                  {"check", "--as=first", disk.setting()},
                                                  {"add", "--as=first", disk.setting()}}) {
    EXPECT_EQ(archive(command), 1) << command.front();
    EXPECT_EQ(err, "cdarchive: catalogue archive.db: no such table: held\n") << command.front();
  }
}

TEST_F(ArchiveRunTest, ProblemsAreNamedAndNothingIsWrittenWhereItMustNotBe) {
  // A catalogue inside the disk is never made.
  const std::string inside = disk.path("20060615", "archive.db");
  EXPECT_EQ(archive({"add", "--catalog=" + inside, disk.setting()}), 1);
  EXPECT_EQ(err, "cdarchive: catalogue " + inside + " lies inside the disk " + disk.setting() +
                     ": it is not opened\n");
  EXPECT_FALSE(std::filesystem::exists(disk.directory() / "20060615" / "archive.db"));
  // Nor is one read while its disk is checked: its log and shared memory
  // would be written into the disk.
  ASSERT_EQ(archive({"add", disk.setting()}), 0);
  std::filesystem::copy_file(dir.path() / "archive.db", disk.directory() / "archive.db");
  EXPECT_EQ(archive({"--catalog=" + disk.path("", "archive.db"), "check", disk.setting()}), 1);
  EXPECT_EQ(err, "cdarchive: catalogue " + disk.path("", "archive.db") + " lies inside the disk " +
                     disk.setting() + ": it is not opened\n");
  EXPECT_EQ(cover({"--catalog=" + disk.path("", "archive.db"), disk.setting()}), 1);
  EXPECT_NE(err.find("cdcoverage: catalogue " + disk.path("", "archive.db") +
                     " lies inside the disk " + disk.setting() + ": it is not opened\n"),
            std::string::npos)
      << err;
  // A catalogue beside the disk whose write-ahead log would be written into
  // it, through a link (where the host makes links: Wine does not).
  std::error_code linked;
  std::filesystem::create_symlink(disk.directory() / "log", dir.path() / "linked.db-wal", linked);
  if (!linked) {
    EXPECT_EQ(archive({"--catalog=linked.db", "check", disk.setting()}), 1);
    EXPECT_EQ(err, "cdarchive: catalogue linked.db (its file linked.db-wal) lies inside the disk " +
                       disk.setting() + ": it is not opened\n");
  }
  std::filesystem::remove(disk.directory() / "archive.db");
  for (const char* companion : {"-wal", "-shm", "-journal"})
    EXPECT_FALSE(
        std::filesystem::exists(disk.directory() / ("archive.db" + std::string(companion))));
  std::filesystem::remove(dir.path() / "archive.db");

  // A file that is not a catalogue is left as it was.
  testsupport::writeFile(dir.path() / "notes.db", "operator's notes, not a catalogue at all\n");
  EXPECT_EQ(archive({"add", "--catalog=notes.db", disk.setting()}), 1);
  EXPECT_NE(err.find("is not a cdarchive catalogue"), std::string::npos) << err;
  EXPECT_EQ(testsupport::readFile(dir.path() / "notes.db"),
            "operator's notes, not a catalogue at all\n");

  // A disk that cannot be read is named; the others are still added.
  EXPECT_EQ(archive({"add", "no-such-disk", disk.setting()}), 1);
  EXPECT_EQ(err, "cdarchive: disk no-such-disk: no such disk, or nothing on it\n");
  EXPECT_EQ(out, label + ": added, 7 files, 2006-06-15T12:00:01 .. 2006-06-16T08:03:01\n");

  // No data file of the stream: a mistake unless said otherwise.
  const std::string dated = disk.path("", "20060615");
  for (const std::vector<std::string>& add :
       {std::vector<std::string>{"add", "--catalog=empty.db", dated},
        {"add", "--catalog=empty.db", "--first-byte=Q", "--as=20060615", disk.setting()}}) {
    EXPECT_EQ(archive(add), 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "cdarchive: 20060615: no data file of the permanent stream on it (" +
                       add.back() +
                       " is a disk's root? --mode, --stream, --first-byte and --ext choose the "
                       "files): not added; --allow-empty adds it empty\n");
  }
  EXPECT_EQ(archive({"add", "--catalog=empty.db", "--allow-empty", dated}), 0);
  EXPECT_EQ(out, "20060615: added, 0 files, none .. none\n");

  EXPECT_EQ(archive({"find", "--catalog=missing.db", "--station=VELK"}), 1);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing.db"));
  EXPECT_EQ(archive({"remove", "nothing"}), 1);
  EXPECT_EQ(err, "cdarchive: no disk nothing in the catalogue\n");
  EXPECT_EQ(archive({"remove", label}), 0);
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{},
        {"add"},
        {"find"},
        {"add", "--as=x", "a", "b"},
        {"availability", "--merge-gaps=-1"},
        {"find", "--station=S", "--from=2006-06-16", "--to=2006-06-15"},
        {"--catalog=", "disks"}}) {
    EXPECT_EQ(archive(bad), 2) << (bad.empty() ? "" : bad[0]);
  }
  // A misspelt word is named, with the nearest known one where there is one.
  const std::string more = "\nRun with --help for more information.\n";
  struct Typo {
    std::vector<std::string> arguments;
    std::string told;
  };
  for (const Typo& typo : std::vector<Typo>{
           {{"availabilty"}, "unknown command availabilty; did you mean availability?"},
           {{"find", "--staton=VELK"}, "unknown option --staton; did you mean --station?"},
           {{"--catalg", "x.db", "disks"}, "unknown option --catalg; did you mean --catalog?"},
           {{"disks", "--fromat=csv"}, "unknown option --fromat; did you mean --format?"},
           {{"remove", "--stream", "trigger", "--replce", "x"},
            "unknown option --replce"},  // add's, not remove's: no suggestion from there
           {{"shelve", "disk042"},
            "unknown command shelve (the commands are add, find, availability, check, disks, "
            "remove, manifest or safety)"}}) {
    EXPECT_EQ(archive(typo.arguments), 2) << typo.told;
    EXPECT_EQ(err, "cdarchive: " + typo.told + more);
  }
  // An option's value given apart is no word of its own.
  EXPECT_EQ(archive({"--catalog", "missing.db", "find", "--station", "--stream"}), 1);
  EXPECT_EQ(err.find("unknown"), std::string::npos) << err;
}

}  // namespace

namespace {

TEST_F(ArchiveRunTest, TheManifestOfAnAddedDiskChecksWithSha256sum) {
  ASSERT_EQ(archive({"add", disk.setting()}), 0) << err;
  ASSERT_EQ(archive({"manifest", label}), 0) << err;
  EXPECT_NE(out.find("  20060615/P0615001.DAT\n"), std::string::npos);
  EXPECT_NE(out.find("  P0000001.DAT\n"), std::string::npos);  // every file, data or not
  // Where coreutils are (not under Wine, whose manifests CI compares with
  // Linux's of the same disk).
  if (std::system("sha256sum --version > /dev/null 2>&1") == 0) {
    std::ofstream(dir.path() / "manifest-sha256.txt") << out;
    const std::string check = "cd '" + disk.directory().string() + "' && sha256sum --quiet -c '" +
                              (dir.path() / "manifest-sha256.txt").string() + "'";
    EXPECT_EQ(std::system(check.c_str()), 0);
  }

  ASSERT_EQ(archive({"add", "--no-fixity", "--as=quick", disk.setting()}), 0);
  EXPECT_EQ(archive({"manifest", "quick"}), 1);
  EXPECT_EQ(err,
            "cdarchive: disk quick was added without fixity: add it again without "
            "--no-fixity\n");
  ASSERT_EQ(archive({"add", "--no-fixity", "--as=quick", disk.setting()}), 0);
  EXPECT_EQ(out, "quick: unchanged, skipped\n");
  ASSERT_EQ(archive({"add", "--as=quick", disk.setting()}), 0);  // unchanged, but no fixity
  EXPECT_EQ(out, "quick: replaced, a copy of " + label +
                     ", 7 files, 2006-06-15T12:00:01 .. "
                     "2006-06-16T08:03:01\n");
  EXPECT_EQ(archive({"manifest", "quick"}), 0);
}

TEST_F(ArchiveRunTest, UnreadableSectorsArePassedOverAndCostTheTimeOfTheirRecords) {
  testsupport::MemoryDisk host;
  const std::string bytes = datagen::DataFile().startingAt(1150372800).bytes();  // 12:00:00
  host.addDirectory(onHost("d/"), "20060615");
  host.addFile(onHost("d/20060615/"), "P0615001.DAT", bytes);
  host.addFile(onHost("d/20060615/"), "P0615002.DAT", bytes);
  // Byte 5000 fails: its sector, 4096 to 6143, holds part of records 2 to 4
  // (records of 856 bytes from 2120, of 10 s from 12:00:01).
  host.unreadable[onHost("d/20060615/P0615001.DAT")] = {{5000, 1}};
  const auto run = [&](std::vector<std::string> arguments) {
    return runWith(
        [&](int argc, const char* const* argv, std::ostream& o, std::ostream& e) {
          return cdarchive::runArchive(argc, argv, host, o, e, kNow);
        },
        "cdarchive", std::move(arguments));
  };
  EXPECT_EQ(run({"--catalog=" + (dir.path() / "archive.db").string(), "add", "d"}), 1);
  EXPECT_EQ(out, "d: added, 2 files, 2006-06-15T12:00:01 .. 2006-06-15T12:01:01\n");
  EXPECT_EQ(err,
            "cdarchive: d: 20060615/P0615001.DAT: unreadable bytes 4096..6143\n"
            "cdarchive: d: station VELK, 2006-06-15T12:00:21 to 2006-06-15T12:00:51 lost "
            "(" +
                onHost("d/20060615/P0615001.DAT") + ")\n");
  EXPECT_EQ(run({"--catalog=" + (dir.path() / "archive.db").string(), "manifest", "d"}), 1);
  EXPECT_EQ(out, platform::sha256Hex(bytes) + "  20060615/P0615002.DAT\n");
  EXPECT_EQ(err,
            "cdarchive: 20060615/P0615001.DAT: left out, some of its bytes could not be read "
            "when the disk was added\n");
  // The catalogue keeps the lost time with the file.
  ASSERT_EQ(run({"--catalog=" + (dir.path() / "archive.db").string(), "find", "--station=VELK",
                 "--format=json"}),
            0);
  EXPECT_NE(out.find("\"lost\""), std::string::npos) << out;

  // Checked again: still unreadable; once it reads, not what was recorded.
  EXPECT_EQ(run({"--catalog=" + (dir.path() / "archive.db").string(), "check", "d"}), 1);
  EXPECT_EQ(out,
            "unreadable 20060615/P0615001.DAT: bytes 4096..6143\n"
            "lost: station VELK, 2006-06-15T12:00:21 to 2006-06-15T12:00:51 "
            "(" +
                onHost("d/20060615/P0615001.DAT") +
                ")\n"
                "d: 2 files: 1 matched, 0 changed, 0 moved, 0 missing, 0 new, 1 unreadable\n");
  host.unreadable.clear();
  EXPECT_EQ(run({"--catalog=" + (dir.path() / "archive.db").string(), "check", "d"}), 1);
  EXPECT_EQ(out,
            "changed 20060615/P0615001.DAT\n"
            "d: 2 files: 1 matched, 1 changed, 0 moved, 0 missing, 0 new, 0 unreadable\n");
  // Added again, the same disk reads otherwise: kept as it was unless asked.
  EXPECT_EQ(run({"--catalog=" + (dir.path() / "archive.db").string(), "add", "d"}), 1);
  EXPECT_EQ(err,
            "cdarchive: d: the disk reads otherwise than when it was added on 2026-11-30T00:53:20 "
            "(cdarchive check tells how): not replaced; --replace records it as it reads now\n");
  EXPECT_EQ(run({"--catalog=" + (dir.path() / "archive.db").string(), "add", "--replace", "d"}), 0);
  EXPECT_EQ(run({"--catalog=" + (dir.path() / "archive.db").string(), "check", "d"}), 0);
}

// A directory that cannot be listed hides what it holds: the disk is not
// added, with or without fixity, and a check names the directory instead of
// calling every file below it missing.
TEST_F(ArchiveRunTest, ADirectoryThatCannotBeListedIsNamedAndTheDiskNotAdded) {
  testsupport::MemoryDisk host;
  const std::string bytes = datagen::DataFile().startingAt(1150372800).bytes();
  host.addDirectory(onHost("d/"), "20060615");
  host.addDirectory(onHost("d/"), "20060616");
  host.addDirectory(onHost("d/"), "notes");
  host.addFile(onHost("d/20060615/"), "P0615001.DAT", bytes);
  host.addFile(onHost("d/20060616/"), "P0616001.DAT", bytes);
  host.addFile(onHost("d/notes/"), "a.txt", "a");
  const std::string catalog = "--catalog=" + (dir.path() / "archive.db").string();
  const auto run = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), catalog);
    return runWith(
        [&](int argc, const char* const* argv, std::ostream& o, std::ostream& e) {
          return cdarchive::runArchive(argc, argv, host, o, e, kNow);
        },
        "cdarchive", std::move(arguments));
  };
  ASSERT_EQ(run({"add", "d"}), 0) << err;
  for (const char* unlisted : {"d/20060616/", "d/notes/", "d/"}) {
    host.unlistable = {onHost(unlisted)};
    for (const std::vector<std::string>& add : {std::vector<std::string>{"add", "--as=again", "d"},
                                                {"add", "--as=again", "--no-fixity", "d"}}) {
      // The walk lists no directory but the date directories: without fixity
      // notes/ is not read at all.
      const bool seen = unlisted != std::string("d/notes/") || add.size() == 3;
      EXPECT_EQ(run(add), seen ? 1 : 0) << unlisted;
      EXPECT_EQ(err, seen ? "cdarchive: again: directory " + onHost(unlisted) +
                                " cannot be listed\ncdarchive: again: not added, as what those "
                                "directories hold is unknown\n"
                          : "")
          << unlisted;
      if (!seen) {
        ASSERT_EQ(run({"remove", "again"}), 0);
      }
    }
    EXPECT_EQ(run({"check", "--as=d", "d"}), 1);
    const std::string shown =
        unlisted == std::string("d/") ? "./" : std::string(unlisted).substr(2);
    EXPECT_EQ(out.substr(0, out.find('\n') + 1),
              "unreadable " + shown + ": the directory cannot be listed\n")
        << out;
    EXPECT_EQ(out.find("missing "), std::string::npos) << out;
  }
  ASSERT_EQ(run({"disks"}), 0);
  EXPECT_EQ(out.find("again"), std::string::npos);
  host.unlistable = {onHost("d/20060616/")};
  EXPECT_EQ(
      runWith([&](int argc, const char* const* argv, std::ostream& o,
                  std::ostream& e) { return cdcoverage::runCoverage(argc, argv, host, o, e); },
              "cdcoverage", {"d"}),
      1);
  EXPECT_EQ(err, "cdcoverage: disk d: directory " + onHost("d/20060616/") +
                     " cannot be listed: what it holds is left out\n");
}

TEST_F(ArchiveRunTest, CheckAuditsADiskAgainstTheCatalogueOrAManifest) {
  ASSERT_EQ(archive({"add", disk.setting()}), 0) << err;
  ASSERT_EQ(archive({"check", disk.setting()}), 0) << err;
  EXPECT_EQ(out,
            label + ": 11 files: 11 matched, 0 changed, 0 moved, 0 missing, 0 new, 0 unreadable\n");
  // Each check is remembered: the disk's last proof and how it stands.
  const std::string proven = "|" + times::isoTime(kNow) + "|" + times::isoTime(kNow);
  ASSERT_EQ(archive({"disks", "--format=csv"}), 0);
  EXPECT_NE(out.find(proven + "|intact\r\n"), std::string::npos) << out;
  ASSERT_EQ(archive({"manifest", label}), 0);
  std::ofstream(dir.path() / "m.txt") << out;

  std::ofstream(disk.directory() / "20060615" / "P0615002.DAT", std::ios::app) << "x";
  std::filesystem::rename(disk.directory() / "20060616" / "P0616001.DAT",
                          disk.directory() / "20060616" / "MOVED.DAT");
  std::filesystem::remove(disk.directory() / "P0000001.DAT");
  std::ofstream(disk.directory() / "NEW.TXT") << "new";
  const std::string report =
      "changed 20060615/P0615002.DAT\n"
      "moved 20060616/MOVED.DAT (was 20060616/P0616001.DAT)\n"
      "new NEW.TXT\n"
      "missing P0000001.DAT\n" +
      label + ": 12 files: 8 matched, 1 changed, 1 moved, 1 missing, 1 new, 0 unreadable\n";
  EXPECT_EQ(archive({"check", disk.setting()}), 1);
  EXPECT_EQ(out, report);
  ASSERT_EQ(archive({"disks", "--format=csv"}), 0);
  EXPECT_NE(out.find(proven + "|damaged\r\n"), std::string::npos) << out;
  {
    const std::unique_ptr<catalog::Catalog> catalog =
        *catalog::openCatalog((dir.path() / "archive.db").string(), catalog::CatalogAccess::kRead);
    const std::optional<catalog::AuditRecord> audit =
        *catalog->latestAuditOf(label, catalog::DiskStream::kPermanent);
    ASSERT_TRUE(audit);
    EXPECT_EQ(audit->checked, kNow);
    EXPECT_EQ(audit->source, disk.setting());
    EXPECT_EQ(audit->matched, 8);
    std::string findings;
    for (const fixity::AuditEntry& entry : audit->findings)
      findings += std::string(fixity::auditStatusName(entry.status)) + " " + entry.path + "\n";
    EXPECT_EQ(findings,
              "changed 20060615/P0615002.DAT\nmoved 20060616/MOVED.DAT\nnew NEW.TXT\n"
              "missing P0000001.DAT\n");
  }
  // Without the catalogue: the manifest alone (no sizes), the same audit.
  EXPECT_EQ(archive({"--catalog=none.db", "check", "--manifest=m.txt", disk.setting()}), 1);
  EXPECT_EQ(out, report);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.db"));
  EXPECT_EQ(archive({"check", "--manifest=m.txt", "--format=json", disk.setting()}), 1);
  EXPECT_NE(out.find("\"from\": \"20060616/P0616001.DAT\""), std::string::npos) << out;
  EXPECT_NE(out.find("\"matched\": 8"), std::string::npos) << out;

  EXPECT_EQ(archive({"check", "--as=other", disk.setting()}), 1);
  EXPECT_EQ(err,
            "cdarchive: no disk other in the catalogue (--as names the label it was added "
            "under)\n");
  std::ofstream(dir.path() / "bad.txt") << "not a manifest\n";
  EXPECT_EQ(archive({"check", "--manifest=bad.txt", disk.setting()}), 1);
  EXPECT_EQ(err,
            "cdarchive: manifest bad.txt: line 1: it does not begin with a SHA-256 of 64 "
            "hex digits\n");
  EXPECT_EQ(archive({"check", disk.setting(), disk.setting()}), 2);
}

// The yearly audit: each disk checked, then the safety report says how many
// proven disks hold each second, what is lost on one disk and intact on
// another, and what to burn again.
TEST_F(ArchiveRunTest, SafetySaysHowManyProvenDisksHoldEachSecondAndWhatToBurnAgain) {
  const std::filesystem::path copy = dir.path() / "copy";
  std::filesystem::copy(disk.directory(), copy, std::filesystem::copy_options::recursive);
  ASSERT_EQ(archive({"add", "--as=a", disk.setting()}), 0) << err;
  ASSERT_EQ(archive({"add", "--as=b", "--no-fixity", copy.string()}), 0) << err;
  const std::string proven = "proven " + times::isoTime(kNow);
  // b is not proven yet: a alone holds every second.
  ASSERT_EQ(archive({"safety"}), 0) << err;
  EXPECT_EQ(out,
            "VELK 1: on no proven disk 0d 0h 0m 0s, on one 0d 0h 6m 0s, on two or more 0d 0h "
            "0m 0s\n"
            "re-burn: a (intact, " +
                proven + "), alone holds 0d 0h 6m 0s\n");
  ASSERT_EQ(archive({"check", "--as=b", copy.string()}), 0) << err;  // by a's digests
  ASSERT_EQ(archive({"safety"}), 0) << err;
  EXPECT_EQ(out,
            "VELK 1: on no proven disk 0d 0h 0m 0s, on one 0d 0h 0m 0s, on two or more 0d 0h "
            "6m 0s\n");

  std::fstream damaged(disk.directory() / "20060615" / "P0615001.DAT",
                       std::ios::in | std::ios::out | std::ios::binary);
  damaged.seekp(3000);
  damaged.put('X');
  damaged.close();
  ASSERT_EQ(archive({"check", "--as=a", disk.setting()}), 1);
  ASSERT_EQ(archive({"safety"}), 0) << err;
  EXPECT_EQ(out,
            "VELK 1: on no proven disk 0d 0h 0m 0s, on one 0d 0h 1m 0s, on two or more 0d 0h "
            "5m 0s\n"
            "VELK 1: lost on a 2006-06-15T12:00:01 .. 2006-06-15T12:01:01, intact on b\n"
            "re-burn: b (intact, " +
                proven + "), alone holds 0d 0h 1m 0s\n");
  ASSERT_EQ(
      archive({"safety", "--format=csv", "--from=2006-06-15T12:00:31", "--to=2006-06-15T12:00:41"}),
      0);
  EXPECT_EQ(out,
            "kind|station|stream|disk|from|to|none|one|more|seconds|intact_on|proven|state\r\n"
            "held|VELK|1||||0|10|0||||\r\n"
            "lost|VELK|1|a|2006-06-15T12:00:31|2006-06-15T12:00:41||||10|b||\r\n"
            "reburn|||b||||||10||" +
                times::isoTime(kNow) + "|intact\r\n");

  // With b gone, a minute is held by no proven disk: exit 1.
  ASSERT_EQ(archive({"remove", "b"}), 0) << err;
  EXPECT_EQ(archive({"safety"}), 1);
  EXPECT_NE(out.find("VELK 1: on no proven disk 0d 0h 1m 0s, on one 0d 0h 5m 0s"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find(" 2006-06-15T12:01:01, intact on no other disk\n"), std::string::npos);
  EXPECT_EQ(archive({"safety", "--station=NONE"}), 1);
  EXPECT_EQ(err, "cdarchive: no station NONE in the catalogue (stations: VELK)\n");
  EXPECT_EQ(archive({"safety", "--older-than=5x"}), 2);
}

}  // namespace
