#include "catalog/libpq_on_demand.h"

#include <libpq-fe.h>

#include "platform/shared_library.h"

namespace catalog {

namespace {

constexpr const char* kLibpq = "libpq.so.5";

// Every libpq function the catalogue and its tests call.
// clang-format off
#define CDVERIFY_LIBPQ_FUNCTIONS(X) \
  X(PQclear) \
  X(PQconnectdb) \
  X(PQconnectdbParams) \
  X(PQerrorMessage) \
  X(PQexec) \
  X(PQexecParams) \
  X(PQfinish) \
  X(PQfreemem) \
  X(PQgetResult) \
  X(PQgetisnull) \
  X(PQgetlength) \
  X(PQgetvalue) \
  X(PQntuples) \
  X(PQputCopyData) \
  X(PQputCopyEnd) \
  X(PQresultStatus) \
  X(PQsetNoticeProcessor) \
  X(PQstatus) \
  X(PQunescapeBytea)
// clang-format on

struct Functions {
#define CDVERIFY_SLOT(name) decltype(&::name) name = nullptr;
  CDVERIFY_LIBPQ_FUNCTIONS(CDVERIFY_SLOT)
#undef CDVERIFY_SLOT
};

Functions libpq;  // filled by loadLibpq before any is called

base::Status load() {
  const auto bind = [](const auto& find) {
#define CDVERIFY_FIND(name) find(#name, libpq.name);
    CDVERIFY_LIBPQ_FUNCTIONS(CDVERIFY_FIND)
#undef CDVERIFY_FIND
  };
  return platform::loadFunctions(
      kLibpq, "the PostgreSQL client library cannot be loaded (Debian's libpq5)", bind);
}

}  // namespace

base::Status loadLibpq() {
  static const base::Status loaded = load();
  return loaded;
}

}  // namespace catalog

// libpq's functions, as its header declares them, each calling the loaded one.
extern "C" {

void PQclear(PGresult* res) { catalog::libpq.PQclear(res); }
PGconn* PQconnectdb(const char* conninfo) { return catalog::libpq.PQconnectdb(conninfo); }
PGconn* PQconnectdbParams(const char* const* keywords, const char* const* values,
                          int expand_dbname) {
  return catalog::libpq.PQconnectdbParams(keywords, values, expand_dbname);
}
char* PQerrorMessage(const PGconn* conn) { return catalog::libpq.PQerrorMessage(conn); }
PGresult* PQexec(PGconn* conn, const char* query) { return catalog::libpq.PQexec(conn, query); }
PGresult* PQexecParams(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                       const char* const* paramValues, const int* paramLengths,
                       const int* paramFormats, int resultFormat) {
  return catalog::libpq.PQexecParams(conn, command, nParams, paramTypes, paramValues, paramLengths,
                                     paramFormats, resultFormat);
}
void PQfinish(PGconn* conn) { catalog::libpq.PQfinish(conn); }
void PQfreemem(void* ptr) { catalog::libpq.PQfreemem(ptr); }
PGresult* PQgetResult(PGconn* conn) { return catalog::libpq.PQgetResult(conn); }
int PQgetisnull(const PGresult* res, int tup_num, int field_num) {
  return catalog::libpq.PQgetisnull(res, tup_num, field_num);
}
int PQgetlength(const PGresult* res, int tup_num, int field_num) {
  return catalog::libpq.PQgetlength(res, tup_num, field_num);
}
char* PQgetvalue(const PGresult* res, int tup_num, int field_num) {
  return catalog::libpq.PQgetvalue(res, tup_num, field_num);
}
int PQntuples(const PGresult* res) { return catalog::libpq.PQntuples(res); }
int PQputCopyData(PGconn* conn, const char* buffer, int nbytes) {
  return catalog::libpq.PQputCopyData(conn, buffer, nbytes);
}
int PQputCopyEnd(PGconn* conn, const char* errormsg) {
  return catalog::libpq.PQputCopyEnd(conn, errormsg);
}
ExecStatusType PQresultStatus(const PGresult* res) { return catalog::libpq.PQresultStatus(res); }
PQnoticeProcessor PQsetNoticeProcessor(PGconn* conn, PQnoticeProcessor proc, void* arg) {
  return catalog::libpq.PQsetNoticeProcessor(conn, proc, arg);
}
ConnStatusType PQstatus(const PGconn* conn) { return catalog::libpq.PQstatus(conn); }
unsigned char* PQunescapeBytea(const unsigned char* strtext, size_t* retbuflen) {
  return catalog::libpq.PQunescapeBytea(strtext, retbuflen);
}

}  // extern "C"
