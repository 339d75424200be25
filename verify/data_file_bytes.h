#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_range.h"
#include "platform/disk.h"
#include "profile/profile_text.h"

namespace verify {

// The bytes of one opened data file that its verification reads: the text
// header, the two bytes at its end and the binary header block. The first block
// of the file is read at once, so a small file costs one read; later reads that
// fall inside it are answered from memory.
class DataFileBytes {
 public:
  explicit DataFileBytes(std::unique_ptr<platform::OpenFile> file);

  int64_t length() const { return file_->length(); }

  // 0 when the file's last two bytes can be read; -2 when it is shorter than two
  // bytes (or its length is unknown); -3 when those bytes cannot be read.
  int checkEnd();

  // The bytes that hold the text header in dialect: those before the first zero
  // byte, or the whole file; never more than profile::kMaxHeaderTextBytes.
  std::string_view headerText(profile::ProfileDialect dialect);

  // Whether all size bytes from offset were read into buffer, from what is
  // held where it can be.
  bool readWhole(int64_t offset, char* buffer, std::size_t size);

 private:
  // Reads on from the end of what is held until it holds `wanted` bytes, the
  // file ends or a read fails.
  void extendTo(std::size_t wanted);

  std::string_view held() const { return std::string_view(held_.get(), heldSize_); }

  std::unique_ptr<platform::OpenFile> file_;
  // The file's first bytes; the buffer is not cleared before reads fill it.
  std::unique_ptr<char[]> held_;
  std::size_t heldSize_ = 0;
  std::size_t capacity_ = 0;
  bool exhausted_ = false;  // held() reaches the end of the file, or a read failed
};

// For readers that meet a file's bytes only once, front to back (a disk image
// read in one pass): the bytes that verifying a data file of this length reads
// besides its leading text. leadingText holds the file's first bytes up to and
// including its first zero byte (at most kMaxHeaderTextBytes, or the whole file
// when it is shorter and has none): the text header, parsed as verification
// parses it in dialect, which ends at a zero byte. The ranges are the binary
// block at HEADER_SIZE and the last two bytes, cut to the file.
std::vector<base::ByteRange> bytesVerificationReads(std::string_view leadingText, int64_t length,
                                                    profile::ProfileDialect dialect);

// What a one-pass reader keeps of each file for verification in dialect: the
// text header and the bytes bytesVerificationReads names after it.
base::KeepPolicy verificationKeepPolicy(profile::ProfileDialect dialect);

}  // namespace verify
