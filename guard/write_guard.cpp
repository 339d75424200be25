#include "guard/write_guard.h"

#include "base/printable_name.h"
#include "platform/path_rules.h"

namespace guard {

namespace {

// The directory that holds path; empty for a root ("/", "g:\\").
std::string parentOf(const std::string& path) {
  const std::string trimmed = platform::withoutTrailingSeparators(path);
  if (!trimmed.empty() && trimmed.back() == platform::kPathSeparator) return {};
  return platform::directoryPart(trimmed);
}

}  // namespace

void WriteGuard::protect(std::string_view setting) {
  const std::optional<std::string> root = platform::diskRoot(setting);
  if (!root) return;
  const base::Outcome<std::string> place =
      host_.resolve(platform::withoutTrailingSeparators(*root));
  if (!place) return;
  const base::Outcome<platform::FileFacts> found = host_.inspect(*place);
  if (!found) return;  // no disk there: nothing to damage
  std::optional<platform::FileFacts> facts;
  if (found->directory || found->regular) facts = *found;
  disks_.push_back({base::printableName(setting), *place, facts});
}

std::optional<WriteGuard::Refusal> WriteGuard::refusal(const std::string& path) {
  const base::Outcome<std::string> place = host_.resolve(path);
  if (!place) return Refusal{true, "cannot be reached (a folder on its way is missing)"};
  const base::Outcome<platform::FileFacts> target = host_.inspect(*place);
  for (const ProtectedDisk& disk : disks_) {
    const bool sameFile = target && disk.facts && (target->regular || target->directory) &&
                          target->identity == disk.facts->identity;
    if (disk.image()) {
      if (sameFile || platform::isInside(*place, disk.place)) {
        return Refusal{false, "is the disk image " + disk.shown};
      }
      continue;
    }
    bool inside = sameFile || platform::isInside(*place, disk.place);
    for (std::string up = parentOf(*place); !inside && disk.facts && !up.empty();
         up = parentOf(up)) {
      const base::Outcome<platform::FileFacts> folder = host_.inspect(up);
      inside = folder && folder->directory && folder->identity == disk.facts->identity;
    }
    if (inside) return Refusal{false, "lies inside the disk " + disk.shown};
    if (disk.facts && target && target->regular && target->links > 1 &&
        target->identity.volume == disk.facts->identity.volume) {
      return Refusal{false, "has other names on the volume of the disk " + disk.shown +
                                ", which may lie on the disk"};
    }
  }
  return std::nullopt;
}

}  // namespace guard
