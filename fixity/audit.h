#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "fixity/file_fixity.h"

namespace fixity {

// Reads a manifest as sha256sum writes it: per line a digest of 64 hex digits
// (either case), a blank, a blank or '*' (binary mode), and the path; a line
// starting with a backslash has "\\", "\n" and "\r" in its path for a
// backslash, a line feed and a carriage return. Blank lines are passed over;
// CR LF line ends are taken. The files come without sizes (-1). A failure
// when a line is neither (its number given), when a path is listed twice,
// when the text holds a NUL byte, or when it lists no file.
base::Outcome<std::vector<FileFixity>> readManifest(std::string_view text);

// How a file found on a disk stands against what was recorded of it.
enum class AuditStatus { kMatched, kChanged, kMoved, kMissing, kNew, kUnreadable };

// "matched", "changed", "moved", "missing", "new", "unreadable".
const char* auditStatusName(AuditStatus status);
// The status of that name; kMatched for any other.
AuditStatus auditStatusNamed(std::string_view name);

struct AuditEntry {
  AuditStatus status = AuditStatus::kMatched;
  std::string path;                         // where it is now; for a missing file, where it was
  std::string from;                         // a moved file's recorded path
  std::vector<base::ByteRange> unreadable;  // of an unreadable file; none for one not opened
  bool opened = true;                       // false: an unreadable file that cannot be opened
  bool directory = false;                   // an unreadable directory, which cannot be listed
};

// Audits the files found on a disk against those recorded of it, as hashdeep
// audits: a file at a recorded path is matched when its digest is the same
// (and, where both are known, its size), changed when not (a recorded file
// whose bytes could not all be read then, read whole now, is changed), and
// unreadable when some of its bytes cannot be read now; a recorded file found
// under another path only (its digest among the new ones) is moved there;
// the rest of the recorded files are missing, of the found ones new. A
// directory that could not be listed (unlisted: paths as the files' are, ending
// in '/', "" for the root) is an unreadable entry of its own, and the recorded
// files below it that were not found are not called missing: nobody could see
// them. Entries in the order of the paths.
std::vector<AuditEntry> audit(const std::vector<FileFixity>& recorded,
                              const std::vector<FileFixity>& found,
                              const std::vector<std::string>& unlisted = {});

}  // namespace fixity
