// make_sample_disk DIRECTORY: writes the bundled sample disk into DIRECTORY.

#include <cstdio>
#include <filesystem>

#include "tools/datagen/sample_disk.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_disk DIRECTORY\n");
    return 2;
  }
  std::filesystem::remove_all(argv[1]);
  datagen::makeSampleDisk(argv[1]);
  return 0;
}
