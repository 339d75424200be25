#include "catalog/catalog_survey.h"

#include <algorithm>

#include "verify/archive_verifier.h"

namespace catalog {

void FileFactsRecorder::found(const verify::Finding& finding) {
  findings_.emplace_back(verify::findingKindName(finding.kind));
}

void FileFactsRecorder::fileVerified(const verify::ArchiveVerifier& verifier, bool usable) {
  listing_.addFile(verifier.currentFile(), verifier.currentLength(), verifier.currentModified());
  files_.push_back(Facts{verifier.currentLength(), usable ? verifier.header().streamNumber : 0,
                         std::move(findings_)});
  findings_.clear();
}

CataloguedDisk cataloguedDisk(const std::string& label, const std::string& source,
                              const std::string& listing, int64_t added, summary::DiskRecord record,
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
    const summary::FileRecord& r = file.record;
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
