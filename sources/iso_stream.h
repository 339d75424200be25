#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_range.h"
#include "platform/disk.h"
#include "sources/iso_hidden_flags.h"

namespace sources {

// An image's bytes in order, read through the host's Disk, with the hidden-flag
// reader seeing each of them. A read that fails is tried again sector by
// sector; the sectors that still fail stand as zero bytes (unreadable()) and
// the pass goes on. Past the end of an image cut short it stands in
// zero bytes up to the volume's declared size, so that a pass still meets every
// file; whether a file's bytes were real is told by where its data ended
// (realEnd). Skips past the real end cost nothing, whatever size the volume
// claims.
class IsoStream {
 public:
  explicit IsoStream(platform::OpenFile& image);

  // The next bytes: a pointer to them in *buffer and their count; 0 at the end,
  // -1 when the stream stopped the pass (failure()).
  int64_t next(const void** buffer);
  // Moves request bytes on; returns how many it moved (real bytes are read
  // through the hidden-flag reader, a block at a time), -1 as next().
  int64_t skipAhead(int64_t request);

  int64_t realEnd() const { return realEnd_; }
  // The image's sectors that could not be read so far, in order.
  const std::vector<base::ByteRange>& unreadable() const { return unreadable_; }
  // Whether headers were read past the real end (the stream ended there).
  bool headersCutShort() const { return headersCutShort_; }
  const IsoHiddenFlags& hiddenFlags() const { return hiddenFlags_; }
  // Why the stream stopped the pass itself, if it did.
  const std::optional<std::string>& failure() const { return failure_; }
  // While on, the stream ends at the real end: no padding stands in for
  // directory records.
  void readingHeaders(bool on) { inHeaders_ = on; }

 private:
  std::size_t readReal(std::size_t wanted);
  void noteVolumeSize(std::size_t got);

  platform::OpenFile& image_;
  int64_t realEnd_;
  int64_t volumeEnd_ = 0;  // nothing is padded before the volume's size is known
  int64_t position_ = 0;
  bool inHeaders_ = false;
  bool headersCutShort_ = false;
  std::optional<std::string> failure_;
  std::vector<base::ByteRange> unreadable_;
  IsoHiddenFlags hiddenFlags_;
  std::vector<char> block_;
};

}  // namespace sources
