// make_large_disk DIRECTORY FILES [RECORDS]: writes a disk of FILES
// permanent-stream data files of RECORDS records each (default 6, 7 KiB a file)
// in the "subdir" layout, 200 to a date directory, each day's files back to back
// and a gap between days; every tenth file has a trigger-stream twin. For timing
// whole runs at archive scale.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/datagen/data_file.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: make_large_disk DIRECTORY FILES [RECORDS]\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const long files = std::strtol(argv[2], nullptr, 10);
  const auto records = static_cast<int32_t>(argc == 4 ? std::strtol(argv[3], nullptr, 10) : 6);
  constexpr int32_t kFirstDay = 1150329600;  // 15-06-2006 00:00:00
  constexpr int kFilesPerDay = 200;
  std::filesystem::remove_all(root);
  for (long i = 0; i < files; ++i) {
    const auto day = static_cast<int32_t>(i / kFilesPerDay);
    const auto slot = static_cast<int32_t>(i % kFilesPerDay);
    const int32_t start = kFirstDay + day * 86400 + slot * 60;
    const std::string dayName = datagen::dateText(start);  // dd-mm-yyyy
    const std::string dir =
        dayName.substr(6, 4) + dayName.substr(3, 2) + dayName.substr(0, 2);  // yyyymmdd
    char name[32];
    std::snprintf(name, sizeof name, "P%04d%03d.DAT", static_cast<int>(day % 10000),
                  static_cast<int>(slot));
    datagen::DataFile().startingAt(start).records(records).writeTo(root / dir / name);
    if (slot % 10 == 0) {
      name[0] = 'T';
      datagen::DataFile().startingAt(start + 30).records(records).writeTo(root / dir / name);
    }
  }
  return 0;
}
