#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/byte_range.h"
#include "fixity/file_fixity.h"
#include "fixity/sha256.h"

namespace fixity {

// Takes a SHA-256 of each file told beside the reading: the bytes go to a
// worker thread through a bounded queue of kQueueBuffers buffers of
// kBufferSize bytes, so the slower of reading and hashing sets the pace, and
// memory is bounded by the queue, never by a file's size.
class FileDigests : public base::FileBytesListener {
 public:
  static constexpr std::size_t kQueueBuffers = 8;
  static constexpr std::size_t kBufferSize = 1 << 20;

  FileDigests();
  ~FileDigests() override;
  FileDigests(const FileDigests&) = delete;
  FileDigests& operator=(const FileDigests&) = delete;

  void fileBegins(const std::string& path, int64_t length) override;
  void fileBytes(std::string_view bytes) override;
  void fileUnreadable(base::ByteRange range) override;
  void fileEnds() override;
  void fileSameAs(const std::string& path, const std::string& earlier) override;

  // Waits until every byte told is hashed. The files in the order told; one
  // told twice (read again in a second pass) counts once, as told last.
  std::vector<FileFixity> files();

 private:
  // A piece of work for the worker: bytes of the current file, or its end.
  struct Piece {
    std::string bytes;
    bool fileEnd = false;
  };

  void flush(bool fileEnd);
  void work();

  std::vector<FileFixity> files_;                            // the reader's side
  std::vector<std::pair<std::size_t, std::string>> sameAs_;  // file index, earlier path
  std::string filling_;                                      // bytes not yet handed over

  Sha256 digest_;  // the worker's; made here, where a failure can be told
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Piece> queue_;
  std::vector<std::string> spare_;    // buffers back from the worker
  std::vector<std::string> digests_;  // the worker's, one per file ended
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace fixity
