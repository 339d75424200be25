#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/disk.h"

namespace guard {

// Decides which files a run may write: never the disks it reads. A disk is a
// folder (its whole tree, however reached) or an image file; a target is judged
// by what it is, not by how its path is spelled.
class WriteGuard {
 public:
  // Why a target must not be written.
  struct Refusal {
    bool unreachable = false;  // the target's place cannot be told; it cannot be opened either
    std::string reason;        // e.g. "lies inside the disk sample"
  };

  // host answers for every path: the guard never asks a disk image's tree.
  explicit WriteGuard(platform::Disk& host) : host_(host) {}

  // Protects the disk that setting names (a folder, a drive, an image file),
  // however spelled ("x.iso/", "./sample", "sample//"): at least the place it
  // resolves to, and by identity too where it is a folder or a file. A setting
  // that names nothing there (no such disk, no disk in the drive) protects
  // nothing: where there is no disk, no write can damage one, and a file of
  // that name may be written.
  void protect(std::string_view setting);

  // Why path must not be written, or nothing when it may be. Refused are: a
  // path whose place cannot be resolved; a place inside a protected folder, or
  // inside one of its other names (a bind mount); the image file itself by any
  // name (hard links too); and an existing file with more than one name on a
  // protected folder's volume, since one of those names may lie on the disk.
  std::optional<Refusal> refusal(const std::string& path);

 private:
  struct ProtectedDisk {
    std::string shown;                         // the setting, as messages name it
    std::string place;                         // resolved
    std::optional<platform::FileFacts> facts;  // nothing: neither a folder nor a file
    bool image() const { return facts && facts->regular; }
  };

  platform::Disk& host_;
  std::vector<ProtectedDisk> disks_;
};

}  // namespace guard
