#include "fixity/file_digests.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace fixity {

FileDigests::FileDigests(std::size_t lanes) {
  if (lanes == 0)
    lanes = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMaxLanes);
  for (std::size_t i = 0; i < lanes; ++i) lanes_.push_back(std::make_unique<Lane>());
  try {
    for (const std::unique_ptr<Lane>& lane : lanes_)
      lane->worker = std::thread([this, &lane = *lane] { work(lane); });
  } catch (...) {  // no thread to be had: those started are stopped
    stop();
    throw;
  }
  current_ = lanes_.front().get();
}

FileDigests::~FileDigests() { stop(); }

void FileDigests::stop() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (const std::unique_ptr<Lane>& lane : lanes_) {
    if (lane->worker.joinable()) lane->worker.join();
  }
}

void FileDigests::fileBegins(const std::string& path, int64_t length) {
  files_.push_back(FileFixity{path, length, {}, {}});
  current_ = lanes_[(files_.size() - 1) % lanes_.size()].get();
}

void FileDigests::fileBytes(std::string_view bytes) {
  Lane& lane = *current_;
  while (!bytes.empty()) {
    if (lane.filling.capacity() < kBufferSize) lane.filling.reserve(kBufferSize);
    const std::size_t taken = std::min(bytes.size(), kBufferSize - lane.filling.size());
    lane.filling.append(bytes.data(), taken);
    bytes.remove_prefix(taken);
    if (lane.filling.size() == kBufferSize) flush(lane);
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

void FileDigests::fileEnds() {
  current_->endsInFilling.emplace_back(current_->filling.size(), files_.size() - 1);
  ++sent_;
}

void FileDigests::fileSameAs(const std::string& path, const std::string& earlier) {
  fileBegins(path, -1);
  sameAs_.emplace_back(files_.size() - 1, earlier);
  fileEnds();  // its digest comes from the earlier file's
}

void FileDigests::flush(Lane& lane) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&lane] { return lane.queue.size() < kQueueBuffers; });
  lane.queue.push_back(Piece{std::move(lane.filling), std::move(lane.endsInFilling)});
  lane.filling.clear();
  lane.endsInFilling.clear();
  if (!lane.spare.empty()) {
    lane.filling = std::move(lane.spare.back());
    lane.spare.pop_back();
    lane.filling.clear();
  }
  lock.unlock();
  changed_.notify_all();
}

void FileDigests::work(Lane& lane) {
  for (;;) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return stopping_ || !lane.queue.empty(); });
    if (lane.queue.empty()) return;  // stopping, and nothing is left
    Piece piece = std::move(lane.queue.front());
    lane.queue.pop_front();
    lock.unlock();
    changed_.notify_all();
    std::vector<std::pair<std::size_t, std::string>> ended;
    std::size_t from = 0;
    for (const auto& [end, file] : piece.fileEnds) {
      lane.digest.add(std::string_view(piece.bytes).substr(from, end - from));
      ended.emplace_back(file, lane.digest.hex());
      from = end;
    }
    lane.digest.add(std::string_view(piece.bytes).substr(from));
    lock.lock();
    for (auto& digest : ended) digests_.push_back(std::move(digest));
    if (lane.spare.size() < kQueueBuffers + 2) lane.spare.push_back(std::move(piece.bytes));
    lock.unlock();
    changed_.notify_all();
  }
}

std::vector<FileFixity> FileDigests::files() {
  for (const std::unique_ptr<Lane>& lane : lanes_) {
    if (!lane->filling.empty() || !lane->endsInFilling.empty()) flush(*lane);
  }
  {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return digests_.size() == sent_; });
  }
  for (const auto& [index, digest] : digests_) {
    FileFixity& file = files_[index];
    if (file.size >= 0 && file.unreadable.empty()) file.sha256 = digest;
  }
  // By path, the last told of each (its paths stay put until the files move out).
  std::unordered_map<std::string_view, std::size_t> byPath;
  byPath.reserve(files_.size());
  for (std::size_t i = 0; i < files_.size(); ++i) byPath[files_[i].path] = i;
  for (const auto& [index, earlier] : sameAs_) {
    const auto found = byPath.find(earlier);
    if (found == byPath.end()) continue;
    const FileFixity& same = files_[found->second];
    FileFixity& file = files_[index];
    file.size = same.size;
    file.sha256 = same.sha256;
    file.unreadable = same.unreadable;
  }
  // A file read again (an image's second pass) is told again: the last counts.
  std::vector<bool> last(files_.size());
  for (std::size_t i = 0; i < files_.size(); ++i) last[i] = byPath.at(files_[i].path) == i;
  std::vector<FileFixity> files;
  files.reserve(byPath.size());
  for (std::size_t i = 0; i < files_.size(); ++i) {
    if (last[i]) files.push_back(std::move(files_[i]));
  }
  files_.clear();
  return files;
}

}  // namespace fixity
