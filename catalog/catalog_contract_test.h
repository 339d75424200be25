// What the catalogue's contract tests share: a store to run them against, the
// fixture that gives each test an empty catalogue of it, and helpers.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "catalog/open_catalog.h"

namespace catalog {

// A store the contract runs against, of one empty catalogue for one test.
class StoreUnderTest {
 public:
  virtual ~StoreUnderTest() = default;
  // The name openCatalog takes; empty where the store cannot be had here,
  // with the reason in why().
  virtual std::string name() = 0;
  virtual std::string why() { return ""; }
  // Runs sql in the store, as a test's own setting up.
  virtual void execute(const std::string& sql) = 0;
  // The SQL of the schema's first steps, up to version; and the SQL that marks
  // the store as being of version.
  virtual std::string schemaSteps(int version) = 0;
  virtual std::string markedAs(int version) = 0;
};

struct StoreKind {
  const char* shown;
  std::function<std::unique_ptr<StoreUnderTest>()> make;
};
inline void PrintTo(const StoreKind& kind, std::ostream* out) { *out << kind.shown; }

// A fresh, empty catalogue of the store for every test.
class CatalogTest : public ::testing::TestWithParam<StoreKind> {
 protected:
  void SetUp() override {
    store = GetParam().make();
    name = store->name();
    if (name.empty()) GTEST_SKIP() << "no " << GetParam().shown << ": " << store->why();
  }
  std::unique_ptr<Catalog> open(bool create) {
    base::Outcome<std::unique_ptr<Catalog>> opened =
        openCatalog(name, create ? CatalogAccess::kCreate : CatalogAccess::kWrite);
    if (!opened) throw std::runtime_error(opened.problem());
    return std::move(*opened);
  }

  std::unique_ptr<StoreUnderTest> store;
  std::string name;
};

// The value of a catalogue's answer, a failure of the test when there is none.
template <typename T>
T must(base::Outcome<T> outcome) {
  if (!outcome) throw std::runtime_error(outcome.problem());
  return std::move(*outcome);
}
inline void mustDo(const base::Status& status) {
  if (!status) throw std::runtime_error(status.problem());
}

// Expects the catalogue of that name, of schema version 99, to be refused.
inline void expectNewerRefused(const std::string& name) {
  const base::Outcome<std::unique_ptr<Catalog>> opened = openCatalog(name, CatalogAccess::kCreate);
  ASSERT_FALSE(opened) << name << " was opened";
  EXPECT_NE(opened.problem().find("has schema version 99, newer than this cdarchive's " +
                                  std::to_string(kCatalogSchemaVersion)),
            std::string::npos)
      << opened.problem();
}

}  // namespace catalog
