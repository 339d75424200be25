#include "catalog/sqlite_catalog.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>
#include <utility>

#include "catalog/catalog_schema.h"
#include "catalog/disk_identity.h"
#include "catalog/kept_spans.h"
#include "catalog/text_list.h"

namespace catalog {

namespace {

// Rows a statement inserts at once: 512 parameters at most, within the 999
// that any SQLite allows.
constexpr std::size_t kRowsPerInsert = 32;

// How long a process waits for another's write before it gives up.
constexpr int kBusyTimeoutMilliseconds = 10 * 60 * 1000;

// One prepared statement; its parameters are bound, never spliced into SQL.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql, const std::string& where) : db_(db), where_(where) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) fail();
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // The text is bound where it lies, not copied: it must stay unchanged until
  // the statement has been stepped (so no temporary binds).
  Statement& bind(int index, const std::string& text) {
    check(sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                            SQLITE_STATIC));
    return *this;
  }
  Statement& bind(int index, std::string&& text) = delete;
  // A C string is copied.
  Statement& bind(int index, const char* text) {
    check(sqlite3_bind_text(statement_, index, text, -1, SQLITE_TRANSIENT));
    return *this;
  }
  Statement& bind(int index, int64_t number) {
    check(sqlite3_bind_int64(statement_, index, number));
    return *this;
  }
  Statement& bind(int index, const std::optional<int64_t>& number) {
    check(number ? sqlite3_bind_int64(statement_, index, *number)
                 : sqlite3_bind_null(statement_, index));
    return *this;
  }
  // Steps once: true while it gives a row.
  bool step() {
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    if (result != SQLITE_DONE) fail();
    return false;
  }
  // Steps to the end, then resets, ready for new values bound in place of
  // every parameter.
  void run() {
    while (step()) {
    }
    reset();
  }
  // Ready to run again, once stepped to the end.
  void reset() { sqlite3_reset(statement_); }
  int64_t number(int column) const { return sqlite3_column_int64(statement_, column); }
  std::optional<int64_t> optionalNumber(int column) const {
    if (sqlite3_column_type(statement_, column) == SQLITE_NULL) return std::nullopt;
    return number(column);
  }
  std::string text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_blob(statement_, column));
    return bytes == nullptr
               ? std::string()
               : std::string(bytes,
                             static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
  }

 private:
  void check(int result) {
    if (result != SQLITE_OK) fail();
  }
  [[noreturn]] void fail() {
    throw CatalogError("catalogue " + where_ + ": " + sqlite3_errmsg(db_));
  }

  sqlite3* db_;
  const std::string& where_;
  sqlite3_stmt* statement_ = nullptr;
};

// Asks SQLite's own file layer what the host allows of path.
bool hostAllows(const std::string& path, int what) {
  sqlite3_vfs* const vfs = sqlite3_vfs_find(nullptr);
  int allowed = 0;
  return vfs != nullptr && vfs->xAccess(vfs, path.c_str(), what, &allowed) == SQLITE_OK &&
         allowed != 0;
}

// The folder that holds path, as a path of its own.
std::string folderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// How a catalogue is opened for access: read-write where this user may write it
// and the folder beside it (its write-ahead log lives there), else read-only;
// read-only without a write-ahead log beside it, as it stands (SQLite's
// immutable: no lock taken, no file made).
struct OpenMode {
  std::string name;  // the path, or a file: URI
  int flags = 0;
  bool readOnly = false;
};

OpenMode openModeOf(const std::string& path, CatalogAccess access) {
  if (access != CatalogAccess::kRead || (hostAllows(path, SQLITE_ACCESS_READWRITE) &&
                                         hostAllows(folderOf(path), SQLITE_ACCESS_READWRITE))) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (access == CatalogAccess::kCreate) flags |= SQLITE_OPEN_CREATE;
    return {path, flags, false};
  }
  // An absolute path after an empty authority: "//x" must not name a host x.
  std::string uri = !path.empty() && path.front() == '/' ? "file://" : "file:";
  for (const char c : path) {  // a path's '?', '#' and '%' are not the URI's
    if (c == '?' || c == '#' || c == '%') {
      static const char kHex[] = "0123456789ABCDEF";
      uri += {'%', kHex[(c >> 4) & 15], kHex[c & 15]};
    } else {
      uri += c;
    }
  }
  uri += hostAllows(path + "-wal", SQLITE_ACCESS_EXISTS) ? "?mode=ro" : "?immutable=1";
  return {uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, true};
}

class SqliteCatalog : public Catalog {
 public:
  SqliteCatalog(const std::string& path, CatalogAccess access) : where_(path) {
    const OpenMode mode = openModeOf(path, access);
    readOnly_ = mode.readOnly;
    if (sqlite3_open_v2(mode.name.c_str(), &db_, mode.flags, nullptr) != SQLITE_OK) {
      const std::string reason = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw CatalogError("catalogue " + path + " cannot be opened: " + reason);
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMilliseconds);
    try {
      bringUpToDate();
    } catch (...) {
      sqlite3_close(db_);
      throw;
    }
  }
  ~SqliteCatalog() override { sqlite3_close(db_); }

  void storeDisk(const CataloguedDisk& disk) override {
    Transaction transaction(*this);
    const std::string stream = streamName(disk.entry.stream);
    const std::string labelSource = labelSourceName(disk.entry.labelSource);
    const std::vector<SourceOnDisk> before = removed(disk.entry.label, disk.entry.stream);
    int64_t longest = 0;
    for (const CataloguedFile& file : disk.files)
      longest = std::max(longest, file.record.end - file.record.start);
    Statement insertDisk(db_, kInsertDisk, where_);
    insertDisk.bind(1, disk.entry.label)
        .bind(2, disk.entry.source)
        .bind(3, disk.listing)
        .bind(4, disk.entry.files)
        .bind(5, disk.entry.bytes)
        .bind(6, disk.entry.first)
        .bind(7, disk.entry.last)
        .bind(8, disk.entry.added)
        .bind(9, longest)
        .bind(10, disk.manifest)
        .bind(11, stream)
        .bind(12, labelSource)
        .bind(13, disk.entry.content)
        .bind(14, int64_t{readWhole(disk)})
        .run();
    const int64_t diskId = sqlite3_last_insert_rowid(db_);
    // The texts made for a group's rows, alive until its statement has run.
    std::vector<std::array<std::string, 3>> made(kRowsPerInsert);
    insertRows(kInsertFiles, kFileColumns, disk.files.size(),
               [&](Statement& insert, int first, std::size_t i) {
                 const CataloguedFile& file = disk.files[i];
                 const survey::FileRecord& record = file.record;
                 std::array<std::string, 3>& texts = made[i % kRowsPerInsert];
                 texts = {joinedList(file.findings, ','), joinedList(record.clockWarnings, '\n'),
                          spansText(file.lost)};
                 insert.bind(first, diskId)
                     .bind(first + 1, static_cast<int64_t>(i))
                     .bind(first + 2, record.path)
                     .bind(first + 3, file.size)
                     .bind(first + 4, int64_t{record.usable})
                     .bind(first + 5, record.station)
                     .bind(first + 6, int64_t{file.stream})
                     .bind(first + 7, int64_t{record.frequency})
                     .bind(first + 8, record.latitude)
                     .bind(first + 9, record.longitude)
                     .bind(first + 10, record.altitude)
                     .bind(first + 11, record.start)
                     .bind(first + 12, record.end)
                     .bind(first + 13, texts[0])
                     .bind(first + 14, texts[1])
                     .bind(first + 15, texts[2]);
               });
    insertRows(kInsertHeld, kHeldColumns, disk.held.size(),
               [&](Statement& insert, int first, std::size_t i) {
                 const fixity::FileFixity& held = disk.held[i];
                 std::string& unreadable = made[i % kRowsPerInsert][0];
                 unreadable = rangesText(held.unreadable);
                 insert.bind(first, diskId)
                     .bind(first + 1, static_cast<int64_t>(i))
                     .bind(first + 2, held.path)
                     .bind(first + 3, held.size)
                     .bind(first + 4, held.sha256)
                     .bind(first + 5, unreadable);
               });
    const std::vector<SourceOnDisk> after = sourcesOnDisk(disk.files);
    insertSources(diskId, disk.entry.stream, disk.entry.added, after);
    recount(disk.entry.content);
    KeptSpans kept(*this);
    keepSpans(disk.entry.stream, before, after, kept);
    transaction.commit();
  }

  bool deleteDisk(const std::string& label, DiskStream stream) override {
    Transaction transaction(*this);
    std::optional<int64_t> id;
    const std::vector<SourceOnDisk> before = removed(label, stream, &id);
    KeptSpans kept(*this);
    keepSpans(stream, before, {}, kept);
    transaction.commit();
    return id.has_value();
  }

  bool storeAudit(const std::string& label, DiskStream stream, const AuditRecord& audit) override {
    Transaction transaction(*this);
    Statement find(db_, "SELECT id FROM disk WHERE label = ?1 AND stream = ?2", where_);
    find.bind(1, label).bind(2, streamName(stream));
    if (!find.step()) return false;
    Statement insert(db_, kInsertAudit, where_);
    insert.bind(1, find.number(0)).bind(2, audit.checked).bind(3, audit.source);
    insert.bind(4, audit.matched).bind(5, int64_t{audit.clean()}).run();
    const int64_t auditId = sqlite3_last_insert_rowid(db_);
    std::vector<std::string> ranges(kRowsPerInsert);  // alive until a group has run
    insertRows(kInsertAuditFindings, kAuditFindingColumns, audit.findings.size(),
               [&](Statement& row, int first, std::size_t i) {
                 const fixity::AuditEntry& entry = audit.findings[i];
                 std::string& unreadable = ranges[i % kRowsPerInsert];
                 unreadable = rangesText(entry.unreadable);
                 row.bind(first, auditId)
                     .bind(first + 1, static_cast<int64_t>(i))
                     .bind(first + 2, fixity::auditStatusName(entry.status))
                     .bind(first + 3, entry.path)
                     .bind(first + 4, entry.from)
                     .bind(first + 5, unreadable)
                     .bind(first + 6, int64_t{entry.opened})
                     .bind(first + 7, int64_t{entry.directory});
               });
    insertRows(kInsertAuditLost, kAuditLostColumns, audit.lost.size(),
               [&](Statement& row, int first, std::size_t i) {
                 const LostTime& lost = audit.lost[i];
                 row.bind(first, auditId)
                     .bind(first + 1, static_cast<int64_t>(i))
                     .bind(first + 2, lost.station)
                     .bind(first + 3, lost.path)
                     .bind(first + 4, lost.span.start)
                     .bind(first + 5, lost.span.end);
               });
    transaction.commit();
    return true;
  }

  std::optional<AuditRecord> latestAudit(const std::string& label, DiskStream stream) override {
    Statement query(db_, kSelectLatestAudit, where_);
    query.bind(1, label).bind(2, streamName(stream));
    if (!query.step()) return std::nullopt;
    AuditRecord audit{query.number(1), query.text(2), query.number(3), {}, {}};
    Statement findings(db_, kSelectAuditFindings, where_);
    findings.bind(1, query.number(0));
    while (findings.step()) {
      audit.findings.push_back(fixity::AuditEntry{
          fixity::auditStatusNamed(findings.text(0)), findings.text(1), findings.text(2),
          rangesOf(findings.text(3)), findings.number(4) != 0, findings.number(5) != 0});
    }
    Statement lost(db_, kSelectAuditLost, where_);
    lost.bind(1, query.number(0));
    while (lost.step()) {
      audit.lost.push_back(
          LostTime{lost.text(0), lost.text(1), times::TimeSpan{lost.number(2), lost.number(3)}});
    }
    return audit;
  }

  std::vector<DiskEntry> allDisks() override {
    std::vector<DiskEntry> list;
    Statement query(db_, kSelectDisks, where_);
    while (query.step()) {
      list.push_back(entryAt(query, 0));
      setProof(
          list.back(),
          ProofFacts{list.back().added, query.number(kDiskColumns) != 0,
                     query.number(kDiskColumns + 1) != 0, query.optionalNumber(kDiskColumns + 2),
                     query.optionalNumber(kDiskColumns + 3), query.number(kDiskColumns + 4) != 0});
    }
    return orderedWithCopies(std::move(list));
  }

  std::vector<DiskEntry> disksOfContent(const std::string& content, DiskStream stream) override {
    std::vector<DiskEntry> list;
    if (content.empty()) return list;
    const std::string name = streamName(stream);
    Statement query(db_, kSelectDisksHolding, where_);
    query.bind(1, content).bind(2, name);
    while (query.step()) list.push_back(entryAt(query, 0));
    return orderedWithCopies(std::move(list));
  }

  std::vector<std::string> allStations() override {
    std::vector<std::string> list;
    Statement query(db_, kSelectStations, where_);
    while (query.step()) list.push_back(query.text(0));
    return list;
  }

  std::vector<KeptSource> sourcesMeeting(const std::string& station, times::TimeSpan window,
                                         DiskStream stream, SpanDetail detail) override {
    Statement sources(db_, station.empty() ? kSelectCountedSources : kSelectCountedStationSources,
                      where_);
    const std::string name = streamName(stream);
    sources.bind(1, name);
    if (!station.empty()) sources.bind(2, station);
    std::vector<CountedSource> rows;
    while (sources.step()) rows.push_back(CountedSource{sourceAt(sources), sources.number(5)});
    KeptSpans kept(*this);
    return keptSourcesOf(rows, stream, window, detail, kept);
  }

  std::optional<CataloguedDisk> diskWithFixity(const std::string& label,
                                               DiskStream stream) override {
    const std::string name = streamName(stream);
    Statement query(db_, kSelectDiskFixity, where_);
    query.bind(1, label).bind(2, name);
    if (!query.step()) return std::nullopt;
    CataloguedDisk disk{entryAt(query, 0), {}, {}, query.text(kDiskColumns), {}};
    Statement files(db_, kSelectDiskFiles, where_);
    files.bind(1, query.number(kDiskColumns + 1));
    while (files.step()) disk.files.push_back(fileAt(files, 0));
    Statement held(db_, kSelectHeld, where_);
    held.bind(1, query.number(kDiskColumns + 1));
    while (held.step()) {
      disk.held.push_back(
          fixity::FileFixity{held.text(0), held.number(1), held.text(2), rangesOf(held.text(3))});
    }
    return disk;
  }

  std::vector<CataloguedDisk> filesMeeting(const std::string& station,
                                           const std::optional<times::TimeSpan>& window,
                                           DiskStream stream) override {
    const char* sql = window ? (station.empty() ? kFilesInWindow : kStationFilesInWindow)
                             : (station.empty() ? kAllFiles : kStationFiles);
    const std::string name = streamName(stream);
    Statement query(db_, sql, where_);
    if (!station.empty()) query.bind(1, station);
    if (window) query.bind(2, window->start).bind(3, window->end);
    query.bind(4, name);
    std::vector<CataloguedDisk> found;
    while (query.step()) {
      const DiskEntry entry = entryAt(query, 0);
      if (found.empty() || found.back().entry.label != entry.label)
        found.push_back(CataloguedDisk{entry, {}, {}, {}, {}});
      CataloguedFile file = fileAt(query, kDiskColumns);
      found.back().files.push_back(std::move(file));
    }
    linkCopies(found);
    return found;
  }

 private:
  // A write transaction, taken at once so that writers queue on the busy
  // timeout; rolled back unless committed.
  class Transaction {
   public:
    explicit Transaction(SqliteCatalog& catalog) : catalog_(catalog) {
      catalog_.execute("BEGIN IMMEDIATE");
    }
    ~Transaction() {
      if (!committed_) sqlite3_exec(catalog_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void commit() {
      catalog_.execute("COMMIT");
      committed_ = true;
    }

   private:
    SqliteCatalog& catalog_;
    bool committed_ = false;
  };

  // The kept spans of the catalogue's tables, as keepSpans changes them.
  class KeptSpans : public KeptSpanTable {
   public:
    explicit KeptSpans(SqliteCatalog& catalog)
        : catalog_(catalog),
          count_(catalog.db_, kCountKeptMeeting, catalog.where_),
          delete_(catalog.db_, kDeleteKept, catalog.where_),
          insert_(catalog.db_, kInsertKept, catalog.where_) {}

    std::vector<times::TimeSpan> spansOf(SpanQuery query, const SourceKey& key,
                                         times::TimeSpan span) override {
      std::optional<Statement>& statement = queries_[static_cast<std::size_t>(query)];
      if (!statement) statement.emplace(catalog_.db_, sqlOf(query), catalog_.where_);
      bindKey(*statement, key, span);
      std::vector<times::TimeSpan> found;
      while (statement->step()) found.push_back({statement->number(0), statement->number(1)});
      statement->reset();
      return found;
    }
    int64_t keptCount(const SourceKey& key, times::TimeSpan window) override {
      bindKey(count_, key, window);
      const int64_t count = count_.step() ? count_.number(0) : 0;
      count_.reset();
      return count;
    }
    void replaceKept(const SourceKey& key, const std::vector<times::TimeSpan>& were,
                     const std::vector<times::TimeSpan>& are) override {
      const std::string stream = streamName(key.diskStream);
      for (const times::TimeSpan& span : were) {
        delete_.bind(1, stream).bind(2, key.station).bind(3, int64_t{key.stream});
        delete_.bind(4, span.start).run();
      }
      for (const times::TimeSpan& span : are) {
        insert_.bind(1, stream).bind(2, key.station).bind(3, int64_t{key.stream});
        insert_.bind(4, span.start).bind(5, span.end).run();
      }
    }

   private:
    // Binds key to ?1 to ?3 and span to ?4 and ?5.
    static void bindKey(Statement& query, const SourceKey& key, times::TimeSpan span) {
      query.bind(1, streamName(key.diskStream)).bind(2, key.station);
      query.bind(3, int64_t{key.stream}).bind(4, span.start).bind(5, span.end);
    }

    SqliteCatalog& catalog_;
    std::optional<Statement> queries_[3];  // by SpanQuery, prepared when first asked
    Statement count_, delete_, insert_;
  };

  // Removes the disk of label and stream, if there is one (its id in *id),
  // and gives what it held of each source.
  std::vector<SourceOnDisk> removed(const std::string& label, DiskStream stream,
                                    std::optional<int64_t>* id = nullptr) {
    const std::string name = streamName(stream);
    Statement find(db_, "SELECT id, content FROM disk WHERE label = ?1 AND stream = ?2", where_);
    find.bind(1, label).bind(2, name);
    if (!find.step()) return {};
    const int64_t diskId = find.number(0);
    const std::string content = find.text(1);
    if (id != nullptr) *id = diskId;
    std::vector<SourceOnDisk> sources;
    Statement held(db_, kSelectDiskSources, where_);
    held.bind(1, diskId);
    while (held.step()) sources.push_back(sourceAt(held));
    Statement remove(db_, "DELETE FROM disk WHERE id = ?1", where_);
    remove.bind(1, diskId).run();
    recount(content);
    return sources;
  }

  // Keeps what the disk of that id (of stream, added then) holds of each
  // source, counted until recount says otherwise.
  void insertSources(int64_t diskId, DiskStream stream, int64_t added,
                     const std::vector<SourceOnDisk>& sources) {
    Statement insert(db_, kInsertSourceOnDisk, where_);
    for (const SourceOnDisk& source : sources) {
      insert.bind(1, diskId).bind(2, source.station).bind(3, int64_t{source.stream});
      insert.bind(4, streamName(stream)).bind(5, added).bind(6, int64_t{source.frequency});
      insert.bind(7, source.first).bind(8, source.last).run();
    }
  }

  // Settles which disks of content count, once one has come or gone.
  void recount(const std::string& content) {
    if (content.empty()) return;  // no disk of no data file copies another
    Statement update(db_, kRecountContent, where_);
    update.bind(1, content).run();
  }

  // The source of a row of kSelectDiskSources or kSelectCountedSources.
  static SourceOnDisk sourceAt(const Statement& query) {
    return SourceOnDisk{query.text(0), static_cast<int32_t>(query.number(1)),
                        static_cast<int32_t>(query.number(2)), query.number(3), query.number(4)};
  }

  // Inserts that many rows through insert ("INSERT INTO t (its columns)
  // VALUES "), kRowsPerInsert to a statement, so that a statement's own cost
  // is paid once a group. bindRow(statement, first, row) binds the row's
  // columns from parameter first on; its texts must last until the group has
  // run.
  template <typename BindRow>
  void insertRows(const char* insert, int columns, std::size_t rows, BindRow bindRow) {
    std::optional<Statement> group[2];  // of kRowsPerInsert rows, and of the rest
    for (std::size_t from = 0; from < rows; from += kRowsPerInsert) {
      const std::size_t count = std::min(rows - from, kRowsPerInsert);
      std::optional<Statement>& statement = group[count == kRowsPerInsert ? 0 : 1];
      if (!statement) statement.emplace(db_, valuesSql(insert, columns, count).c_str(), where_);
      for (std::size_t k = 0; k < count; ++k)
        bindRow(*statement, static_cast<int>(k) * columns + 1, from + k);
      statement->run();
    }
  }

  // insert followed by count rows of columns parameters each.
  static std::string valuesSql(const char* insert, int columns, std::size_t count) {
    std::string row = "(?";
    for (int column = 1; column < columns; ++column) row += ",?";
    row += ")";
    std::string sql = insert;
    for (std::size_t k = 0; k < count; ++k) sql += (k == 0 ? "" : ",") + row;
    return sql;
  }

  // The file whose CDARCHIVE_FILE_COLUMNS start at column from.
  static CataloguedFile fileAt(const Statement& query, int from) {
    CataloguedFile file;
    survey::FileRecord& record = file.record;
    record.path = query.text(from + 0);
    file.size = query.number(from + 1);
    record.usable = query.number(from + 2) != 0;
    record.station = query.text(from + 3);
    file.stream = static_cast<int32_t>(query.number(from + 4));
    record.frequency = static_cast<int32_t>(query.number(from + 5));
    record.latitude = query.text(from + 6);
    record.longitude = query.text(from + 7);
    record.altitude = query.text(from + 8);
    record.start = query.number(from + 9);
    record.end = query.number(from + 10);
    file.findings = splitList(query.text(from + 11), ',');
    record.clockWarnings = splitList(query.text(from + 12), '\n');
    file.lost = spansOf(query.text(from + 13));
    return file;
  }

  static DiskEntry entryAt(const Statement& query, int from) {
    DiskEntry entry;
    entry.label = query.text(from + 0);
    entry.source = query.text(from + 1);
    entry.files = query.number(from + 2);
    entry.bytes = query.number(from + 3);
    entry.first = query.optionalNumber(from + 4);
    entry.last = query.optionalNumber(from + 5);
    entry.added = query.number(from + 6);
    entry.stream = streamNamed(query.text(from + 7));
    entry.labelSource = labelSourceOf(query.text(from + 8));
    entry.content = query.text(from + 9);
    return entry;
  }

  void execute(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
      const std::string reason = message != nullptr ? message : sqlite3_errmsg(db_);
      sqlite3_free(message);
      throw CatalogError("catalogue " + where_ + ": " + reason);
    }
  }

  // Puts the file in write-ahead logging. Another process making the
  // catalogue at this moment holds the file, and SQLite does not wait for a
  // change of journal mode as it waits for a lock: so we do, as long as the
  // busy timeout.
  void enterWal() {
    constexpr int kPauseMilliseconds = 5;
    for (int waited = 0;; waited += kPauseMilliseconds) {
      const int result = sqlite3_exec(db_, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
      if (result != SQLITE_BUSY || waited >= kBusyTimeoutMilliseconds) break;
      sqlite3_sleep(kPauseMilliseconds);
    }
    execute("PRAGMA journal_mode = WAL");  // done, or its failure told
  }

  int64_t pragmaNumber(const char* sql) {
    Statement query(db_, sql, where_);
    return query.step() ? query.number(0) : 0;
  }

  // Checks that the file is a catalogue this program can use, and brings an
  // older one (a new, empty file included) up to the current schema. Nothing
  // is written to a file that is not a catalogue.
  void bringUpToDate() {
    // The version and the tables from one snapshot: another process may be
    // making the catalogue at this moment.
    int64_t version = 0, tables = 0;
    try {
      execute("BEGIN");
      version = pragmaNumber("PRAGMA user_version");
      tables = pragmaNumber("SELECT count(*) FROM sqlite_schema");
      execute("COMMIT");
    } catch (const CatalogError&) {
      const std::string reason = sqlite3_errmsg(db_);
      const bool notADatabase = sqlite3_errcode(db_) == SQLITE_NOTADB;
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
      throw CatalogError("catalogue " + where_ +
                         (notADatabase ? " is not a cdarchive catalogue (" : " cannot be read (") +
                         reason + ")");
    }
    refuseNewerSchema(where_, version);
    if (version == 0 && tables > 0) {
      throw CatalogError("catalogue " + where_ +
                         " is not a cdarchive catalogue (an SQLite database of something else)");
    }
    if (version < kCatalogSchemaVersion && readOnly_) {
      throw CatalogError(
          "catalogue " + where_ +
          (version == 0 ? " is empty" : " is of schema version " + std::to_string(version)) +
          " and this user may not write it: open it once with cdarchive add where it may be "
          "written");
    }
    if (version < kCatalogSchemaVersion) {
      enterWal();
      // Another process may have brought it up to date meanwhile: look again
      // once the write lock is held.
      Transaction transaction(*this);
      const int64_t from = pragmaNumber("PRAGMA user_version");
      for (int64_t step = from; step < kCatalogSchemaVersion; ++step) execute(kSchemaSteps[step]);
      if (from > 0 && from < 3) fillContent();
      if (from > 0 && from < 4) fillKeptSpans();
      execute(("PRAGMA user_version = " + std::to_string(kCatalogSchemaVersion)).c_str());
      transaction.commit();
    }
    execute("PRAGMA foreign_keys = ON");
  }

  // Gives each disk of a catalogue of an earlier schema its content, from its
  // files as recorded.
  void fillContent() {
    std::vector<std::pair<int64_t, std::string>> sources;  // by id
    Statement disks(db_, kSelectWithoutContent, where_);
    while (disks.step()) sources.emplace_back(disks.number(0), disks.text(1));
    Statement update(db_, kUpdateContent, where_);
    for (const auto& [id, source] : sources) {
      std::vector<CataloguedFile> found;
      Statement files(db_, kSelectDiskFiles, where_);
      files.bind(1, id);
      while (files.step()) found.push_back(fileAt(files, 0));
      const std::string content = contentOf(found, recordedRootOf(source, found));
      update.bind(1, id).bind(2, content).run();
    }
  }

  // Keeps what each disk of a catalogue of an earlier schema holds of each
  // source, and the spans of each, from the files as recorded: disk by disk,
  // as each were added.
  void fillKeptSpans() {
    std::vector<std::tuple<int64_t, DiskStream, int64_t>> disks;
    Statement all(db_, kSelectAllDisks, where_);
    while (all.step()) disks.emplace_back(all.number(0), streamNamed(all.text(1)), all.number(2));
    KeptSpans kept(*this);
    for (const auto& [id, stream, added] : disks) {
      std::vector<CataloguedFile> found;
      Statement files(db_, kSelectDiskFiles, where_);
      files.bind(1, id);
      while (files.step()) found.push_back(fileAt(files, 0));
      const std::vector<SourceOnDisk> sources = sourcesOnDisk(found);
      insertSources(id, stream, added, sources);
      keepSpans(stream, {}, sources, kept);
    }
    execute(kRecountAll);
  }

  std::string where_;
  sqlite3* db_ = nullptr;
  bool readOnly_ = false;
};

}  // namespace

std::unique_ptr<Catalog> openSqliteCatalog(const std::string& path, CatalogAccess access) {
  // SQLite's counts of its memory take a lock on every allocation; nothing
  // here reads them. The setting holds only before SQLite's first use.
  [[maybe_unused]] static const bool configured = [] {
    return sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
  }();
  return std::make_unique<SqliteCatalog>(path, access);
}

}  // namespace catalog
