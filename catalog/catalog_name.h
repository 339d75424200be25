#pragma once

#include <optional>
#include <string>
#include <vector>

#include "guard/write_guard.h"

// What a catalogue's name says, on every host: its kind, how messages show
// it, and the files it may write.
namespace catalog {

// True when name is a PostgreSQL URL rather than a file.
inline bool isCatalogUrl(const std::string& name) {
  return name.rfind("postgresql://", 0) == 0 || name.rfind("postgres://", 0) == 0;
}

// name as messages show it: a URL's password (after the user's name, or a
// password parameter) stands as "***"; a file's name as it is.
std::string shownCatalogName(const std::string& name);

// The files a catalogue named name may write besides itself (SQLite's journal,
// its write-ahead log and its shared memory); none for a URL.
std::vector<std::string> companionFiles(const std::string& name);

// Why a run must not open the catalogue named name, which may write it or
// files beside it (guard judges each), as a message; nothing when it may.
std::optional<std::string> refusalOf(const std::string& name, guard::WriteGuard& guard);

}  // namespace catalog
