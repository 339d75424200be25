#include "survey/input_disk.h"

#include <algorithm>

#include "base/printable_name.h"
#include "platform/host_profile_dialect.h"
#include "platform/path_rules.h"
#include "sources/disk_image.h"
#include "survey/disk_survey.h"
#include "verify/data_file_bytes.h"

namespace survey {

base::Outcome<DiskSurvey> surveyInputDisk(const std::string& input, walk::WalkSettings& walk,
                                          platform::Disk& host, guard::WriteGuard& guard,
                                          walk::WalkProgress* progress,
                                          verify::VerificationListener* also,
                                          base::FileBytesListener* everyByte) {
  const std::string name = base::printableName(input);
  const std::string setting = platform::diskSettingOf(input);  // "g:" is the drive g
  guard.protect(setting);
  base::KeepPolicy policy = verify::verificationKeepPolicy(platform::kHostProfileDialect);
  policy.everyByte = everyByte;
  const base::Outcome<sources::OpenedDisk> opened = sources::openDisk(setting, host, policy);
  if (!opened) return base::failure("disk image " + name + " cannot be read: " + opened.problem());
  walk.archiveDisk = setting;
  base::Outcome<DiskSurvey> survey = surveyDisk(walk, *opened->disk, progress, also);
  if (!survey) survey = base::failure("disk " + name + ": " + survey.problem());
  for (const std::string& warning : opened.warnings)
    survey.warnings.push_back("disk image " + name + ": " + warning);
  if (!survey) return survey;
  // The walk's own, and those a whole read of the folder met beyond it.
  std::vector<std::string>& unreadable = survey->unreadableDirectories;
  for (const std::string& directory : opened->unreadableDirectories)
    unreadable.push_back(base::printableName(directory));
  std::sort(unreadable.begin(), unreadable.end());
  unreadable.erase(std::unique(unreadable.begin(), unreadable.end()), unreadable.end());
  return survey;
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
