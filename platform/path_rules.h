#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Separator between the parts of a path on this host.
extern const char kPathSeparator;

// The root of the archive disk named by the -archDisk setting, ending in the path
// separator: a drive letter's root on Windows ("g" gives "g:\"; a setting that
// ends in a separator is a folder's root and stays), a directory on POSIX ("g"
// gives "g/", "/mnt/cd/" stays "/mnt/cd/"). Nothing when the setting
// names no disk at all (the empty text on POSIX): the walk must then find nothing
// rather than fall back to the file system's root.
std::optional<std::string> diskRoot(std::string_view disk);

// The disk setting an operator's input names: on Windows a drive, given by its
// letter alone or with its colon ("g", "g:" or "g:\\"), is its letter, and
// any longer input is a folder, given as its root ("d:\\disks\\042\\"); on
// POSIX the input is the setting.
std::string diskSettingOf(std::string_view input);

// A hint for a disk setting that names nothing because of how it is spelled
// (on Windows a drive given with its colon, "g:" or "g:\\", where the setting
// wants the letter alone); nothing when there is none.
std::optional<std::string> diskSettingHint(std::string_view disk);

// The path without the separators that end it, unless they are all of it or
// end a drive's root ("/" and "g:\\" stay): "x.iso/" names the file x.iso.
std::string withoutTrailingSeparators(std::string path);

// True when the resolved path lies inside the resolved directory (or is it),
// names compared as the host compares them.
bool isInside(std::string_view path, std::string_view directory);

// True when two resolved paths name the same place, as the host compares names.
bool samePath(std::string_view a, std::string_view b);

// The directory part of a search pattern or path: everything up to and
// including its last path separator; empty when it has none.
inline std::string directoryPart(const std::string& pattern) {
  const std::size_t separator = pattern.rfind(kPathSeparator);
  return separator == std::string::npos ? std::string() : pattern.substr(0, separator + 1);
}

}  // namespace platform
