#include "programs/cdverify/command_line.h"

#include <cstring>
#include <string_view>

namespace cdverify {

namespace {

constexpr int kValueBufferSize = 100;

// The value of argument when it matches name, else null.
const char* matchingValue(const char* argument, const char* name) {
  for (std::size_t j = 0; argument[j] != '\0'; ++j) {
    if (j >= 1 && argument[j] == '=') return argument + j + 1;
    if (name[j] == '\0' || argument[j] != name[j]) return nullptr;
  }
  return nullptr;
}

}  // namespace

int findOption(int argc, const char* const* argv, const char* name, char* value,
               int valueCapacity) {
  for (int i = 0; i < argc; ++i) {
    const char* argument = argv[i];
    if (argument == nullptr || argument[0] == '\0') continue;
    const char* found = matchingValue(argument, name);
    if (found == nullptr) continue;
    for (int k = 0; k < valueCapacity; ++k) {
      value[k] = found[k];
      if (found[k] == '\0') return 0;
    }
    return 1;
  }
  return 2;
}

void parseCommandLine(int argc, const char* const* argv, RunSettings& settings) {
  char value[kValueBufferSize];
  const auto text = [&](const char* name, base::FixedText<kSettingFieldSize>& field) {
    if (findOption(argc, argv, name, value, kValueBufferSize) == 0) {
      field.fill(base::fitTerminated(value, kSettingFieldSize));
    }
  };
  text("-archDisk", settings.archiveDisk);
  text("-fileExt", settings.fileExtension);
  text("-fNameInfo", settings.infoLogName);
  text("-fNameWarning", settings.warningLogName);
  text("-fNameError", settings.errorLogName);
  text("-fNameSummary", settings.summaryLogName);
  if (findOption(argc, argv, "-mode", value, kValueBufferSize) == 0) {
    if (std::string_view(value) == "plane") settings.planeMode = 1;
    if (std::string_view(value) == "subdir") settings.planeMode = 0;
  }
  if (findOption(argc, argv, "-stream", value, kValueBufferSize) == 0) {
    if (std::string_view(value) == "trigger") settings.triggerStream = 1;
    if (std::string_view(value) == "permanent") settings.triggerStream = 0;
  }
  if (findOption(argc, argv, "-firstbyte", value, kValueBufferSize) == 0) {
    settings.streamLetter = value[0];
  }
}

}  // namespace cdverify
