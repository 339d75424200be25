#include "sources/iso_stream.h"

#include <algorithm>
#include <cstring>

#include "sources/iso9660.h"

namespace sources {
namespace {

// The image is read in blocks of this size: 16 times fewer reads than with
// 64 KiB blocks made an 816 MB image's pass 60 ms shorter.
constexpr std::size_t kReadBlock = 1024 * 1024;
using iso9660::kSector;
// Where the primary volume descriptor gives the volume's size in sectors.
constexpr int64_t kVolumeSizeOffset = iso9660::kPrimaryDescriptor + 80;

}  // namespace

IsoStream::IsoStream(platform::OpenFile& image)
    : image_(image), realEnd_(std::max<int64_t>(image.length(), 0)), block_(kReadBlock) {}

int64_t IsoStream::next(const void** buffer) {
  *buffer = block_.data();
  if (position_ < realEnd_) {
    const std::size_t got = readReal(kReadBlock);
    if (failure_) return -1;
    if (got > 0) return static_cast<int64_t>(got);
  }
  if (position_ >= volumeEnd_) return 0;
  // Directory records past the real end are missing: the pass ends there,
  // rather than handing out zeros for as many as the records claim.
  if (inHeaders_) {
    headersCutShort_ = true;
    return 0;
  }
  const int64_t padding = std::min<int64_t>(kSector, volumeEnd_ - position_);
  std::memset(block_.data(), 0, static_cast<std::size_t>(padding));
  position_ += padding;
  return padding;
}

int64_t IsoStream::skipAhead(int64_t request) {
  if (position_ < realEnd_) {
    const std::size_t got =
        readReal(static_cast<std::size_t>(std::min<int64_t>(request, kReadBlock)));
    return failure_ ? -1 : static_cast<int64_t>(got);
  }
  const int64_t skipped = std::min<int64_t>(request, std::max<int64_t>(volumeEnd_ - position_, 0));
  position_ += skipped;
  return skipped;
}

// Reads up to wanted real bytes into the block; 0 when there are none.
std::size_t IsoStream::readReal(std::size_t wanted) {
  wanted = static_cast<std::size_t>(
      std::min<int64_t>(static_cast<int64_t>(wanted), realEnd_ - position_));
  const base::Outcome<int64_t> read = image_.readAt(position_, block_.data(), wanted);
  auto got = static_cast<std::size_t>(read.value_or(0));
  // Short: the end of a file that shrank, or a failure; sector by sector, the
  // sectors that fail are passed over as zero bytes.
  while (got < wanted) {
    const std::size_t size = std::min<std::size_t>(kSector, wanted - got);
    const int64_t at = position_ + static_cast<int64_t>(got);
    const base::Outcome<int64_t> sector = image_.readAt(at, block_.data() + got, size);
    if (sector && *sector == 0) break;  // the end
    if (!sector || *sector != static_cast<int64_t>(size)) {
      std::memset(block_.data() + got, 0, size);
      if (!unreadable_.empty() && unreadable_.back().offset + unreadable_.back().size == at) {
        unreadable_.back().size += static_cast<int64_t>(size);
      } else {
        unreadable_.push_back({at, static_cast<int64_t>(size)});
      }
    }
    got += size;
  }
  noteVolumeSize(got);
  hiddenFlags_.see(position_, block_.data(), got);
  if (hiddenFlags_.overBudget()) {
    failure_ = "its directory records need more than " +
               std::to_string(IsoHiddenFlags::kBudget >> 20) + " MiB";
  }
  position_ += static_cast<int64_t>(got);
  if (got == 0) realEnd_ = position_;  // the file shrank, or a read failed: the rest is missing
  return got;
}

// Takes the volume's size from the primary volume descriptor as it passes.
void IsoStream::noteVolumeSize(std::size_t got) {
  const int64_t at = kVolumeSizeOffset - position_;
  if (at < 0 || at + 4 > static_cast<int64_t>(got)) return;
  volumeEnd_ = static_cast<int64_t>(iso9660::littleEndian32(block_.data() + at)) * kSector;
}

}  // namespace sources
