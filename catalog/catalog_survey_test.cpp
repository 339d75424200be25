#include "catalog/catalog_survey.h"

#include <gtest/gtest.h>

#include "platform/path_rules.h"
#include "tests/support/file_records.h"

namespace catalog {
namespace {

// A digest is recorded only of bytes that were read: a data file that the
// survey saw and the whole read never told of leaves the disk without fixity.
TEST(CatalogSurvey, FixityIsTakenOnlyWhenEveryDataFileWasReadForItsDigest) {
  const std::string root = std::string("d") + platform::kPathSeparator;
  CataloguedDisk disk;
  for (const char* name : {"P1.DAT", "P2.DAT"})
    disk.files.push_back({testsupport::usableFile(root + name, 0, 60), 7256, 1, {}, {}});
  const FileFactsRecorder facts{walk::WalkSettings{}};
  const fixity::FileFixity p1{"P1.DAT", 7256, std::string(64, 'a'), {}};
  const fixity::FileFixity p2{"P2.DAT", 7256, std::string(64, 'b'), {}};

  const base::Status partly = addFixity(disk, {p1}, root, facts);
  ASSERT_FALSE(partly);
  EXPECT_EQ(partly.problem(), root + "P2.DAT was never read for its digest: no fixity taken");
  EXPECT_TRUE(disk.held.empty());

  EXPECT_TRUE(addFixity(disk, {p1, p2}, root, facts));
  EXPECT_EQ(disk.held.size(), 2u);
}

}  // namespace
}  // namespace catalog
