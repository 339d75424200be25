#include "survey/input_disk.h"

#include <algorithm>

#include "base/printable_name.h"
#include "platform/host_profile_dialect.h"
#include "platform/path_rules.h"
#include "sources/disk_image.h"
#include "survey/disk_survey.h"
#include "verify/data_file_bytes.h"

namespace survey {

DiskRead surveyInputDisk(const std::string& input, walk::WalkSettings& walk, platform::Disk& host,
                         guard::WriteGuard& guard, walk::WalkProgress* progress,
                         verify::VerificationListener* also, base::FileBytesListener* everyByte) {
  const std::string name = base::printableName(input);
  const std::string setting = platform::diskSettingOf(input);  // "g:" is the drive g
  guard.protect(setting);
  DiskRead read;
  base::KeepPolicy policy = verify::verificationKeepPolicy(platform::kHostProfileDialect);
  policy.everyByte = everyByte;
  const base::Outcome<sources::OpenedDisk> opened = sources::openDisk(setting, host, policy);
  if (!opened) {
    read.problem = "disk image " + name + " cannot be read: " + opened.problem();
    return read;
  }
  for (const std::string& warning : opened.warnings)
    read.warnings.push_back("disk image " + name + ": " + warning);
  walk.archiveDisk = setting;
  std::optional<survey::DiskSurvey> survey =
      survey::surveyDisk(walk, *opened->disk, progress, also);
  if (!survey) {
    read.problem = "disk " + name + ": no such disk, or nothing on it";
    return read;
  }
  read.record = std::move(survey->record);
  // The walk's own, and those a whole read of the folder met beyond it.
  std::vector<std::string>& unreadable = read.unreadableDirectories;
  unreadable = std::move(survey->unreadableDirectories);
  for (const std::string& directory : opened->unreadableDirectories)
    unreadable.push_back(base::printableName(directory));
  std::sort(unreadable.begin(), unreadable.end());
  unreadable.erase(std::unique(unreadable.begin(), unreadable.end()), unreadable.end());
  return read;
}

base::Outcome<std::string> readWholeFile(platform::Disk& disk, const std::string& path) {
  const base::Outcome<std::unique_ptr<platform::OpenFile>> opened = disk.openForReading(path);
  if (!opened) return base::failure(opened.problem());
  platform::OpenFile& file = **opened;
  if (file.length() < 0) return base::failure("its length cannot be told");
  std::string bytes(static_cast<std::size_t>(file.length()), '\0');
  if (!file.readWhole(0, bytes.data(), bytes.size())) return base::failure("it cannot be read");
  return bytes;
}

}  // namespace survey
