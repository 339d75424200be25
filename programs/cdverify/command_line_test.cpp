#include "programs/cdverify/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cdverify {

namespace {

std::vector<const char*> pointersTo(const std::vector<std::string>& texts) {
  std::vector<const char*> pointers;
  for (const std::string& text : texts) pointers.push_back(text.c_str());
  return pointers;
}

// The result of findOption, then the value buffer's first capacity bytes (up
// to a terminator).
std::string lookUp(const std::vector<std::string>& arguments, const char* name,
                   int capacity = 100) {
  const auto argv = pointersTo(arguments);
  std::vector<char> buffer(static_cast<std::size_t>(std::max(capacity, 0)) + 1, '\0');
  const int result =
      findOption(static_cast<int>(argv.size()), argv.data(), name, buffer.data(), capacity);
  return std::to_string(result) + ":" + buffer.data();
}

TEST(FindOption, ArgumentMatchesWhenTheTextBeforeItsFirstEqualsLeadsTheName) {
  EXPECT_EQ(lookUp({"-mode=plane"}, "-mode"), "0:plane");
  EXPECT_EQ(lookUp({"-mo=plane"}, "-mode"), "0:plane");
  EXPECT_EQ(lookUp({"-=x"}, "-fileExt"), "0:x");
  EXPECT_EQ(lookUp({"-fileExt=a=b"}, "-fileExt"), "0:a=b");
  EXPECT_EQ(lookUp({"", "-mode=subdir"}, "-mode"), "0:subdir");         // empty skipped
  EXPECT_EQ(lookUp({"-m=plane", "-mode=subdir"}, "-mode"), "0:plane");  // argv[0] too, first wins
  for (const char* argument : {"-modes=plane", "-Mode=plane", "-mode", "=plane"}) {
    EXPECT_EQ(lookUp({argument}, "-mode"), "2:") << argument;
  }
  EXPECT_EQ(lookUp({}, "-mode"), "2:");
}

TEST(FindOption, ValueThatDoesNotFitGivesOneAndNoTerminator) {
  EXPECT_EQ(lookUp({"-fileExt=abcd"}, "-fileExt", 4), "1:abcd");
  EXPECT_EQ(lookUp({"-fileExt=abc"}, "-fileExt", 4), "0:abc");
  EXPECT_EQ(lookUp({"-fileExt=abc"}, "-fileExt", 0), "1:");
  EXPECT_EQ(lookUp({"-fileExt=" + std::string(100, 'x'), "-fileExt=DAT"}, "-fileExt").substr(0, 2),
            "1:");
}

// The settings as one line: disk, extension, the four logs, letter, plane, trigger.
std::string parse(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "cdverify");
  const auto argv = pointersTo(arguments);
  RunSettings s;
  parseCommandLine(static_cast<int>(argv.size()), argv.data(), s);
  std::string line;
  for (const auto* field : {&s.archiveDisk, &s.fileExtension, &s.infoLogName, &s.warningLogName,
                            &s.errorLogName, &s.summaryLogName}) {
    line += std::string(field->view()) + " ";
  }
  return line + (s.streamLetter == '\0' ? std::string("NUL") : std::string(1, s.streamLetter)) +
         " " + std::to_string(s.planeMode) + std::to_string(s.triggerStream);
}

TEST(ParseCommandLine, EachOptionSetsItsSetting) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "g * log.out log.out log.out log.out P 00"},
      {{"-f=x"}, "g x x x x x x 00"},
      {{"-=x"}, "x x x x x x x 00"},
      {{"-m=plane", "-stream=trigger"}, "g * log.out log.out log.out log.out P 11"},
      {{"-mode=Plane", "-stream=TRIGGER"}, "g * log.out log.out log.out log.out P 00"},
      {{"-mode=plane", "-mode=subdir"}, "g * log.out log.out log.out log.out P 10"},
      {{"-fileExt=", "-firstbyte="}, "g  log.out log.out log.out log.out NUL 00"},
      {{"-firstbyte=Tx", "-fNameWarning=w.log"}, "g * log.out w.log log.out log.out T 00"},
  };
  for (const auto& [arguments, settings] : cases) EXPECT_EQ(parse(arguments), settings);
}

TEST(ParseCommandLine, LongValuesAreCutOrRefused) {
  const std::string rest = " * log.out log.out log.out log.out P 00";
  EXPECT_EQ(parse({"-archDisk=" + std::string(50, 'd')}), std::string(49, 'd') + rest);
  EXPECT_EQ(parse({"-archDisk=" + std::string(99, 'd')}), std::string(49, 'd') + rest);
  EXPECT_EQ(parse({"-archDisk=" + std::string(100, 'd')}), "g" + rest);
}

}  // namespace

}  // namespace cdverify
