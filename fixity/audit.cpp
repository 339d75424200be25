#include "fixity/audit.h"

#include <algorithm>
#include <map>

namespace fixity {

namespace {

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The path of an escaped line, or nothing when an escape is unknown.
std::optional<std::string> unescaped(std::string_view path) {
  std::string text;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '\\') {
      text += path[i];
      continue;
    }
    if (++i == path.size()) return std::nullopt;
    if (path[i] == '\\') {
      text += '\\';
    } else if (path[i] == 'n') {
      text += '\n';
    } else if (path[i] == 'r') {
      text += '\r';
    } else {
      return std::nullopt;
    }
  }
  return text;
}

}  // namespace

base::Outcome<std::vector<FileFixity>> readManifest(std::string_view text) {
  if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos)
    return base::failure("byte " + std::to_string(zero) +
                         " is a NUL byte: it is not a manifest's text");
  std::vector<FileFixity> files;
  std::map<std::string, std::size_t> lineOf;  // each path's line
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const bool escaped = line.front() == '\\';
    if (escaped) line.remove_prefix(1);
    const auto bad = [&](const char* why) {
      return base::failure("line " + std::to_string(lineNumber) + ": " + why);
    };
    if (line.size() < 64 || !std::all_of(line.begin(), line.begin() + 64, isHexDigit))
      return bad("it does not begin with a SHA-256 of 64 hex digits");
    if (line.size() < 67 || line[64] != ' ' || (line[65] != ' ' && line[65] != '*'))
      return bad("the digest is not followed by two blanks (or a blank and '*') and a path");
    std::string digest(line.substr(0, 64));
    std::transform(digest.begin(), digest.end(), digest.begin(),
                   [](char c) { return c >= 'A' && c <= 'F' ? static_cast<char>(c + 32) : c; });
    std::optional<std::string> path(line.substr(66));
    if (escaped) path = unescaped(*path);
    if (!path) return bad("its path holds an unknown escape");
    if (const auto [before, isNew] = lineOf.emplace(*path, lineNumber); !isNew) {
      return base::failure("line " + std::to_string(lineNumber) + ": its path is listed on line " +
                           std::to_string(before->second) + " already");
    }
    files.push_back(FileFixity{std::move(*path), -1, std::move(digest), {}});
  }
  if (files.empty()) return base::failure("it lists no file");
  return files;
}

const char* auditStatusName(AuditStatus status) {
  switch (status) {
    case AuditStatus::kMatched:
      return "matched";
    case AuditStatus::kChanged:
      return "changed";
    case AuditStatus::kMoved:
      return "moved";
    case AuditStatus::kMissing:
      return "missing";
    case AuditStatus::kNew:
      return "new";
    case AuditStatus::kUnreadable:
      return "unreadable";
  }
  return "matched";
}

AuditStatus auditStatusNamed(std::string_view name) {
  for (const AuditStatus status :
       {AuditStatus::kChanged, AuditStatus::kMoved, AuditStatus::kMissing, AuditStatus::kNew,
        AuditStatus::kUnreadable}) {
    if (name == auditStatusName(status)) return status;
  }
  return AuditStatus::kMatched;
}

std::vector<AuditEntry> audit(const std::vector<FileFixity>& recorded,
                              const std::vector<FileFixity>& found,
                              const std::vector<std::string>& unlisted) {
  std::map<std::string, const FileFixity*> recordedByPath;
  for (const FileFixity& file : recorded) recordedByPath[file.path] = &file;
  std::vector<AuditEntry> entries;
  std::map<std::string, const FileFixity*> foundByPath;
  std::multimap<std::string, std::size_t> newByDigest;  // entries of new files
  for (const FileFixity& file : found) {
    foundByPath[file.path] = &file;
    const auto was = recordedByPath.find(file.path);
    AuditEntry entry{AuditStatus::kMatched, file.path, {}, {}, true, false};
    if (file.size < 0 || !file.unreadable.empty()) {
      entry.status = AuditStatus::kUnreadable;
      entry.unreadable = file.unreadable;
      entry.opened = file.size >= 0;
    } else if (was == recordedByPath.end()) {
      entry.status = AuditStatus::kNew;
      newByDigest.emplace(file.sha256, entries.size());
    } else if (was->second->sha256 != file.sha256 ||
               (was->second->size >= 0 && was->second->size != file.size)) {
      entry.status = AuditStatus::kChanged;
    }
    entries.push_back(std::move(entry));
  }
  const auto unseen = [&](const std::string& path) {
    return std::any_of(unlisted.begin(), unlisted.end(), [&](const std::string& directory) {
      return path.compare(0, directory.size(), directory) == 0;
    });
  };
  for (const std::string& directory : unlisted)
    entries.push_back(AuditEntry{AuditStatus::kUnreadable, directory, {}, {}, false, true});
  for (const FileFixity& file : recorded) {
    if (foundByPath.count(file.path) != 0) continue;
    const auto moved = file.sha256.empty() ? newByDigest.end() : newByDigest.find(file.sha256);
    if (moved != newByDigest.end()) {
      entries[moved->second].status = AuditStatus::kMoved;
      entries[moved->second].from = file.path;
      newByDigest.erase(moved);
    } else if (!unseen(file.path)) {
      entries.push_back(AuditEntry{AuditStatus::kMissing, file.path, {}, {}, true, false});
    }
  }
  std::sort(entries.begin(), entries.end(),
            [](const AuditEntry& a, const AuditEntry& b) { return a.path < b.path; });
  return entries;
}

}  // namespace fixity
