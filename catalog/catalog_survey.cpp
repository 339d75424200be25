#include "catalog/catalog_survey.h"

#include <algorithm>
#include <unordered_map>

#include "base/printable_name.h"
#include "platform/path_rules.h"
#include "verify/archive_verifier.h"
#include "verify/data_file_header.h"

namespace catalog {

void FileFactsRecorder::found(const verify::Finding& finding) {
  findings_.emplace_back(verify::findingKindName(finding.kind));
}

void FileFactsRecorder::fileVerified(const verify::ArchiveVerifier& verifier, bool usable) {
  listing_.addFile(verifier.currentFile(), verifier.currentLength(), verifier.currentModified());
  const verify::FileHeaderValues& header = verifier.header();
  std::optional<RecordLayout> layout;
  if (usable) {
    layout = RecordLayout{header.dataOffset, verify::recordSize(header), header.recordSeconds,
                          header.recordCount, header.startInternal};
  }
  files_.push_back(Facts{verifier.currentFile(), verifier.currentLength(),
                         usable ? header.streamNumber : 0, std::move(findings_), layout});
  findings_.clear();
}

std::vector<times::TimeSpan> lostTime(const FileFactsRecorder::RecordLayout& layout,
                                      const std::vector<base::ByteRange>& unreadable) {
  std::vector<times::TimeSpan> lost;
  if (layout.recordBytes <= 0 || layout.recordSeconds <= 0) return lost;
  for (const base::ByteRange& range : unreadable) {
    const int64_t from = range.offset - layout.dataOffset;
    const int64_t to = range.offset + range.size - layout.dataOffset;  // past the range
    if (to <= 0 || range.size <= 0) continue;  // in the header: no record's time
    const int64_t first = std::max<int64_t>(from, 0) / layout.recordBytes;
    const int64_t last = std::min((to - 1) / layout.recordBytes, layout.records - 1);
    if (first > last) continue;  // past the last whole record
    const times::TimeSpan span{layout.start + first * layout.recordSeconds,
                               layout.start + (last + 1) * layout.recordSeconds};
    if (!lost.empty() && lost.back().end >= span.start) {
      lost.back().end = std::max(lost.back().end, span.end);
    } else {
      lost.push_back(span);
    }
  }
  return lost;
}

base::Status addFixity(CataloguedDisk& disk, std::vector<fixity::FileFixity> held,
                       const std::string& root, const FileFactsRecorder& facts) {
  std::unordered_map<std::string, const fixity::FileFixity*> byPath;
  byPath.reserve(held.size());
  for (const fixity::FileFixity& file : held) {
    std::string path = root + file.path;
    if (platform::kPathSeparator != '/')
      std::replace(path.begin(), path.end(), '/', platform::kPathSeparator);
    byPath[base::printableName(path)] = &file;
  }
  for (const CataloguedFile& file : disk.files) {
    if (byPath.count(file.record.path) == 0)
      return base::failure(file.record.path + " was never read for its digest: no fixity taken");
  }
  for (std::size_t i = 0; i < disk.files.size() && i < facts.files().size(); ++i) {
    const FileFactsRecorder::Facts& heard = facts.files()[i];
    const auto found = byPath.find(heard.path);
    if (found == byPath.end() || !heard.layout) continue;
    disk.files[i].lost = lostTime(*heard.layout, found->second->unreadable);
  }
  disk.held = std::move(held);
  return {};
}

CataloguedDisk cataloguedDisk(const std::string& label, const std::string& source,
                              const std::string& listing, int64_t added, survey::DiskRecord record,
                              const FileFactsRecorder& facts) {
  CataloguedDisk disk;
  disk.entry.label = label;
  disk.entry.source = source;
  disk.entry.added = added;
  disk.listing = listing;
  disk.files.reserve(record.files.size());
  for (std::size_t i = 0; i < record.files.size(); ++i) {
    CataloguedFile file;
    file.record = std::move(record.files[i]);
    if (i < facts.files().size()) {
      const FileFactsRecorder::Facts& heard = facts.files()[i];
      file.size = heard.size;
      file.stream = heard.stream;
      file.findings = heard.findings;
    }
    disk.entry.bytes += std::max<int64_t>(file.size, 0);
    const survey::FileRecord& r = file.record;
    if (r.usable && r.end > r.start) {
      disk.entry.first = std::min(disk.entry.first.value_or(r.start), r.start);
      disk.entry.last = std::max(disk.entry.last.value_or(r.end), r.end);
    }
    disk.files.push_back(std::move(file));
  }
  disk.entry.files = static_cast<int64_t>(disk.files.size());
  return disk;
}

}  // namespace catalog
