#include "sources/volume_identifier.h"

#include <cstring>

#include "platform/path_rules.h"
#include "sources/iso9660.h"

namespace sources {

std::optional<std::string> isoVolumeIdentifier(platform::Disk& host, const std::string& setting) {
  // "x.iso/" names the image too, as openDisk reads it.
  const std::string path = platform::withoutTrailingSeparators(setting);
  const base::Outcome<platform::FileFacts> facts = host.inspect(path);
  if (!facts || !facts->regular) return std::nullopt;
  const base::Outcome<std::unique_ptr<platform::OpenFile>> file = host.openForReading(path);
  if (!file) return std::nullopt;
  // Type 1, "CD001", version 1; the identifier is bytes 40 to 71.
  char descriptor[72];
  if (!(*file)->readWhole(iso9660::kPrimaryDescriptor, descriptor, sizeof descriptor) ||
      std::memcmp(descriptor,
                  "\x01"
                  "CD001\x01",
                  7) != 0) {
    return std::nullopt;
  }
  std::string identifier(descriptor + 40, 32);
  identifier.erase(identifier.find_last_not_of(' ') + 1);
  if (identifier.empty()) return std::nullopt;
  return identifier;
}

}  // namespace sources
