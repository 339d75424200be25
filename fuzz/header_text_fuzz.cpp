// libFuzzer target: the header parser in both dialects, with the lookups the
// verification makes and the integer reading; a read of one section answers
// for it as the whole read does.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "profile/profile_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t length) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), length);
  for (const auto dialect : {profile::ProfileDialect::kPosix, profile::ProfileDialect::kWindows}) {
    const profile::ProfileText text(bytes, dialect);
    for (const char* name : {"SYSTEM", "FILE", "STREAM1", "GROUP1", "CH1", "HEADER", " A "}) {
      for (const char* key : {"NAME", "FREQ", "CH#", "N_CH", "DATE_INT", ";C", ""}) {
        for (const std::size_t size :
             {std::size_t{0}, std::size_t{1}, std::size_t{4}, std::size_t{100}}) {
          text.readString(name, key, size);
        }
        text.readInt(name, key, -1);
      }
    }
    text.sectionNames();
    const profile::ProfileText header(bytes, dialect, "HEADER");
    for (const char* key : {"HEADER_SIZE", "NAME", ""}) {
      if (header.find("header", key) != text.find("HEADER", key)) std::abort();
    }
  }
  return 0;
}
