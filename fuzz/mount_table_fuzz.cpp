// A mount table as the kernel writes it: any bytes are read without harm, and
// a volume found is one of the table's own mount points, its fields unescaped.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/mount_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const char* place : {"/", "/media/cdrom", "/media/my disk"}) {
    const std::optional<platform::MountedVolume> volume = platform::volumeMountedAt(text, place);
    if (volume && volume->source.size() > text.size()) std::abort();  // unescaping only shrinks
  }
  return 0;
}
