#pragma once

#include <optional>
#include <string>

#include "platform/disk.h"

namespace sources {

// The volume identifier of the ISO 9660 image a disk setting names ("x.iso" or
// "x.iso/"), read from its primary volume descriptor through host, blanks at
// its end dropped: the name a disk's maker gave it. Nothing when the setting
// names no such image or the identifier is blank.
std::optional<std::string> isoVolumeIdentifier(platform::Disk& host, const std::string& setting);

}  // namespace sources
