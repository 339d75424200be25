// The catalogue's contract on a real PostgreSQL server, where the tests have
// one (tests/support/postgres_session.sh); then what that store refuses.

#include <libpq-fe.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "catalog/catalog_contract_test.h"
#include "catalog/libpq_on_demand.h"
#include "catalog/postgres_schema.h"
#include "tests/support/scratch_dir.h"

namespace catalog {

namespace {

// The URL of the tests' PostgreSQL server; nothing, with the reason in why,
// where there is none.
std::optional<std::string> postgresUrl(std::string& why) {
  const char* dir = std::getenv("CDVERIFY_TEST_POSTGRES_DIR");
  if (dir == nullptr) {
    why = "CDVERIFY_TEST_POSTGRES_DIR is not set";
    return std::nullopt;
  }
  const std::string url = testsupport::readFile(std::filesystem::path(dir) / "url");
  if (url.empty()) {
    why = testsupport::readFile(std::filesystem::path(dir) / "skip");
    return std::nullopt;
  }
  return url.substr(0, url.find('\n'));
}

// Runs sql on the server at url, as a test's own setting up.
void onServer(const std::string& url, const std::string& sql) {
  const base::Status loaded = loadLibpq();
  ASSERT_TRUE(loaded) << loaded.problem();
  PGconn* connection = PQconnectdb(url.c_str());
  ASSERT_EQ(PQstatus(connection), CONNECTION_OK) << PQerrorMessage(connection);
  PGresult* result = PQexec(connection, sql.c_str());
  EXPECT_EQ(PQresultStatus(result), PGRES_COMMAND_OK) << PQerrorMessage(connection);
  PQclear(result);
  PQfinish(connection);
}

// The tests' server, its public schema emptied.
class PostgresStore : public StoreUnderTest {
 public:
  PostgresStore() {
    if (const std::optional<std::string> url = postgresUrl(why_)) {
      url_ = *url;
      onServer(url_, "DROP SCHEMA public CASCADE; CREATE SCHEMA public;");
    }
  }
  std::string name() override { return url_; }
  std::string why() override { return why_; }
  void execute(const std::string& sql) override { onServer(url_, sql); }
  std::string schemaSteps(int version) override {
    std::string sql;
    for (int step = 0; step < version; ++step) sql += kPostgresSchemaSteps[step];
    return sql;
  }
  std::string markedAs(int version) override {
    return "CREATE TABLE catalog_version (version INTEGER NOT NULL);"
           "INSERT INTO catalog_version VALUES (" +
           std::to_string(version) + ");";
  }

 private:
  std::string url_;
  std::string why_;
};

INSTANTIATE_TEST_SUITE_P(Postgres, CatalogTest,
                         ::testing::Values(StoreKind{"PostgreSQL", [] {
                                                       return std::unique_ptr<StoreUnderTest>(
                                                           new PostgresStore);
                                                     }}));

TEST(PostgresCatalog, ADatabaseOfSomethingElseOrANewerCatalogueIsRefusedAndLeftAsItWas) {
  std::string why;
  const std::optional<std::string> url = postgresUrl(why);
  if (!url) GTEST_SKIP() << "no PostgreSQL server: " << why;
  onServer(*url,
           "DROP SCHEMA public CASCADE; CREATE SCHEMA public; CREATE TABLE recipes (name TEXT);");
  EXPECT_FALSE(openCatalog(*url, CatalogAccess::kCreate));
  onServer(*url, "INSERT INTO recipes VALUES ('still here')");  // the table was left

  onServer(*url, "DROP SCHEMA public CASCADE; CREATE SCHEMA public;");
  ASSERT_TRUE(openCatalog(*url, CatalogAccess::kCreate));
  onServer(*url, "UPDATE catalog_version SET version = 99");
  expectNewerRefused(*url);
  EXPECT_FALSE(
      openCatalog("postgresql:///no_such_database?host=/nonexistent", CatalogAccess::kRead));
}

}  // namespace

}  // namespace catalog
