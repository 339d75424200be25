#include "tools/datagen/sample_disk.h"

#include <fstream>

#include "tools/datagen/data_file.h"

namespace datagen {

void makeSampleDisk(const std::filesystem::path& root) {
  constexpr int32_t kJune15Noon = 1150372800;     // 15-06-2006 12:00:00
  constexpr int32_t kJune16Morning = 1150444800;  // 16-06-2006 08:00:00
  constexpr int32_t kFileSeconds = 60;

  const std::filesystem::path day1 = root / "20060615";
  for (int32_t i = 0; i < 3; ++i) {
    DataFile()
        .startingAt(kJune15Noon + i * kFileSeconds)
        .writeTo(day1 / ("P061500" + std::to_string(i + 1) + ".DAT"));
  }
  DataFile().startingAt(kJune15Noon + 30).writeTo(day1 / "T0615001.DAT");

  const std::filesystem::path day2 = root / "20060616";
  DataFile().startingAt(kJune16Morning).writeTo(day2 / "P0616001.DAT");
  DataFile()
      .startingAt(kJune16Morning + kFileSeconds)
      .set("SYSTEM", "LAT", "49.1240N")
      .writeTo(day2 / "P0616002.DAT");
  // The internal clock started two seconds after the external one.
  DataFile()
      .startingAt(kJune16Morning + 2 * kFileSeconds)
      .set("FILE", "TIME_EXT", timeText(kJune16Morning + 2 * kFileSeconds - 1))
      .set("SYSTEM", "LAT", "49.1240N")
      .writeTo(day2 / "P0616003.DAT");
  std::ofstream(day2 / "P0616004.DAT", std::ios::binary | std::ios::trunc);
  DataFile().startingAt(kJune16Morning + 4 * kFileSeconds).writeTo(day2 / ".P0616005.DAT");

  DataFile().writeTo(root / "2006-06-17" / "P0617001.DAT");
  DataFile().writeTo(root / "P0000001.DAT");
}

}  // namespace datagen
