#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Reads values from the text header of a data file, which is laid out as an
// initialisation file of sections and keys. Every call names the file again; no
// state of one call is visible to the next except through the file itself.
class ProfileReader {
 public:
  virtual ~ProfileReader() = default;

  // The value of key in section, cut to size - 1 characters; the empty text when
  // the file cannot be read or the section or key is absent.
  virtual std::string readString(std::string_view section, std::string_view key, std::size_t size,
                                 const std::string& path) = 0;

  // The value of key in section read as a signed decimal integer; defaultValue
  // when the file cannot be read, the section or key is absent or the value is
  // empty.
  virtual int32_t readInt(std::string_view section, std::string_view key, int32_t defaultValue,
                          const std::string& path) = 0;

  // The names of the header's sections, in file order; empty when the file
  // cannot be read.
  virtual std::vector<std::string> sectionNames(const std::string& path) = 0;
};

// The reader of the host platform.
ProfileReader& systemProfileReader();

}  // namespace platform
