#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/byte_range.h"
#include "fixity/file_fixity.h"
#include "platform/sha256.h"

namespace fixity {

// Takes a SHA-256 of each file told beside the reading: files are dealt in
// turn to worker threads (lanes, one per processor, at most kMaxLanes), each
// hashing whole files; the bytes go to a lane through a bounded queue of
// kQueueBuffers buffers of kBufferSize bytes, each filled with the bytes of as
// many of its files as it holds. The slower of reading and hashing sets the
// pace, and memory is bounded by the queues, never by a file's size.
class FileDigests : public base::FileBytesListener {
 public:
  static constexpr std::size_t kQueueBuffers = 8;
  static constexpr std::size_t kBufferSize = 1 << 20;
  static constexpr std::size_t kMaxLanes = 4;

  // lanes: how many workers; 0 for one per processor.
  explicit FileDigests(std::size_t lanes = 0);
  ~FileDigests() override;
  FileDigests(const FileDigests&) = delete;
  FileDigests& operator=(const FileDigests&) = delete;

  void fileBegins(const std::string& path, int64_t length) override;
  void fileBytes(std::string_view bytes) override;
  void fileUnreadable(base::ByteRange range) override;
  void fileEnds() override;
  void fileSameAs(const std::string& path, const std::string& earlier) override;

  // Waits until every byte told is hashed. The files in the order told; one
  // told twice (read again in a second pass) counts once, as told last. Asked
  // once: the files move out.
  std::vector<FileFixity> files();

 private:
  // A piece of work for a lane: bytes of one file or of many, and where in
  // them each file ends that ends in them (with its index).
  struct Piece {
    std::string bytes;
    std::vector<std::pair<std::size_t, std::size_t>> fileEnds;
  };
  struct Lane {
    platform::Sha256 digest;  // made by the reader, where a failure can be told
    std::string filling;      // bytes not yet handed over
    std::vector<std::pair<std::size_t, std::size_t>> endsInFilling;
    std::deque<Piece> queue;
    std::vector<std::string> spare;  // buffers back from the worker
    std::thread worker;
  };

  // Hands the bytes lane filled so far to its worker, waiting while its queue
  // is full.
  void flush(Lane& lane);
  void work(Lane& lane);
  // Ends every worker once its queue is done.
  void stop();

  std::vector<FileFixity> files_;                            // the reader's side
  std::vector<std::pair<std::size_t, std::string>> sameAs_;  // file index, earlier path
  std::vector<std::unique_ptr<Lane>> lanes_;
  Lane* current_ = nullptr;  // the lane of the file being told
  std::size_t sent_ = 0;     // files ended and handed to a lane

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::pair<std::size_t, std::string>> digests_;  // by file index, as lanes end them
  bool stopping_ = false;
};

}  // namespace fixity
