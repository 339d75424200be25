#include "image/iso_hidden_flags.h"

#include <gtest/gtest.h>

#include "image/iso9660.h"

namespace image {
namespace {

constexpr auto kSector = static_cast<uint32_t>(iso9660::kSector);

// A directory record; of the extent and data length only the little-endian
// halves, which are the ones read.
std::string record(uint32_t sector, uint32_t size, uint8_t flags, const std::string& name) {
  std::string bytes(33 + name.size() + (name.size() % 2 == 0 ? 1 : 0), '\0');
  bytes[0] = static_cast<char>(bytes.size());
  for (int i = 0; i < 4; ++i) {
    bytes[2 + i] = static_cast<char>(sector >> (8 * i));
    bytes[10 + i] = static_cast<char>(size >> (8 * i));
  }
  bytes[25] = static_cast<char>(flags);
  bytes[32] = static_cast<char>(name.size());
  return bytes.replace(33, name.size(), name);
}

// The root directory (sector 18) holds a hidden file, a visible one and a
// subdirectory (sector 19) with a hidden file. The bytes arrive in blocks that
// end exactly where each directory starts.
TEST(IsoHiddenFlags, FlagsOfEveryDirectoryAreFoundWhenBlocksEndWhereDirectoriesStart) {
  std::string image(30 * kSector, '\0');
  const auto put = [&](uint32_t at, const std::string& bytes) {
    image.replace(at, bytes.size(), bytes);
  };
  put(16 * kSector, "\001CD001");  // the primary volume descriptor
  put(16 * kSector + 156, record(18, kSector, 0x02, std::string(1, '\0')));
  put(18 * kSector, record(18, kSector, 0x02, std::string(1, '\0')) +
                        record(18, kSector, 0x02, "\x01") + record(24, 10, 0x01, "H.DAT;1") +
                        record(26, 10, 0, "V.DAT;1") + record(19, kSector, 0x02, "SUB"));
  put(19 * kSector, record(25, 10, 0x01, "S.DAT;1"));
  IsoHiddenFlags flags;
  const uint32_t ends[] = {0, 18 * kSector, 19 * kSector, 30 * kSector};
  for (int i = 0; i < 3; ++i) flags.see(ends[i], image.data() + ends[i], ends[i + 1] - ends[i]);
  EXPECT_TRUE(flags.hiddenAt(24 * kSector));
  EXPECT_TRUE(flags.hiddenAt(25 * kSector));
  EXPECT_FALSE(flags.hiddenAt(26 * kSector));
}

}  // namespace
}  // namespace image
