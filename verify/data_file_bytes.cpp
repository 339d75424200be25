#include "verify/data_file_bytes.h"

#include <algorithm>
#include <cstring>

namespace {

// Enough for the text header, the binary block and the records of a typical
// data file.
constexpr std::size_t kFirstBlock = 64 * 1024;

}  // namespace

DataFileBytes::DataFileBytes(std::unique_ptr<platform::OpenFile> file) : file_(std::move(file)) {
  const int64_t length = file_->length();
  extendTo(length >= 0 ? std::min<std::size_t>(kFirstBlock, static_cast<uint64_t>(length))
                       : kFirstBlock);
}

void DataFileBytes::extendTo(std::size_t wanted) {
  while (!exhausted_ && held_.size() < wanted) {
    const std::size_t before = held_.size();
    held_.resize(wanted);
    const int64_t got =
        file_->readAt(static_cast<int64_t>(before), held_.data() + before, wanted - before);
    held_.resize(before + static_cast<std::size_t>(std::max<int64_t>(got, 0)));
    if (got <= 0) exhausted_ = true;
  }
}

int DataFileBytes::checkEnd() {
  const int64_t length = file_->length();
  if (length < 2) return -2;
  char lastBytes[2];
  return read(length - 2, lastBytes, sizeof lastBytes) == 2 ? 0 : -3;
}

std::string_view DataFileBytes::headerText(platform::ProfileDialect dialect) {
  const int64_t length = file_->length();
  const std::size_t limit =
      length >= 0 ? std::min<std::size_t>(platform::kMaxHeaderTextBytes, static_cast<uint64_t>(length))
                  : platform::kMaxHeaderTextBytes;
  if (platform::textEndsAtZeroByte(dialect)) {
    // Read on in growing steps until a zero byte shows or the limit is reached.
    while (held_.find('\0') == std::string::npos && held_.size() < limit && !exhausted_) {
      extendTo(std::min(limit, std::max(kFirstBlock, held_.size() * 2)));
    }
  } else {
    extendTo(limit);
  }
  return std::string_view(held_).substr(0, limit);
}

int64_t DataFileBytes::read(int64_t offset, char* buffer, std::size_t size) {
  if (offset < 0) return -1;
  const auto start = static_cast<uint64_t>(offset);
  if (start + size <= held_.size()) {
    std::memcpy(buffer, held_.data() + start, size);
    return static_cast<int64_t>(size);
  }
  return file_->readAt(offset, buffer, size);
}
