#include <windows.h>

#include <algorithm>

#include "platform/profile_reader.h"

namespace platform {
namespace {

// The platform's private-profile calls, each naming the data file again.
class Win32ProfileReader : public ProfileReader {
 public:
  std::string readString(std::string_view section, std::string_view key, std::size_t size,
                         const std::string& path) override {
    if (size == 0) return {};
    std::string value(size, '\0');
    const DWORD length =
        GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), "",
                                 value.data(), static_cast<DWORD>(size), path.c_str());
    value.resize(std::min<std::size_t>(length, size - 1));
    return value;
  }

  int32_t readInt(std::string_view section, std::string_view key, int32_t defaultValue,
                  const std::string& path) override {
    return static_cast<int32_t>(GetPrivateProfileIntA(
        std::string(section).c_str(), std::string(key).c_str(), defaultValue, path.c_str()));
  }

  std::vector<std::string> sectionNames(const std::string& path) override {
    // The names come as a list of terminated texts; a result of size - 2 means
    // the buffer was too small.
    std::string buffer(4096, '\0');
    DWORD length = 0;
    while (true) {
      length = GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()),
                                              path.c_str());
      if (length + 2 < buffer.size() || buffer.size() >= (1u << 24)) break;
      buffer.assign(buffer.size() * 4, '\0');
    }
    std::vector<std::string> names;
    for (std::size_t at = 0; at < length && buffer[at] != '\0';) {
      const std::size_t end = buffer.find('\0', at);
      names.push_back(buffer.substr(at, end - at));
      at = end + 1;
    }
    return names;
  }
};

}  // namespace

ProfileReader& systemProfileReader() {
  static Win32ProfileReader reader;
  return reader;
}

}  // namespace platform
