#include <gtest/gtest.h>

#include "platform/shared_library.h"

namespace platform {
namespace {

TEST(SharedLibrary, LoadsALibraryAndFindsItsFunctionsOrSaysWhyNot) {
  const base::Outcome<SharedLibrary> c = loadSharedLibrary("libc.so.6");
  ASSERT_TRUE(c) << c.problem();
  std::size_t (*length)(const char*) = nullptr;
  ASSERT_TRUE(findFunction(*c, "strlen", length));
  EXPECT_EQ(length("archive"), 7u);
  EXPECT_EQ(functionOf(*c, "no_such_function_anywhere"), nullptr);

  const base::Outcome<SharedLibrary> missing = loadSharedLibrary("libno-such-library.so.9");
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.problem().find("libno-such-library.so.9"), std::string::npos)
      << missing.problem();
}

}  // namespace
}  // namespace platform
