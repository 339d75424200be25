// make_sample_disk DIRECTORY: writes the bundled sample disk into DIRECTORY.

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tools/datagen/sample_disk.h"

namespace {

constexpr const char* kUsage = "usage: make_sample_disk DIRECTORY\n";

constexpr const char* kHelp =
    "Writes the bundled sample disk into DIRECTORY (emptied first), the same bytes\n"
    "every time: two date folders of permanent-stream files with a gap between them,\n"
    "a trigger file, a file whose latitude changes, one whose clocks disagree, an\n"
    "empty file, a hidden file, a decoy folder and a stray file in the root.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::printf("%s\n%s", kUsage, kHelp);
    return 0;
  }
  if (argc != 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "%sTry make_sample_disk --help.\n", kUsage);
    return 2;
  }
  std::filesystem::remove_all(argv[1]);
  datagen::makeSampleDisk(argv[1]);
  return 0;
}
