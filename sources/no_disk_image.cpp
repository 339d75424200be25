// Builds without image support: the disk is always the host's.

#include "sources/disk_image.h"

base::Outcome<sources::OpenedDisk> sources::openDisk(const std::string&, platform::Disk& host,
                                                     const base::KeepPolicy&) {
  OpenedDisk opened;
  opened.disk = &host;
  return opened;
}
