#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/disk_listing.h"
#include "verify/verification_listener.h"

namespace catalog {

// Listens to a disk's survey for what the catalogue keeps beyond the survey's
// file records: each file's size, stream and kinds of findings, in the walk's
// order, and the disk's listing (for a folder or drive) from the facts of each
// file as it was opened. A file that could not be opened is listed without
// facts, so such a disk is never judged unchanged: it is read again.
class FileFactsRecorder : public verify::VerificationListener {
 public:
  // Where a usable file's records lie and the time they cover.
  struct RecordLayout {
    int64_t dataOffset = 0;
    int64_t recordBytes = 0;
    int64_t recordSeconds = 0;
    int64_t records = 0;
    int64_t start = 0;
  };
  struct Facts {
    std::string path;  // as the logs show it
    int64_t size = -1;
    int32_t stream = 0;
    std::vector<std::string> findings;
    std::optional<RecordLayout> layout;  // for a usable file
  };

  // settings: the walk's, whose disk is surveyed.
  explicit FileFactsRecorder(const walk::WalkSettings& settings) : listing_(settings) {}

  void directoryEntered(std::string_view name) override { listing_.addDirectory(name); }
  void directoryUnreadable(std::string_view path) override {
    listing_.addUnreadableDirectory(path);
  }
  void found(const verify::Finding& finding) override;
  void fileVerified(const verify::ArchiveVerifier& verifier, bool usable) override;
  const std::vector<Facts>& files() const { return files_; }
  std::string listing() const { return listing_.text(); }

 private:
  ListingDigest listing_;
  std::vector<std::string> findings_;
  std::vector<Facts> files_;
};

// The time of the records that the unreadable byte ranges of a file so laid
// out touch, adjacent spans joined.
std::vector<times::TimeSpan> lostTime(const FileFactsRecorder::RecordLayout& layout,
                                      const std::vector<base::ByteRange>& unreadable);

// Gives disk its fixity: held (every file of the disk, as a pass below root,
// the disk's root, found it) and, for each of its data files with unreadable
// bytes, the time they cost. A failure, naming it, when a data file of the
// survey is not among held: its bytes were never read for a digest, and the
// disk has no fixity to record.
base::Status addFixity(CataloguedDisk& disk, std::vector<fixity::FileFixity> held,
                       const std::string& root, const FileFactsRecorder& facts);

// The disk as the catalogue records it: the survey's records joined with the
// facts heard beside them (one per record, in order), its entry counted from
// them.
CataloguedDisk cataloguedDisk(const std::string& label, const std::string& source,
                              const std::string& listing, int64_t added, survey::DiskRecord record,
                              const FileFactsRecorder& facts);

}  // namespace catalog
