#include <gtest/gtest.h>

#include "platform/shared_library.h"

namespace platform {
namespace {

TEST(SharedLibrary, LoadsALibraryAndFindsItsFunctionsOrSaysWhyNot) {
  const base::Outcome<SharedLibrary> c = loadSharedLibrary("libc.so.6");
  ASSERT_TRUE(c) << c.problem();
  using Length = std::size_t (*)(const char*);
  const auto length = reinterpret_cast<Length>(functionOf(*c, "strlen"));
  ASSERT_NE(length, nullptr);
  EXPECT_EQ(length("archive"), 7u);
  EXPECT_EQ(functionOf(*c, "no_such_function_anywhere"), nullptr);

  const base::Outcome<SharedLibrary> missing = loadSharedLibrary("libno-such-library.so.9");
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.problem().find("libno-such-library.so.9"), std::string::npos)
      << missing.problem();
}

}  // namespace
}  // namespace platform
