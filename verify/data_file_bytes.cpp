#include "verify/data_file_bytes.h"

#include <algorithm>
#include <cstring>

#include "verify/archive_verifier.h"

namespace verify {

namespace {

// Enough for the text header, the binary block and the records of a typical
// data file.
constexpr std::size_t kFirstBlock = 64 * 1024;

// The smaller of cap and a file's length; cap when the length is unknown.
std::size_t atMost(std::size_t cap, int64_t length) {
  return length >= 0 && static_cast<uint64_t>(length) < cap ? static_cast<std::size_t>(length)
                                                            : cap;
}

}  // namespace

DataFileBytes::DataFileBytes(std::unique_ptr<platform::OpenFile> file) : file_(std::move(file)) {
  const int64_t length = file_->length();
  extendTo(atMost(kFirstBlock, length));
}

void DataFileBytes::extendTo(std::size_t wanted) {
  if (wanted > capacity_) {
    std::unique_ptr<char[]> larger(new char[wanted]);
    if (heldSize_ > 0) std::memcpy(larger.get(), held_.get(), heldSize_);
    held_ = std::move(larger);
    capacity_ = wanted;
  }
  while (!exhausted_ && heldSize_ < wanted) {
    const base::Outcome<int64_t> got =
        file_->readAt(static_cast<int64_t>(heldSize_), held_.get() + heldSize_, wanted - heldSize_);
    if (!got || *got == 0) exhausted_ = true;
    if (got && *got > 0) heldSize_ += static_cast<std::size_t>(*got);
  }
}

int DataFileBytes::checkEnd() {
  const int64_t length = file_->length();
  if (length < 2) return -2;
  char lastBytes[2];
  return readWhole(length - 2, lastBytes, sizeof lastBytes) ? 0 : -3;
}

std::string_view DataFileBytes::headerText(profile::ProfileDialect dialect) {
  const int64_t length = file_->length();
  const std::size_t limit = atMost(profile::kMaxHeaderTextBytes, length);
  if (profile::textEndsAtZeroByte(dialect)) {
    // Read on in growing steps until a zero byte shows or the limit is reached.
    while (held().find('\0') == std::string_view::npos && heldSize_ < limit && !exhausted_) {
      extendTo(std::min(limit, std::max(kFirstBlock, heldSize_ * 2)));
    }
  } else {
    extendTo(limit);
  }
  return held().substr(0, limit);
}

bool DataFileBytes::readWhole(int64_t offset, char* buffer, std::size_t size) {
  if (offset < 0) return false;
  const auto start = static_cast<uint64_t>(offset);
  if (start + size <= heldSize_) {
    std::memcpy(buffer, held_.get() + start, size);
    return true;
  }
  return file_->readWhole(offset, buffer, size);
}

std::vector<base::ByteRange> bytesVerificationReads(std::string_view leadingText, int64_t length,
                                                    profile::ProfileDialect dialect) {
  std::vector<base::ByteRange> ranges;
  const int32_t headerSize =
      profile::ProfileText(leadingText, dialect, "HEADER").readInt("HEADER", "HEADER_SIZE", -1);
  if (headerSize >= 0 && headerSize < length) {
    ranges.push_back(base::ByteRange{
        headerSize,
        std::min<int64_t>(static_cast<int64_t>(kBinaryHeaderSize), length - headerSize)});
  }
  if (length >= 2) ranges.push_back(base::ByteRange{length - 2, 2});
  return ranges;
}

base::KeepPolicy verificationKeepPolicy(profile::ProfileDialect dialect) {
  return {profile::kMaxHeaderTextBytes, [dialect](std::string_view leading, int64_t length) {
            return bytesVerificationReads(leading, length, dialect);
          }};
}

}  // namespace verify
