#pragma once

// The catalogue's SQL, one text per statement, as docs/catalog-schema.sql
// describes the tables. Times are seconds since 1970: a file's start and end
// on the station's clock, a disk's "added" in UTC.

namespace catalog {

// kSchemaSteps[n] takes a catalogue from schema version n to n + 1.
inline constexpr const char* kSchemaSteps[] = {
    // 0 -> 1: the disks and their files.
    "CREATE TABLE disk ("
    "  id INTEGER PRIMARY KEY,"
    "  label TEXT NOT NULL UNIQUE,"
    "  source TEXT NOT NULL,"
    "  listing TEXT NOT NULL,"
    "  file_count INTEGER NOT NULL,"
    "  bytes INTEGER NOT NULL,"
    "  first_time INTEGER,"
    "  last_time INTEGER,"
    "  added INTEGER NOT NULL,"
    "  longest_file INTEGER NOT NULL);"
    "CREATE TABLE file ("
    "  disk_id INTEGER NOT NULL REFERENCES disk(id) ON DELETE CASCADE,"
    "  seq INTEGER NOT NULL,"
    "  path TEXT NOT NULL,"
    "  size INTEGER NOT NULL,"
    "  usable INTEGER NOT NULL,"
    "  station TEXT NOT NULL,"
    "  stream INTEGER NOT NULL,"
    "  frequency INTEGER NOT NULL,"
    "  latitude TEXT NOT NULL,"
    "  longitude TEXT NOT NULL,"
    "  altitude TEXT NOT NULL,"
    "  start_time INTEGER NOT NULL,"
    "  end_time INTEGER NOT NULL,"
    "  findings TEXT NOT NULL,"
    "  clock_warnings TEXT NOT NULL,"
    "  PRIMARY KEY (disk_id, seq)) WITHOUT ROWID;"
    "CREATE INDEX file_by_station_and_start"
    "  ON file (station, start_time, end_time, usable, stream, frequency);",
    // 1 -> 2: fixity; a disk added before has none.
    "ALTER TABLE disk ADD COLUMN manifest TEXT NOT NULL DEFAULT '';"
    "ALTER TABLE file ADD COLUMN lost TEXT NOT NULL DEFAULT '';"
    "CREATE TABLE held ("
    "  disk_id INTEGER NOT NULL REFERENCES disk(id) ON DELETE CASCADE,"
    "  seq INTEGER NOT NULL,"
    "  path TEXT NOT NULL,"
    "  size INTEGER NOT NULL,"
    "  sha256 TEXT NOT NULL,"
    "  unreadable TEXT NOT NULL,"
    "  PRIMARY KEY (disk_id, seq)) WITHOUT ROWID;",
    // 2 -> 3: a disk is its label and stream; where the label came from, and
    // its content, by which its copies are known (filled in by the program:
    // contentOf). The table is made anew, as SQLite cannot change a key; the
    // rows keep their ids, and so their files.
    "CREATE TABLE disk_3 ("
    "  id INTEGER PRIMARY KEY,"
    "  label TEXT NOT NULL,"
    "  stream TEXT NOT NULL,"
    "  label_source TEXT NOT NULL,"
    "  content TEXT NOT NULL,"
    "  source TEXT NOT NULL,"
    "  listing TEXT NOT NULL,"
    "  file_count INTEGER NOT NULL,"
    "  bytes INTEGER NOT NULL,"
    "  first_time INTEGER,"
    "  last_time INTEGER,"
    "  added INTEGER NOT NULL,"
    "  longest_file INTEGER NOT NULL,"
    "  manifest TEXT NOT NULL,"
    "  UNIQUE (label, stream));"
    "INSERT INTO disk_3 SELECT id, label, 'permanent', '', '', source, listing, file_count, bytes,"
    "  first_time, last_time, added, longest_file, manifest FROM disk;"
    "DROP TABLE disk;"
    "ALTER TABLE disk_3 RENAME TO disk;"
    "CREATE INDEX disk_by_content ON disk (content);",
    // 3 -> 4: what each disk holds of each station's stream, with its
    // disk's stream, when it was added and whether it counts (is no copy); and
    // the union of the time every station's stream holds, kept as disks come
    // and go (kept_spans.h; filled in by the program). The longest file is indexed,
    // as every window reads its greatest.
    "CREATE TABLE source_on_disk ("
    "  disk_id INTEGER NOT NULL REFERENCES disk(id) ON DELETE CASCADE,"
    "  station TEXT NOT NULL,"
    "  stream INTEGER NOT NULL,"
    "  disk_stream TEXT NOT NULL,"
    "  counted INTEGER NOT NULL,"
    "  added INTEGER NOT NULL,"
    "  frequency INTEGER NOT NULL,"
    "  first_time INTEGER NOT NULL,"
    "  last_time INTEGER NOT NULL,"
    "  PRIMARY KEY (disk_id, station, stream)) WITHOUT ROWID;"
    "CREATE INDEX source_on_disk_counted ON source_on_disk"
    "  (disk_stream, counted, station, stream, first_time, last_time, frequency, added);"
    "CREATE TABLE kept_span ("
    "  disk_stream TEXT NOT NULL,"
    "  station TEXT NOT NULL,"
    "  stream INTEGER NOT NULL,"
    "  start_time INTEGER NOT NULL,"
    "  end_time INTEGER NOT NULL,"
    "  PRIMARY KEY (disk_stream, station, stream, start_time)) WITHOUT ROWID;"
    "CREATE INDEX kept_span_by_end ON kept_span (disk_stream, station, stream, end_time);"
    "CREATE INDEX disk_by_longest_file ON disk (longest_file);",
    // 4 -> 5: whether each disk's fixity was taken with every byte read (its
    // addition's proof), and every check of a disk against the catalogue:
    // when, what was read, how many files matched, each file that did not (its
    // status, path, a moved file's recorded path, the ranges of bytes that
    // could not be read; opened and directory as fixity::AuditEntry has them),
    // and the time lost.
    "ALTER TABLE disk ADD COLUMN read_whole INTEGER NOT NULL DEFAULT 0;"
    "UPDATE disk SET read_whole = manifest <> '' AND NOT EXISTS (SELECT 1 FROM held h"
    "  WHERE h.disk_id = disk.id AND h.sha256 = '');"
    "CREATE TABLE audit ("
    "  id INTEGER PRIMARY KEY,"
    "  disk_id INTEGER NOT NULL REFERENCES disk(id) ON DELETE CASCADE,"
    "  checked INTEGER NOT NULL,"
    "  source TEXT NOT NULL,"
    "  matched INTEGER NOT NULL,"
    "  clean INTEGER NOT NULL);"
    "CREATE INDEX audit_by_disk ON audit (disk_id, checked);"
    "CREATE TABLE audit_finding ("
    "  audit_id INTEGER NOT NULL REFERENCES audit(id) ON DELETE CASCADE,"
    "  seq INTEGER NOT NULL,"
    "  status TEXT NOT NULL,"
    "  path TEXT NOT NULL,"
    "  moved_from TEXT NOT NULL,"
    "  unreadable TEXT NOT NULL,"
    "  opened INTEGER NOT NULL,"
    "  directory INTEGER NOT NULL,"
    "  PRIMARY KEY (audit_id, seq)) WITHOUT ROWID;"
    "CREATE TABLE audit_lost ("
    "  audit_id INTEGER NOT NULL REFERENCES audit(id) ON DELETE CASCADE,"
    "  seq INTEGER NOT NULL,"
    "  station TEXT NOT NULL,"
    "  path TEXT NOT NULL,"
    "  start_time INTEGER NOT NULL,"
    "  end_time INTEGER NOT NULL,"
    "  PRIMARY KEY (audit_id, seq)) WITHOUT ROWID;",
};

inline constexpr const char* kInsertDisk =
    "INSERT INTO disk (label, source, listing, file_count, bytes, first_time, last_time, added,"
    " longest_file, manifest, stream, label_source, content, read_whole)"
    " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)";

// The disks whose content a catalogue of an earlier schema has not kept yet.
inline constexpr const char* kSelectWithoutContent =
    "SELECT id, source FROM disk WHERE content = ''";
inline constexpr const char* kUpdateContent = "UPDATE disk SET content = ?2 WHERE id = ?1";

// The rows of a disk's files and fixity go in many to a statement: each names
// its table and columns, to be followed by that many values a row.
inline constexpr const char* kInsertFiles =
    "INSERT INTO file (disk_id, seq, path, size, usable, station, stream, frequency, latitude,"
    " longitude, altitude, start_time, end_time, findings, clock_warnings, lost) VALUES ";
inline constexpr int kFileColumns = 16;

inline constexpr const char* kInsertHeld =
    "INSERT INTO held (disk_id, seq, path, size, sha256, unreadable) VALUES ";
inline constexpr int kHeldColumns = 6;

// The columns of a disk entry, first in every query that gives one.
inline constexpr int kDiskColumns = 10;
#define CDARCHIVE_DISK_COLUMNS                                                     \
  "d.label, d.source, d.file_count, d.bytes, d.first_time, d.last_time, d.added, " \
  "d.stream, d.label_source, d.content"
#define CDARCHIVE_FILE_COLUMNS                                                            \
  "f.path, f.size, f.usable, f.station, f.stream, f.frequency, f.latitude, f.longitude, " \
  "f.altitude, f.start_time, f.end_time, f.findings, f.clock_warnings, f.lost"

// Every disk with its proofs after its entry: whether its fixity was taken,
// and with every byte read; when the last check that matched every file ran;
// when the latest check ran and whether it matched every file.
inline constexpr const char* kSelectDisks =
    "SELECT " CDARCHIVE_DISK_COLUMNS
    ", d.manifest <> '', d.read_whole,"
    " (SELECT max(a.checked) FROM audit a WHERE a.disk_id = d.id AND a.clean),"
    " l.checked, l.clean FROM disk d LEFT JOIN audit l ON l.id = (SELECT a.id FROM audit a"
    " WHERE a.disk_id = d.id ORDER BY a.checked DESC, a.id DESC LIMIT 1)";
inline constexpr const char* kInsertAudit =
    "INSERT INTO audit (disk_id, checked, source, matched, clean) VALUES (?1, ?2, ?3, ?4, ?5)";
inline constexpr const char* kInsertAuditFindings =
    "INSERT INTO audit_finding (audit_id, seq, status, path, moved_from, unreadable, opened,"
    " directory) VALUES ";
inline constexpr int kAuditFindingColumns = 8;
inline constexpr const char* kInsertAuditLost =
    "INSERT INTO audit_lost (audit_id, seq, station, path, start_time, end_time) VALUES ";
inline constexpr int kAuditLostColumns = 6;
// The latest check of a disk, its findings and its time lost.
inline constexpr const char* kSelectLatestAudit =
    "SELECT a.id, a.checked, a.source, a.matched FROM audit a JOIN disk d ON d.id = a.disk_id"
    " WHERE d.label = ?1 AND d.stream = ?2 ORDER BY a.checked DESC, a.id DESC LIMIT 1";
inline constexpr const char* kSelectAuditFindings =
    "SELECT status, path, moved_from, unreadable, opened, directory FROM audit_finding"
    " WHERE audit_id = ?1 ORDER BY seq";
inline constexpr const char* kSelectAuditLost =
    "SELECT station, path, start_time, end_time FROM audit_lost WHERE audit_id = ?1 ORDER BY seq";
inline constexpr const char* kSelectDisksHolding =
    "SELECT " CDARCHIVE_DISK_COLUMNS " FROM disk d WHERE d.content = ?1 AND d.stream = ?2";
inline constexpr const char* kSelectDiskFixity = "SELECT " CDARCHIVE_DISK_COLUMNS
                                                 ", d.manifest, d.id FROM disk d"
                                                 " WHERE d.label = ?1 AND d.stream = ?2";
inline constexpr const char* kSelectDiskFiles =
    "SELECT " CDARCHIVE_FILE_COLUMNS " FROM file f WHERE f.disk_id = ?1 ORDER BY f.seq";
inline constexpr const char* kSelectHeld =
    "SELECT path, size, sha256, unreadable FROM held WHERE disk_id = ?1 ORDER BY seq";

// A file meets the window when it starts before the window's end and ends
// after its start; it cannot start earlier than the longest file before the
// window's start, which bounds the index range read.
#define CDARCHIVE_IN_WINDOW                                                       \
  " f.usable AND f.start_time < ?3 AND f.end_time > ?2 AND f.start_time >= ?2 - " \
  "(SELECT coalesce(max(longest_file), 0) FROM disk)"

// Files with their disks, of the disks of one stream (?4).
#define CDARCHIVE_DISK_FILES                                   \
  "SELECT " CDARCHIVE_DISK_COLUMNS ", " CDARCHIVE_FILE_COLUMNS \
  " FROM file f JOIN disk d ON d.id = f.disk_id WHERE d.stream = ?4"
#define CDARCHIVE_DISK_FILES_ORDER " ORDER BY d.label, f.seq"

inline constexpr const char* kStationFilesInWindow =
    CDARCHIVE_DISK_FILES " AND f.station = ?1 AND" CDARCHIVE_IN_WINDOW CDARCHIVE_DISK_FILES_ORDER;
inline constexpr const char* kFilesInWindow =
    CDARCHIVE_DISK_FILES " AND" CDARCHIVE_IN_WINDOW CDARCHIVE_DISK_FILES_ORDER;
inline constexpr const char* kStationFiles =
    CDARCHIVE_DISK_FILES " AND f.station = ?1" CDARCHIVE_DISK_FILES_ORDER;
inline constexpr const char* kAllFiles = CDARCHIVE_DISK_FILES CDARCHIVE_DISK_FILES_ORDER;
#undef CDARCHIVE_DISK_FILES
#undef CDARCHIVE_DISK_FILES_ORDER

// What a disk holds of each source, and the kept spans (kept_spans.h), in
// SQL both stores take (PostgreSQL with $n for ?n). ?1 the disks' stream, ?2
// the station, ?3 the stream; ?4 and ?5 a span that the spans given touch.
inline constexpr const char* kInsertSourceOnDisk =
    "INSERT INTO source_on_disk (disk_id, station, stream, disk_stream, counted, added, frequency,"
    " first_time, last_time) VALUES (?1, ?2, ?3, ?4, TRUE, ?5, ?6, ?7, ?8)";
#define CDARCHIVE_SOURCES "SELECT s.station, s.stream, s.frequency, s.first_time, s.last_time"
inline constexpr const char* kSelectDiskSources =
    CDARCHIVE_SOURCES " FROM source_on_disk s WHERE s.disk_id = ?1";
// The sources on the disks of the stream ?1 that count, with when each disk
// was added, by station, stream and first time; of the station ?2 alone
// where one is given.
#define CDARCHIVE_COUNTED_SOURCES                                             \
  CDARCHIVE_SOURCES                                                           \
  ", s.added FROM source_on_disk s WHERE s.disk_stream = ?1 AND s.counted = " \
  "TRUE"
#define CDARCHIVE_SOURCES_ORDER " ORDER BY s.station, s.stream, s.first_time"
inline constexpr const char* kSelectCountedSources =
    CDARCHIVE_COUNTED_SOURCES CDARCHIVE_SOURCES_ORDER;
inline constexpr const char* kSelectCountedStationSources =
    CDARCHIVE_COUNTED_SOURCES " AND s.station = ?2" CDARCHIVE_SOURCES_ORDER;
#undef CDARCHIVE_SOURCES
#undef CDARCHIVE_COUNTED_SOURCES
#undef CDARCHIVE_SOURCES_ORDER
// Which disks count: those that copy no other, as linkCopies has it (a copy
// is a disk of the content and stream of one added before it, or as early and
// of a smaller label). Of the disks of the content ?1, or of all.
#define CDARCHIVE_RECOUNT                                                                  \
  "UPDATE source_on_disk SET counted = NOT EXISTS (SELECT 1 FROM disk d JOIN disk o"       \
  " ON o.content = d.content AND o.stream = d.stream AND (o.added < d.added OR (o.added =" \
  " d.added AND o.label < d.label)) WHERE d.id = source_on_disk.disk_id AND d.content <> '')"
inline constexpr const char* kRecountContent =
    CDARCHIVE_RECOUNT " WHERE disk_id IN (SELECT id FROM disk WHERE content = ?1)";
inline constexpr const char* kRecountAll = CDARCHIVE_RECOUNT;
#undef CDARCHIVE_RECOUNT
// Kept spans do not overlap, so those that touch a span are those from the
// first that ends at or after its start (when none does, none touches: one
// that starts at its end would end after its start).
#define CDARCHIVE_KEPT " FROM kept_span WHERE disk_stream = ?1 AND station = ?2 AND stream = ?3"
inline constexpr const char* kSelectKeptTouching =
    "SELECT start_time, end_time" CDARCHIVE_KEPT
    " AND start_time <= ?5 AND start_time >= coalesce((SELECT start_time" CDARCHIVE_KEPT
    " AND end_time >= ?4 ORDER BY end_time LIMIT 1), ?5) ORDER BY start_time";
// A window's kept spans, in a few rows read: those that meet it (?4 to ?5),
// the first that ends after its start, and the last that starts before its
// end.
inline constexpr const char* kCountKeptMeeting =
    "SELECT count(*)" CDARCHIVE_KEPT " AND start_time < ?5 AND end_time > ?4";
inline constexpr const char* kSelectKeptAtEnds =
    "SELECT * FROM (SELECT start_time, end_time" CDARCHIVE_KEPT
    " AND end_time > ?4 ORDER BY end_time LIMIT 1) AS first UNION ALL"
    " SELECT * FROM (SELECT start_time, end_time" CDARCHIVE_KEPT
    " AND start_time < ?5 ORDER BY start_time DESC LIMIT 1) AS last";
inline constexpr const char* kDeleteKept = "DELETE" CDARCHIVE_KEPT " AND start_time = ?4";
#undef CDARCHIVE_KEPT
inline constexpr const char* kInsertKept =
    "INSERT INTO kept_span (disk_stream, station, stream, start_time, end_time)"
    " VALUES (?1, ?2, ?3, ?4, ?5)";
// The records of a source's usable files that touch a span, on every disk of
// the stream.
inline constexpr const char* kSelectFilesTouching =
    "SELECT f.start_time, f.end_time FROM file f JOIN disk d ON d.id = f.disk_id"
    " WHERE d.stream = ?1 AND f.station = ?2 AND f.stream = ?3 AND f.usable"
    " AND f.start_time <= ?5 AND f.end_time >= ?4"
    " AND f.start_time >= ?4 - (SELECT coalesce(max(longest_file), 0) FROM disk)";
inline constexpr const char* kSelectAllDisks = "SELECT id, stream, added FROM disk ORDER BY id";
inline constexpr const char* kSelectStations =
    "SELECT DISTINCT station FROM source_on_disk ORDER BY station";

#undef CDARCHIVE_DISK_COLUMNS
#undef CDARCHIVE_FILE_COLUMNS
#undef CDARCHIVE_IN_WINDOW

}  // namespace catalog
