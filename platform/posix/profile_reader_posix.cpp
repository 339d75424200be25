#include <sys/stat.h>

#include <memory>
#include <optional>

#include "base/fixed_text.h"
#include "platform/file_access.h"
#include "platform/profile_reader.h"
#include "platform/profile_text.h"

namespace platform {
namespace {

// The text header never reaches past the first megabyte of a data file.
constexpr std::size_t kMaxHeaderBytes = 1 << 20;
constexpr std::size_t kReadChunk = 64 * 1024;

// The bytes of the file up to its first zero byte, at most kMaxHeaderBytes.
std::optional<std::string> readHeaderBytes(const std::string& path) {
  ReadOnlyFile file;
  if (!file.open(path)) return std::nullopt;
  std::string bytes;
  while (bytes.size() < kMaxHeaderBytes) {
    const std::size_t want = std::min(kReadChunk, kMaxHeaderBytes - bytes.size());
    const std::size_t before = bytes.size();
    bytes.resize(before + want);
    const int64_t got = file.read(bytes.data() + before, want);
    if (got <= 0) {
      bytes.resize(before);
      if (got < 0 && before == 0) return std::nullopt;
      break;
    }
    bytes.resize(before + static_cast<std::size_t>(got));
    if (bytes.find('\0', before) != std::string::npos) break;
  }
  return bytes;
}

// Reads headers as the platform's own private-profile calls would, parsing each
// file once: the parsed header of the last file is kept while its path, size and
// modification time stay the same.
class PosixProfileReader : public ProfileReader {
 public:
  std::string readString(std::string_view section, std::string_view key, std::size_t size,
                         const std::string& path) override {
    const ProfileText* header = headerOf(path);
    if (header == nullptr) return {};
    return std::string(fitTerminated(header->find(section, key).value_or(""), size));
  }

  int32_t readInt(std::string_view section, std::string_view key, int32_t defaultValue,
                  const std::string& path) override {
    const ProfileText* header = headerOf(path);
    if (header == nullptr) return defaultValue;
    return profileIntValue(header->find(section, key), defaultValue);
  }

  std::vector<std::string> sectionNames(const std::string& path) override {
    const ProfileText* header = headerOf(path);
    return header == nullptr ? std::vector<std::string>() : header->sectionNames();
  }

 private:
  struct Stamp {
    std::string path;
    int64_t size = -1;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;
    bool operator==(const Stamp&) const = default;
  };

  const ProfileText* headerOf(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    const Stamp stamp{path, static_cast<int64_t>(info.st_size),
                      static_cast<int64_t>(info.st_mtim.tv_sec),
                      static_cast<int64_t>(info.st_mtim.tv_nsec)};
    if (cached_ && stamp == cachedStamp_) return cached_.get();
    cached_.reset();
    const std::optional<std::string> bytes = readHeaderBytes(path);
    if (!bytes) return nullptr;
    cached_ = std::make_unique<ProfileText>(*bytes);
    cachedStamp_ = stamp;
    return cached_.get();
  }

  Stamp cachedStamp_;
  std::unique_ptr<ProfileText> cached_;
};

}  // namespace

ProfileReader& systemProfileReader() {
  static PosixProfileReader reader;
  return reader;
}

}  // namespace platform
