// libFuzzer target: arbitrary bytes as an ISO 9660 image, read the way both
// programs read one (libarchive's pass, the kept bytes, the hidden flags) and
// every file of it verified.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/host_profile_dialect.h"
#include "sources/disk_image.h"
#include "survey/disk_survey.h"
#include "verify/data_file_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // A file of this process's own: the input's bytes as an image.
  static const std::string path =
      (std::filesystem::temp_directory_path() /
       ("cdverify-fuzz-" + std::to_string(std::random_device{}()) + ".iso"))
          .string();
  {
    std::ofstream image(path, std::ios::binary | std::ios::trunc);
    image.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const base::Outcome<sources::OpenedDisk> opened = sources::openDisk(
      path, platform::systemDisk(), verify::verificationKeepPolicy(platform::kHostProfileDialect));
  for (const bool plane : {false, true}) {
    if (!opened) break;
    walk::WalkSettings settings;
    settings.archiveDisk = path;
    settings.fileExtension = "*";
    settings.planeMode = plane ? 1 : 0;
    settings.streamLetter = 'P';
    (void)survey::surveyDisk(settings, *opened->disk);
  }
  return 0;
}
