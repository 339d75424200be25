// Builds without image support: the disk is always the host's.

#include "image/disk_image.h"

base::Outcome<image::OpenedDisk> image::openDisk(const std::string&, platform::Disk& host,
                                                 const base::KeepPolicy&) {
  OpenedDisk opened;
  opened.disk = &host;
  return opened;
}
