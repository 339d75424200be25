#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "base/voice.h"
#include "catalog/catalog.h"
#include "walk/archive_walk.h"

namespace cdarchive {

// The program's name, which begins its messages.
inline constexpr const char* kArchiveName = "cdarchive";

// "cdarchive" and the project's version, as --version answers.
inline constexpr const char* kArchiveVersion = "cdarchive " CDVERIFY_VERSION;

enum class Command : uint8_t {
  kAdd,
  kFind,
  kAvailability,
  kDisks,
  kRemove,
  kManifest,
  kCheck,
  kSafety
};

struct ArchiveOptions {
  Command command = Command::kDisks;
  std::string catalog = "archive.db";  // a file, or a PostgreSQL URL
  // add, check (one disk)
  walk::WalkSettings walk;  // archiveDisk is set per disk
  std::string label;        // --as: empty for the disk's own name
  std::vector<std::string> disks;
  std::string manifest;     // check: a manifest file to audit against, not the catalogue
  bool fixity = true;       // every byte read and a SHA-256 taken of each file
  bool allowEmpty = false;  // a disk without a data file of the stream is recorded too
  bool replace = false;     // another disk under a label already catalogued replaces it
  // find, availability, safety
  std::string station;  // empty: every station (not for find)
  std::optional<int64_t> from;
  std::optional<int64_t> to;
  std::string format = "text";
  bool extent = false;
  int64_t mergeGaps = 0;
  // safety: list the disks last proven longer ago than this many seconds
  std::optional<int64_t> olderThan;
  // remove, manifest
  std::string diskLabel;
  // find, availability, remove, manifest: which of a disk's streams (add and
  // check have it in walk)
  catalog::DiskStream stream = catalog::DiskStream::kPermanent;
};

// Reads the command line into options. Returns the exit status when the run
// must end here: 0 after --help or --version (written to out), 2 after a bad
// command, option or value (a message in voice); nothing when the run goes on.
std::optional<int> parseArchiveOptions(int argc, const char* const* argv, ArchiveOptions& options,
                                       std::ostream& out, base::Voice& voice);

}  // namespace cdarchive
