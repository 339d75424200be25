#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Arguments {
  explicit Arguments(std::vector<std::string> list) : texts(std::move(list)) {
    for (const std::string& text : texts) pointers.push_back(text.c_str());
  }
  int argc() const { return static_cast<int>(pointers.size()); }
  const char* const* argv() const { return pointers.data(); }
  std::vector<std::string> texts;
  std::vector<const char*> pointers;
};

RunSettings parse(std::vector<std::string> list) {
  list.insert(list.begin(), "cdverify");
  Arguments arguments(list);
  RunSettings settings;
  parseCommandLine(arguments.argc(), arguments.argv(), settings);
  return settings;
}

int lookUp(std::vector<std::string> list, const char* name, std::string* value,
           int capacity = 100) {
  Arguments arguments(std::move(list));
  std::vector<char> buffer(static_cast<std::size_t>(std::max(capacity, 1)) + 1, '#');
  const int result = findOption(arguments.argc(), arguments.argv(), name, buffer.data(), capacity);
  *value = std::string(buffer.data(), static_cast<std::size_t>(std::max(capacity, 0)));
  return result;
}

TEST(FindOption, WholeNameMatches) {
  std::string value;
  EXPECT_EQ(lookUp({"-mode=plane"}, "-mode", &value), 0);
  EXPECT_STREQ(value.c_str(), "plane");
}

TEST(FindOption, PrefixOfNameMatches) {
  std::string value;
  EXPECT_EQ(lookUp({"-mo=plane"}, "-mode", &value), 0);
  EXPECT_EQ(lookUp({"-=x"}, "-fileExt", &value), 0);
  EXPECT_STREQ(value.c_str(), "x");
}

TEST(FindOption, LongerDifferentOrUnequalTextDoesNotMatch) {
  std::string value;
  EXPECT_EQ(lookUp({"-modes=plane"}, "-mode", &value), 2);
  EXPECT_EQ(lookUp({"-Mode=plane"}, "-mode", &value), 2);
  EXPECT_EQ(lookUp({"-mode"}, "-mode", &value), 2);
  EXPECT_EQ(lookUp({"=plane"}, "-mode", &value), 2);  // nothing before '='
  EXPECT_EQ(lookUp({}, "-mode", &value), 2);
}

TEST(FindOption, EmptyArgumentsAreSkipped) {
  std::string value;
  EXPECT_EQ(lookUp({"", "-mode=subdir"}, "-mode", &value), 0);
  EXPECT_STREQ(value.c_str(), "subdir");
}

TEST(FindOption, ProgramPathIsSearchedToo) {
  std::string value;
  EXPECT_EQ(lookUp({"-m=plane", "-mode=subdir"}, "-mode", &value), 0);
  EXPECT_STREQ(value.c_str(), "plane");
}

TEST(FindOption, ValueRunsFromFirstEqualsSignAndKeepsLaterOnes) {
  std::string value;
  EXPECT_EQ(lookUp({"-fileExt=a=b"}, "-fileExt", &value), 0);
  EXPECT_STREQ(value.c_str(), "a=b");
}

TEST(FindOption, ValueThatDoesNotFitGivesOneAndNoTerminator) {
  std::string value;
  EXPECT_EQ(lookUp({"-fileExt=abcd"}, "-fileExt", &value, 4), 1);
  EXPECT_EQ(value, "abcd");
  EXPECT_EQ(lookUp({"-fileExt=abc"}, "-fileExt", &value, 4), 0);
  EXPECT_EQ(lookUp({"-fileExt=abc"}, "-fileExt", &value, 0), 1);
}

TEST(FindOption, FirstMatchDecidesEvenWhenItsValueIsTooLong) {
  std::string value;
  EXPECT_EQ(lookUp({"-fileExt=" + std::string(100, 'x'), "-fileExt=DAT"}, "-fileExt", &value), 1);
}

TEST(ParseCommandLine, NoArgumentsKeepEveryDefault) {
  const RunSettings settings = parse({});
  EXPECT_EQ(settings.archiveDisk.view(), "g");
  EXPECT_EQ(settings.fileExtension.view(), "*");
  EXPECT_EQ(settings.infoLogName.view(), "log.out");
  EXPECT_EQ(settings.warningLogName.view(), "log.out");
  EXPECT_EQ(settings.errorLogName.view(), "log.out");
  EXPECT_EQ(settings.summaryLogName.view(), "log.out");
  EXPECT_EQ(settings.streamLetter, 'P');
  EXPECT_EQ(settings.planeMode, 0);
  EXPECT_EQ(settings.triggerStream, 0);
}

TEST(ParseCommandLine, ShortPrefixesSetEveryOptionTheyLead) {
  const RunSettings settings = parse({"-f=x"});
  EXPECT_EQ(settings.archiveDisk.view(), "g");
  EXPECT_EQ(settings.fileExtension.view(), "x");
  EXPECT_EQ(settings.infoLogName.view(), "x");
  EXPECT_EQ(settings.summaryLogName.view(), "x");
  EXPECT_EQ(settings.streamLetter, 'x');
  EXPECT_EQ(settings.planeMode, 0);

  const RunSettings all = parse({"-=x"});
  EXPECT_EQ(all.archiveDisk.view(), "x");
  EXPECT_EQ(all.errorLogName.view(), "x");
  EXPECT_EQ(all.streamLetter, 'x');
  EXPECT_EQ(all.planeMode, 0);
  EXPECT_EQ(all.triggerStream, 0);
}

TEST(ParseCommandLine, ModeAndStreamTakeOnlyTheirExactWords) {
  EXPECT_EQ(parse({"-m=plane"}).planeMode, 1);
  EXPECT_EQ(parse({"-mode=Plane"}).planeMode, 0);
  EXPECT_EQ(parse({"-mode="}).planeMode, 0);
  EXPECT_EQ(parse({"-mode=plane", "-mode=subdir"}).planeMode, 1);
  EXPECT_EQ(parse({"-stream=trigger"}).triggerStream, 1);
  EXPECT_EQ(parse({"-stream=TRIGGER"}).triggerStream, 0);
}

TEST(ParseCommandLine, EmptyValues) {
  EXPECT_EQ(parse({"-fileExt="}).fileExtension.view(), "");
  EXPECT_EQ(parse({"-firstbyte="}).streamLetter, '\0');
  EXPECT_EQ(parse({"-firstbyte=Tx"}).streamLetter, 'T');
}

TEST(ParseCommandLine, LongValuesAreCutOrRefused) {
  const std::string fifty(50, 'd');
  EXPECT_EQ(parse({"-archDisk=" + fifty}).archiveDisk.view(), std::string(49, 'd'));
  EXPECT_EQ(parse({"-archDisk=" + std::string(99, 'd')}).archiveDisk.view(), std::string(49, 'd'));
  EXPECT_EQ(parse({"-archDisk=" + std::string(100, 'd')}).archiveDisk.view(), "g");
}

}  // namespace
