#include "fixity/file_digests.h"

#include <algorithm>
#include <map>

namespace fixity {

FileDigests::FileDigests() : worker_([this] { work(); }) {}

FileDigests::~FileDigests() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void FileDigests::fileBegins(const std::string& path, int64_t length) {
  files_.push_back(FileFixity{path, length, {}, {}});
}

void FileDigests::fileBytes(std::string_view bytes) {
  while (!bytes.empty()) {
    if (filling_.capacity() < kBufferSize) filling_.reserve(kBufferSize);
    const std::size_t taken = std::min(bytes.size(), kBufferSize - filling_.size());
    filling_.append(bytes.data(), taken);
    bytes.remove_prefix(taken);
    if (filling_.size() == kBufferSize) flush(false);
  }
}

void FileDigests::fileUnreadable(base::ByteRange range) {
  std::vector<base::ByteRange>& unreadable = files_.back().unreadable;
  if (!unreadable.empty() && unreadable.back().offset + unreadable.back().size == range.offset) {
    unreadable.back().size += range.size;
  } else {
    unreadable.push_back(range);
  }
}

void FileDigests::fileEnds() { flush(true); }

void FileDigests::fileSameAs(const std::string& path, const std::string& earlier) {
  files_.push_back(FileFixity{path, -1, {}, {}});
  sameAs_.emplace_back(files_.size() - 1, earlier);
  flush(true);  // its digest comes from the earlier file's
}

void FileDigests::flush(bool fileEnd) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < kQueueBuffers; });
  queue_.push_back(Piece{std::move(filling_), fileEnd});
  filling_.clear();
  if (!spare_.empty()) {
    filling_ = std::move(spare_.back());
    spare_.pop_back();
    filling_.clear();
  }
  lock.unlock();
  changed_.notify_all();
}

void FileDigests::work() {
  for (;;) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;  // stopping, and nothing is left
    Piece piece = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    changed_.notify_all();
    digest_.add(piece.bytes);
    std::string ended = piece.fileEnd ? digest_.hex() : std::string();
    lock.lock();
    if (piece.fileEnd) digests_.push_back(std::move(ended));
    if (spare_.size() < kQueueBuffers + 2) spare_.push_back(std::move(piece.bytes));
    lock.unlock();
    changed_.notify_all();
  }
}

std::vector<FileFixity> FileDigests::files() {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return digests_.size() == files_.size(); });
  }
  std::map<std::string, std::size_t> byPath;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    FileFixity& file = files_[i];
    if (file.size >= 0 && file.unreadable.empty()) file.sha256 = digests_[i];
    byPath[file.path] = i;
  }
  for (const auto& [index, earlier] : sameAs_) {
    const auto found = byPath.find(earlier);
    if (found == byPath.end()) continue;
    const FileFixity& same = files_[found->second];
    files_[index] = FileFixity{files_[index].path, same.size, same.sha256, same.unreadable};
  }
  // A file read again (an image's second pass) is told again: the last counts.
  std::vector<FileFixity> files;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    if (byPath.at(files_[i].path) == i) files.push_back(files_[i]);
  }
  return files;
}
}  // namespace fixity
