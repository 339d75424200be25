#include "catalog/postgres_catalog.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "catalog/catalog_name.h"
#include "catalog/catalog_schema.h"
#include "catalog/disk_identity.h"
#include "catalog/kept_spans.h"
#include "catalog/libpq_on_demand.h"
#include "catalog/postgres_schema.h"
#include "catalog/text_list.h"

namespace catalog {

namespace {

constexpr const char* kDiskColumnList =
    "d.label, d.source, d.file_count, d.bytes, d.first_time, d.last_time, d.added, d.stream, "
    "d.label_source, d.content";
constexpr const char* kFileColumnList =
    "f.path, f.size, f.usable, f.station, f.stream, f.frequency, f.latitude, f.longitude, "
    "f.altitude, f.start_time, f.end_time, f.findings, f.clock_warnings, f.lost";
constexpr int kDiskColumnCount = 10;

// A parameter of a statement: bytes, or a number written in decimal, or null.
struct Parameter {
  std::optional<std::string> value;
  bool bytes = false;
  static Parameter text(const std::string& text) { return Parameter{text, true}; }
  static Parameter number(int64_t number) { return Parameter{std::to_string(number), false}; }
  static Parameter number(const std::optional<int64_t>& number) {
    return number ? Parameter::number(*number) : Parameter{std::nullopt, false};
  }
};

// A result, cleared when it ends.
class Result {
 public:
  explicit Result(PGresult* result) : result_(result) {}
  Result(Result&& other) noexcept : result_(std::exchange(other.result_, nullptr)) {}
  ~Result() { PQclear(result_); }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  Result& operator=(Result&&) = delete;
  ExecStatusType status() const { return PQresultStatus(result_); }
  int rows() const { return PQntuples(result_); }
  bool null(int row, int column) const { return PQgetisnull(result_, row, column) != 0; }
  int64_t number(int row, int column) const {
    return std::strtoll(PQgetvalue(result_, row, column), nullptr, 10);
  }
  std::optional<int64_t> optionalNumber(int row, int column) const {
    if (null(row, column)) return std::nullopt;
    return number(row, column);
  }
  bool flag(int row, int column) const { return PQgetvalue(result_, row, column)[0] == 't'; }
  // A TEXT column.
  std::string text(int row, int column) const {
    return std::string(PQgetvalue(result_, row, column),
                       static_cast<std::size_t>(PQgetlength(result_, row, column)));
  }
  // A BYTEA column, which text results give in hex.
  std::string bytes(int row, int column) const {
    std::size_t length = 0;
    unsigned char* raw = PQunescapeBytea(
        reinterpret_cast<const unsigned char*>(PQgetvalue(result_, row, column)), &length);
    std::string text(reinterpret_cast<const char*>(raw), length);
    PQfreemem(raw);
    return text;
  }

 private:
  PGresult* result_;
};

// bytes as COPY's text format takes a BYTEA value: "\\x" and hex digits.
std::string copyBytes(const std::string& bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text = "\\\\x";
  for (const char c : bytes) {
    text += kHex[static_cast<uint8_t>(c) >> 4];
    text += kHex[static_cast<uint8_t>(c) & 15];
  }
  return text;
}

// How long a connection may take unless the URL says otherwise: a server that
// accepts and never answers must not hold a run for ever.
constexpr const char* kConnectTimeoutSeconds = "10";

// libpq's message as one line: its lines (a hint after a tab, a detail) joined.
std::string oneLine(const std::string& message) {
  std::string line, part;
  const auto flush = [&] {
    const std::size_t first = part.find_first_not_of(" \t\r");
    const std::size_t last = part.find_last_not_of(" \t\r");
    if (first != std::string::npos)
      line += (line.empty() ? "" : "; ") + part.substr(first, last - first + 1);
    part.clear();
  };
  for (const char c : message) {
    if (c == '\n') {
      flush();
    } else {
      part += c;
    }
  }
  flush();
  return line;
}

// SQL written for SQLite (catalog_schema.h) as PostgreSQL numbers its
// parameters: ?n as $n. Only for SQL with no '?' of its own.
std::string numbered(const char* sql) {
  std::string text = sql;
  for (char& c : text)
    if (c == '?') c = '$';
  return text;
}

// The server's notices (a warning of a statement's own) are no operator's
// business: the statements that matter fail as errors.
void ignoreNotice(void*, const char*) {}

class PostgresCatalog : public Catalog {
 public:
  PostgresCatalog(const std::string& url, CatalogAccess access) : where_(shownCatalogName(url)) {
    if (const base::Status loaded = loadLibpq(); !loaded) {
      throw CatalogError("catalogue " + where_ + " cannot be opened: " + loaded.problem());
    }
    // Keywords are taken in order, so the URL's own timeout overrides ours.
    const char* const keywords[] = {"connect_timeout", "dbname", nullptr};
    const char* const values[] = {kConnectTimeoutSeconds, url.c_str(), nullptr};
    connection_ = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(connection_) != CONNECTION_OK) {
      const std::string reason = PQerrorMessage(connection_);
      PQfinish(connection_);
      throw CatalogError("catalogue " + where_ + " cannot be opened: " + oneLine(reason));
    }
    PQsetNoticeProcessor(connection_, ignoreNotice, nullptr);
    try {
      if (access == CatalogAccess::kRead) {
        checked(
            Result(PQexec(connection_, "SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY")));
      }
      bringUpToDate(access);
    } catch (...) {
      PQfinish(connection_);
      throw;
    }
  }
  ~PostgresCatalog() override { PQfinish(connection_); }

  void storeDisk(const CataloguedDisk& disk) override {
    Transaction transaction(*this);
    run("LOCK TABLE disk IN SHARE ROW EXCLUSIVE MODE", {});  // writers queue
    const Parameter stream = Parameter::text(streamName(disk.entry.stream));
    const std::vector<SourceOnDisk> before = removed(disk.entry.label, disk.entry.stream);
    int64_t longest = 0;
    for (const CataloguedFile& file : disk.files)
      longest = std::max(longest, file.record.end - file.record.start);
    const Result inserted =
        run("INSERT INTO disk (label, source, listing, file_count, bytes, first_time, last_time,"
            " added, longest_file, manifest, stream, label_source, content, read_whole)"
            " VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14) RETURNING id",
            {Parameter::text(disk.entry.label), Parameter::text(disk.entry.source),
             Parameter::text(disk.listing), Parameter::number(disk.entry.files),
             Parameter::number(disk.entry.bytes), Parameter::number(disk.entry.first),
             Parameter::number(disk.entry.last), Parameter::number(disk.entry.added),
             Parameter::number(longest), Parameter::text(disk.manifest), stream,
             Parameter::text(labelSourceName(disk.entry.labelSource)),
             Parameter::text(disk.entry.content),
             Parameter{readWhole(disk) ? "true" : "false", false}});
    const int64_t diskId = inserted.number(0, 0);
    copyFiles(diskId, disk.files);
    copyHeld(diskId, disk.held);
    const std::vector<SourceOnDisk> after = sourcesOnDisk(disk.files);
    insertSources(diskId, disk.entry.stream, disk.entry.added, after);
    recount(disk.entry.content);
    KeptSpans kept(*this);
    keepSpans(disk.entry.stream, before, after, kept);
    transaction.commit();
  }

  bool deleteDisk(const std::string& label, DiskStream stream) override {
    Transaction transaction(*this);
    run("LOCK TABLE disk IN SHARE ROW EXCLUSIVE MODE", {});
    std::optional<int64_t> id;
    const std::vector<SourceOnDisk> before = removed(label, stream, &id);
    KeptSpans kept(*this);
    keepSpans(stream, before, {}, kept);
    transaction.commit();
    return id.has_value();
  }

  bool storeAudit(const std::string& label, DiskStream stream, const AuditRecord& audit) override {
    Transaction transaction(*this);
    const Result disk = run("SELECT id FROM disk WHERE label = $1 AND stream = $2",
                            {Parameter::text(label), Parameter::text(streamName(stream))});
    if (disk.rows() == 0) return false;
    const auto flag = [](bool value) { return Parameter{value ? "true" : "false", false}; };
    const Result inserted =
        run(numbered(kInsertAudit) + " RETURNING id",
            {Parameter::number(disk.number(0, 0)), Parameter::number(audit.checked),
             Parameter::text(audit.source), Parameter::number(audit.matched), flag(audit.clean())});
    const Parameter auditId = Parameter::number(inserted.number(0, 0));
    for (std::size_t i = 0; i < audit.findings.size(); ++i) {
      const fixity::AuditEntry& entry = audit.findings[i];
      run(std::string(kInsertAuditFindings) + "($1, $2, $3, $4, $5, $6, $7, $8)",
          {auditId, Parameter::number(static_cast<int64_t>(i)),
           Parameter{fixity::auditStatusName(entry.status), false}, Parameter::text(entry.path),
           Parameter::text(entry.from), Parameter::text(rangesText(entry.unreadable)),
           flag(entry.opened), flag(entry.directory)});
    }
    for (std::size_t i = 0; i < audit.lost.size(); ++i) {
      const LostTime& lost = audit.lost[i];
      run(std::string(kInsertAuditLost) + "($1, $2, $3, $4, $5, $6)",
          {auditId, Parameter::number(static_cast<int64_t>(i)), Parameter::text(lost.station),
           Parameter::text(lost.path), Parameter::number(lost.span.start),
           Parameter::number(lost.span.end)});
    }
    transaction.commit();
    return true;
  }

  std::optional<AuditRecord> latestAudit(const std::string& label, DiskStream stream) override {
    const Result found = run(numbered(kSelectLatestAudit),
                             {Parameter::text(label), Parameter::text(streamName(stream))});
    if (found.rows() == 0) return std::nullopt;
    AuditRecord audit{found.number(0, 1), found.bytes(0, 2), found.number(0, 3), {}, {}};
    const Parameter auditId = Parameter::number(found.number(0, 0));
    const Result findings = run(numbered(kSelectAuditFindings), {auditId});
    for (int row = 0; row < findings.rows(); ++row) {
      audit.findings.push_back(fixity::AuditEntry{fixity::auditStatusNamed(findings.text(row, 0)),
                                                  findings.bytes(row, 1), findings.bytes(row, 2),
                                                  rangesOf(findings.bytes(row, 3)),
                                                  findings.flag(row, 4), findings.flag(row, 5)});
    }
    const Result lost = run(numbered(kSelectAuditLost), {auditId});
    for (int row = 0; row < lost.rows(); ++row) {
      audit.lost.push_back(LostTime{lost.bytes(row, 0), lost.bytes(row, 1),
                                    times::TimeSpan{lost.number(row, 2), lost.number(row, 3)}});
    }
    return audit;
  }

  std::vector<DiskEntry> allDisks() override {
    const Result result = run(kSelectDisks, {});
    std::vector<DiskEntry> list;
    for (int row = 0; row < result.rows(); ++row) {
      list.push_back(entryAt(result, row));
      setProof(list.back(), ProofFacts{list.back().added, result.flag(row, kDiskColumnCount),
                                       result.flag(row, kDiskColumnCount + 1),
                                       result.optionalNumber(row, kDiskColumnCount + 2),
                                       result.optionalNumber(row, kDiskColumnCount + 3),
                                       result.flag(row, kDiskColumnCount + 4)});
    }
    return orderedWithCopies(std::move(list));
  }

  std::vector<DiskEntry> disksOfContent(const std::string& content, DiskStream stream) override {
    std::vector<DiskEntry> list;
    if (content.empty()) return list;
    const Result result = run(std::string("SELECT ") + kDiskColumnList +
                                  " FROM disk d WHERE d.content = $1 AND d.stream = $2",
                              {Parameter::text(content), Parameter::text(streamName(stream))});
    for (int row = 0; row < result.rows(); ++row) list.push_back(entryAt(result, row));
    return orderedWithCopies(std::move(list));
  }

  std::vector<std::string> allStations() override {
    const Result result = run(kSelectStations, {});
    std::vector<std::string> list;
    for (int row = 0; row < result.rows(); ++row) list.push_back(result.bytes(row, 0));
    return list;
  }

  std::vector<KeptSource> sourcesMeeting(const std::string& station, times::TimeSpan window,
                                         DiskStream stream, SpanDetail detail) override {
    std::vector<Parameter> parameters = {Parameter::text(streamName(stream))};
    if (!station.empty()) parameters.push_back(Parameter::text(station));
    const Result sources =
        run(numbered(station.empty() ? kSelectCountedSources : kSelectCountedStationSources),
            parameters);
    std::vector<CountedSource> rows;
    for (int row = 0; row < sources.rows(); ++row)
      rows.push_back(CountedSource{sourceAt(sources, row), sources.number(row, 5)});
    KeptSpans kept(*this);
    return keptSourcesOf(rows, stream, window, detail, kept);
  }

  std::optional<CataloguedDisk> diskWithFixity(const std::string& label,
                                               DiskStream stream) override {
    const Result disk = run(std::string("SELECT ") + kDiskColumnList +
                                ", d.manifest, d.id FROM disk d WHERE d.label = $1 AND"
                                " d.stream = $2",
                            {Parameter::text(label), Parameter::text(streamName(stream))});
    if (disk.rows() == 0) return std::nullopt;
    CataloguedDisk found{entryAt(disk, 0), {}, {}, disk.bytes(0, kDiskColumnCount), {}};
    const Parameter diskId = Parameter::number(disk.number(0, kDiskColumnCount + 1));
    found.files = filesOfDisk(diskId);
    const Result held =
        run("SELECT path, size, sha256, unreadable FROM held WHERE disk_id = $1"
            " ORDER BY seq",
            {diskId});
    for (int row = 0; row < held.rows(); ++row) {
      found.held.push_back(fixity::FileFixity{held.bytes(row, 0), held.number(row, 1),
                                              held.bytes(row, 2), rangesOf(held.bytes(row, 3))});
    }
    return found;
  }

  std::vector<CataloguedDisk> filesMeeting(const std::string& station,
                                           const std::optional<times::TimeSpan>& window,
                                           DiskStream stream) override {
    std::vector<Parameter> parameters = {Parameter::text(streamName(stream))};
    const std::string sql = std::string("SELECT ") + kDiskColumnList + ", " + kFileColumnList +
                            " FROM file f JOIN disk d ON d.id = f.disk_id WHERE d.stream = $1" +
                            conditions(station, window, parameters) + " ORDER BY d.label, f.seq";
    const Result result = run(sql, parameters);
    std::vector<CataloguedDisk> found;
    for (int row = 0; row < result.rows(); ++row) {
      const DiskEntry entry = entryAt(result, row);
      if (found.empty() || found.back().entry.label != entry.label)
        found.push_back(CataloguedDisk{entry, {}, {}, {}, {}});
      CataloguedFile file = fileAt(result, row, kDiskColumnCount);
      found.back().files.push_back(std::move(file));
    }
    linkCopies(found);
    return found;
  }

 private:
  // A transaction, rolled back unless committed.
  class Transaction {
   public:
    explicit Transaction(PostgresCatalog& catalog) : catalog_(catalog) {
      catalog_.run("BEGIN", {});
    }
    ~Transaction() {
      if (!committed_) PQclear(PQexec(catalog_.connection_, "ROLLBACK"));
    }
    void commit() {
      catalog_.run("COMMIT", {});
      committed_ = true;
    }

   private:
    PostgresCatalog& catalog_;
    bool committed_ = false;
  };

  // The kept spans of the catalogue's tables, as keepSpans changes them.
  class KeptSpans : public KeptSpanTable {
   public:
    explicit KeptSpans(PostgresCatalog& catalog) : catalog_(catalog) {}

    std::vector<times::TimeSpan> spansOf(SpanQuery query, const SourceKey& key,
                                         times::TimeSpan span) override {
      const Result result =
          catalog_.run(numbered(sqlOf(query)),
                       keyAnd(key, {Parameter::number(span.start), Parameter::number(span.end)}));
      std::vector<times::TimeSpan> found;
      found.reserve(static_cast<std::size_t>(result.rows()));
      for (int row = 0; row < result.rows(); ++row)
        found.push_back({result.number(row, 0), result.number(row, 1)});
      return found;
    }
    int64_t keptCount(const SourceKey& key, times::TimeSpan window) override {
      return catalog_
          .run(count_,
               keyAnd(key, {Parameter::number(window.start), Parameter::number(window.end)}))
          .number(0, 0);
    }
    void replaceKept(const SourceKey& key, const std::vector<times::TimeSpan>& were,
                     const std::vector<times::TimeSpan>& are) override {
      for (const times::TimeSpan& span : were)
        catalog_.run(delete_, keyAnd(key, {Parameter::number(span.start)}));
      for (const times::TimeSpan& span : are) {
        catalog_.run(insert_,
                     keyAnd(key, {Parameter::number(span.start), Parameter::number(span.end)}));
      }
    }

   private:
    // The parameters of key ($1 to $3) and more.
    static std::vector<Parameter> keyAnd(const SourceKey& key, std::vector<Parameter> more) {
      std::vector<Parameter> parameters = {Parameter::text(streamName(key.diskStream)),
                                           Parameter::text(key.station),
                                           Parameter::number(int64_t{key.stream})};
      parameters.insert(parameters.end(), more.begin(), more.end());
      return parameters;
    }

    PostgresCatalog& catalog_;
    const std::string count_ = numbered(kCountKeptMeeting);
    const std::string delete_ = numbered(kDeleteKept);
    const std::string insert_ = numbered(kInsertKept);
  };

  // Removes the disk of label and stream, if there is one (its id in *id),
  // and gives what it held of each source.
  std::vector<SourceOnDisk> removed(const std::string& label, DiskStream stream,
                                    std::optional<int64_t>* id = nullptr) {
    const Result found = run("SELECT id, content FROM disk WHERE label = $1 AND stream = $2",
                             {Parameter::text(label), Parameter::text(streamName(stream))});
    if (found.rows() == 0) return {};
    const Parameter diskId = Parameter::number(found.number(0, 0));
    if (id != nullptr) *id = found.number(0, 0);
    const Result held = run(numbered(kSelectDiskSources), {diskId});
    std::vector<SourceOnDisk> sources;
    for (int row = 0; row < held.rows(); ++row) sources.push_back(sourceAt(held, row));
    run("DELETE FROM disk WHERE id = $1", {diskId});
    recount(found.text(0, 1));
    return sources;
  }

  // Keeps what the disk of that id (of stream, added then) holds of each
  // source, counted until recount says otherwise.
  void insertSources(int64_t diskId, DiskStream stream, int64_t added,
                     const std::vector<SourceOnDisk>& sources) {
    const std::string insert = numbered(kInsertSourceOnDisk);
    for (const SourceOnDisk& source : sources) {
      run(insert, {Parameter::number(diskId), Parameter::text(source.station),
                   Parameter::number(int64_t{source.stream}), Parameter::text(streamName(stream)),
                   Parameter::number(added), Parameter::number(int64_t{source.frequency}),
                   Parameter::number(source.first), Parameter::number(source.last)});
    }
  }

  // Settles which disks of content count, once one has come or gone.
  void recount(const std::string& content) {
    if (content.empty()) return;  // no disk of no data file copies another
    run(numbered(kRecountContent), {Parameter::text(content)});
  }

  // The source of a row of kSelectDiskSources or kSelectCountedSources.
  static SourceOnDisk sourceAt(const Result& result, int row) {
    return SourceOnDisk{result.bytes(row, 0), static_cast<int32_t>(result.number(row, 1)),
                        static_cast<int32_t>(result.number(row, 2)), result.number(row, 3),
                        result.number(row, 4)};
  }

  // The WHERE conditions of a station and a window, their parameters added.
  static std::string conditions(const std::string& station,
                                const std::optional<times::TimeSpan>& window,
                                std::vector<Parameter>& parameters) {
    std::string sql;
    if (!station.empty()) {
      parameters.push_back(Parameter::text(station));
      sql += " AND f.station = $" + std::to_string(parameters.size());
    }
    if (window) {
      const std::string from = "$" + std::to_string(parameters.size() + 1);
      const std::string to = "$" + std::to_string(parameters.size() + 2);
      parameters.push_back(Parameter::number(window->start));
      parameters.push_back(Parameter::number(window->end));
      sql += " AND f.usable AND f.start_time < " + to + "::BIGINT AND f.end_time > " + from +
             "::BIGINT AND f.start_time >= " + from +
             "::BIGINT - (SELECT coalesce(max(longest_file), 0) FROM disk)";
    }
    return sql;
  }

  [[noreturn]] void fail() const {
    const std::string reason = oneLine(PQerrorMessage(connection_));
    throw CatalogError(
        "catalogue " + where_ + ": " +
        (reason.empty() ? std::string("the server did not answer as asked") : reason));
  }

  // Runs sql with its parameters bound (bytes as binary, numbers as text).
  Result run(const std::string& sql, const std::vector<Parameter>& parameters) const {
    std::vector<const char*> values;
    std::vector<int> lengths, formats;
    for (const Parameter& parameter : parameters) {
      values.push_back(parameter.value ? parameter.value->data() : nullptr);
      lengths.push_back(parameter.value ? static_cast<int>(parameter.value->size()) : 0);
      formats.push_back(parameter.bytes ? 1 : 0);
    }
    Result result(PQexecParams(connection_, sql.c_str(), static_cast<int>(parameters.size()),
                               nullptr, values.data(), lengths.data(), formats.data(), 0));
    return checked(std::move(result));
  }

  Result checked(Result result) const {
    const ExecStatusType status = result.status();
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) fail();
    return result;
  }

  // Sends count rows by COPY (sql: "COPY table (columns) FROM STDIN"), each
  // row(i) a line of COPY's text format, a megabyte at a time.
  template <typename Row>
  void copyRows(const char* sql, std::size_t count, const Row& row) {
    const Result copy(PQexec(connection_, sql));
    if (copy.status() != PGRES_COPY_IN) fail();
    std::string rows;
    for (std::size_t i = 0; i < count; ++i) {
      rows += row(i);
      if (rows.size() > (1 << 20) || i + 1 == count) {
        if (PQputCopyData(connection_, rows.data(), static_cast<int>(rows.size())) != 1) fail();
        rows.clear();
      }
    }
    if (PQputCopyEnd(connection_, nullptr) != 1) fail();
    checked(Result(PQgetResult(connection_)));
    PQclear(PQgetResult(connection_));  // the end of the results
  }

  void copyFiles(int64_t diskId, const std::vector<CataloguedFile>& files) {
    copyRows(
        "COPY file (disk_id, seq, path, size, usable, station, stream, frequency, latitude,"
        " longitude, altitude, start_time, end_time, findings, clock_warnings, lost)"
        " FROM STDIN",
        files.size(), [&](std::size_t i) {
          const CataloguedFile& file = files[i];
          const survey::FileRecord& r = file.record;
          return std::to_string(diskId) + '\t' + std::to_string(i) + '\t' + copyBytes(r.path) +
                 '\t' + std::to_string(file.size) + '\t' + (r.usable ? "t" : "f") + '\t' +
                 copyBytes(r.station) + '\t' + std::to_string(file.stream) + '\t' +
                 std::to_string(r.frequency) + '\t' + copyBytes(r.latitude) + '\t' +
                 copyBytes(r.longitude) + '\t' + copyBytes(r.altitude) + '\t' +
                 std::to_string(r.start) + '\t' + std::to_string(r.end) + '\t' +
                 copyBytes(joinedList(file.findings, ',')) + '\t' +
                 copyBytes(joinedList(r.clockWarnings, '\n')) + '\t' +
                 copyBytes(spansText(file.lost)) + '\n';
        });
  }

  void copyHeld(int64_t diskId, const std::vector<fixity::FileFixity>& held) {
    copyRows("COPY held (disk_id, seq, path, size, sha256, unreadable) FROM STDIN", held.size(),
             [&](std::size_t i) {
               const fixity::FileFixity& file = held[i];
               return std::to_string(diskId) + '\t' + std::to_string(i) + '\t' +
                      copyBytes(file.path) + '\t' + std::to_string(file.size) + '\t' +
                      copyBytes(file.sha256) + '\t' + copyBytes(rangesText(file.unreadable)) + '\n';
             });
  }

  // The file of a row whose kFileColumnList start at column c.
  static CataloguedFile fileAt(const Result& result, int row, int c) {
    CataloguedFile file;
    survey::FileRecord& record = file.record;
    record.path = result.bytes(row, c + 0);
    file.size = result.number(row, c + 1);
    record.usable = result.flag(row, c + 2);
    record.station = result.bytes(row, c + 3);
    file.stream = static_cast<int32_t>(result.number(row, c + 4));
    record.frequency = static_cast<int32_t>(result.number(row, c + 5));
    record.latitude = result.bytes(row, c + 6);
    record.longitude = result.bytes(row, c + 7);
    record.altitude = result.bytes(row, c + 8);
    record.start = result.number(row, c + 9);
    record.end = result.number(row, c + 10);
    file.findings = splitList(result.bytes(row, c + 11), ',');
    record.clockWarnings = splitList(result.bytes(row, c + 12), '\n');
    file.lost = spansOf(result.bytes(row, c + 13));
    return file;
  }

  static DiskEntry entryAt(const Result& result, int row) {
    DiskEntry entry;
    entry.label = result.bytes(row, 0);
    entry.source = result.bytes(row, 1);
    entry.files = result.number(row, 2);
    entry.bytes = result.number(row, 3);
    entry.first = result.optionalNumber(row, 4);
    entry.last = result.optionalNumber(row, 5);
    entry.added = result.number(row, 6);
    entry.stream = streamNamed(result.text(row, 7));
    entry.labelSource = labelSourceOf(result.text(row, 8));
    entry.content = result.text(row, 9);
    return entry;
  }

  // Checks that the database holds a catalogue this program can use, or
  // nothing, and brings it up to the current schema; one process at a time.
  void bringUpToDate(CatalogAccess access) {
    Transaction transaction(*this);
    run("SELECT pg_advisory_xact_lock(4242004200)", {});
    const Result versionTable = run("SELECT to_regclass('catalog_version') IS NOT NULL", {});
    int64_t version = 0;
    if (versionTable.flag(0, 0)) {
      version = run("SELECT version FROM catalog_version", {}).number(0, 0);
    } else if (run("SELECT count(*) FROM pg_tables WHERE schemaname = current_schema()", {})
                   .number(0, 0) > 0) {
      throw CatalogError("catalogue " + where_ +
                         " is not a cdarchive catalogue (a database of something else)");
    }
    refuseNewerSchema(where_, version);
    if (version == kCatalogSchemaVersion) return;  // rolled back: nothing was written
    if (access == CatalogAccess::kRead) {
      throw CatalogError("catalogue " + where_ +
                         (version == 0 ? " holds no catalogue yet"
                                       : " is of schema version " + std::to_string(version)) +
                         ": cdarchive add brings it up to date");
    }
    if (version == 0) run("CREATE TABLE catalog_version (version INTEGER NOT NULL)", {});
    for (int64_t step = version; step < kCatalogSchemaVersion; ++step)
      checked(Result(PQexec(connection_, kPostgresSchemaSteps[step])));
    if (version > 0 && version < 3) fillContent();
    if (version > 0 && version < 4) fillKeptSpans();
    run("DELETE FROM catalog_version", {});
    run("INSERT INTO catalog_version VALUES ($1::INTEGER)",
        {Parameter::number(kCatalogSchemaVersion)});
    transaction.commit();
  }

  // The data files of the disk of that id, in the walk's order.
  std::vector<CataloguedFile> filesOfDisk(const Parameter& diskId) {
    const Result files = run(std::string("SELECT ") + kFileColumnList +
                                 " FROM file f WHERE f.disk_id = $1 ORDER BY f.seq",
                             {diskId});
    std::vector<CataloguedFile> found;
    for (int row = 0; row < files.rows(); ++row) found.push_back(fileAt(files, row, 0));
    return found;
  }

  // Gives each disk of a catalogue of an earlier schema its content, from its
  // files as recorded.
  void fillContent() {
    const Result disks = run("SELECT id, source FROM disk WHERE content = ''", {});
    for (int row = 0; row < disks.rows(); ++row) {
      const Parameter diskId = Parameter::number(disks.number(row, 0));
      const std::vector<CataloguedFile> files = filesOfDisk(diskId);
      const std::string content = contentOf(files, recordedRootOf(disks.bytes(row, 1), files));
      run("UPDATE disk SET content = $2 WHERE id = $1", {diskId, Parameter::text(content)});
    }
  }

  // Keeps what each disk of a catalogue of an earlier schema holds of each
  // source, and the spans of each, from the files as recorded: disk by disk,
  // as each were added.
  void fillKeptSpans() {
    const Result disks = run(kSelectAllDisks, {});
    KeptSpans kept(*this);
    for (int row = 0; row < disks.rows(); ++row) {
      const int64_t id = disks.number(row, 0);
      const std::vector<SourceOnDisk> sources = sourcesOnDisk(filesOfDisk(Parameter::number(id)));
      const DiskStream stream = streamNamed(disks.text(row, 1));
      insertSources(id, stream, disks.number(row, 2), sources);
      keepSpans(stream, {}, sources, kept);
    }
    run(kRecountAll, {});
  }

  std::string where_;
  PGconn* connection_ = nullptr;
};

}  // namespace

std::unique_ptr<Catalog> openPostgresCatalog(const std::string& url, CatalogAccess access) {
  return std::make_unique<PostgresCatalog>(url, access);
}

}  // namespace catalog
