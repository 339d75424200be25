#include "sources/iso_hidden_flags.h"

#include <gtest/gtest.h>

#include "sources/iso9660.h"

namespace sources {
namespace {

constexpr auto kSector = static_cast<uint32_t>(iso9660::kSector);

// A directory record; of the extent and data length only the little-endian
// halves, which are the ones read. systemUse holds Rock Ridge's entries.
std::string record(uint32_t sector, uint32_t size, uint8_t flags, const std::string& name,
                   const std::string& systemUse = "") {
  std::string bytes(33 + name.size() + (name.size() % 2 == 0 ? 1 : 0), '\0');
  bytes += systemUse;
  bytes[0] = static_cast<char>(bytes.size());
  for (int i = 0; i < 4; ++i) {
    bytes[2 + i] = static_cast<char>(sector >> (8 * i));
    bytes[10 + i] = static_cast<char>(size >> (8 * i));
  }
  bytes[25] = static_cast<char>(flags);
  bytes[32] = static_cast<char>(name.size());
  return bytes.replace(33, name.size(), name);
}

// The root directory (sector 18) holds a hidden file, a visible one, a hidden
// and a visible one without data, and a subdirectory (sector 19) with a hidden
// file. The bytes arrive in blocks that end exactly where each directory starts.
TEST(IsoHiddenFlags, FlagsOfEveryDirectoryAreFoundByNameAndByDataWhereBlocksSplit) {
  std::string image(30 * kSector, '\0');
  const auto put = [&](uint32_t at, const std::string& bytes) {
    image.replace(at, bytes.size(), bytes);
  };
  put(16 * kSector, "\001CD001");  // the primary volume descriptor
  put(16 * kSector + 156, record(18, kSector, 0x02, std::string(1, '\0')));
  put(18 * kSector, record(18, kSector, 0x02, std::string(1, '\0')) +
                        record(18, kSector, 0x02, "\x01") + record(24, 10, 0x01, "H.DAT;1") +
                        record(26, 10, 0, "V.DAT;1") + record(0, 0, 0x01, "EMPTY.;1") +
                        record(0, 0, 0, "SHOWN") + record(19, kSector, 0x02, "SUB") +
                        record(0, 10, 0x01, "AT0.DAT;1"));  // data from the image's first byte
  put(19 * kSector, record(25, 10, 0x01, "S.DAT;1"));
  IsoHiddenFlags flags;
  const uint32_t ends[] = {0, 18 * kSector, 19 * kSector, 30 * kSector};
  for (int i = 0; i < 3; ++i) flags.see(ends[i], image.data() + ends[i], ends[i + 1] - ends[i]);
  EXPECT_TRUE(flags.hidden("H.DAT", 24 * kSector, true));
  EXPECT_TRUE(flags.hidden("SUB/S.DAT", 25 * kSector, true));
  EXPECT_FALSE(flags.hidden("V.DAT", 26 * kSector, true));
  EXPECT_TRUE(flags.hidden("EMPTY", -1, true));  // without data: found by its name alone
  EXPECT_FALSE(flags.hidden("SHOWN", -1, true));
  EXPECT_TRUE(flags.hidden("elsewhere/H2.DAT", 24 * kSector, true));  // by where its data is
  EXPECT_TRUE(flags.hidden("elsewhere/AT0.DAT", 0, true));
}

// A directory whose last record ends exactly where the directory ends.
TEST(IsoHiddenFlags, ARecordThatEndsTheDirectoryIsRead) {
  std::string image(30 * kSector, '\0');
  const auto put = [&](uint32_t at, const std::string& bytes) {
    image.replace(at, bytes.size(), bytes);
  };
  const std::string hidden = record(25, 10, 0x01, "S.DAT;1");
  put(16 * kSector, "\001CD001");
  put(16 * kSector + 156, record(18, kSector, 0x02, std::string(1, '\0')));
  put(18 * kSector, record(19, static_cast<uint32_t>(hidden.size()), 0x02, "SUB"));
  put(19 * kSector, hidden);
  IsoHiddenFlags flags;
  flags.see(0, image.data(), image.size());
  EXPECT_TRUE(flags.hidden("SUB/S.DAT", 25 * kSector, true));
}

// A directory record that leads back to a directory already read (a damaged or
// forged image) is not read again: the reading ends.
TEST(IsoHiddenFlags, ADirectoryThatLeadsBackIsReadOnce) {
  std::string image(30 * kSector, '\0');
  const auto put = [&](uint32_t at, const std::string& bytes) {
    image.replace(at, bytes.size(), bytes);
  };
  put(16 * kSector, "\001CD001");
  put(16 * kSector + 156, record(18, kSector, 0x02, std::string(1, '\0')));
  put(18 * kSector, record(18, kSector, 0x02, std::string(1, '\0')) +
                        record(18, kSector, 0x02, "\x01") + record(18, kSector, 0x02, "LOOP") +
                        record(24, 10, 0x01, "H.DAT;1"));
  IsoHiddenFlags flags;
  flags.see(0, image.data(), image.size());
  EXPECT_TRUE(flags.hidden("H.DAT", -1, true));
  EXPECT_FALSE(flags.hidden("LOOP/H.DAT", -1, true));
}

// With a Joliet tree beside the primary one, its names (UTF-16, past the BMP
// too) and flags count, unless Joliet's names are not used; Rock Ridge names in
// the primary tree take precedence over both.
TEST(IsoHiddenFlags, NamesComeFromTheTreeLibarchiveNamesFilesBy) {
  const auto imageWith = [](bool rockRidge) {
    std::string image(30 * kSector, '\0');
    const auto put = [&](uint32_t at, const std::string& bytes) {
      image.replace(at, bytes.size(), bytes);
    };
    put(16 * kSector, "\001CD001");
    put(16 * kSector + 156, record(18, kSector, 0x02, std::string(1, '\0')));
    put(17 * kSector, "\002CD001");
    put(17 * kSector + 88, "%/E");
    put(17 * kSector + 156, record(20, kSector, 0x02, std::string(1, '\0')));
    const std::string sp = rockRidge ? std::string("SP\x07\x01\xBE\xEF\0", 7) : "";
    const std::string nm = rockRidge ? std::string("NM\x0B\x01\0rr.dat", 11) : "";
    put(18 * kSector, record(18, kSector, 0x02, std::string(1, '\0'), sp) +
                          record(0, 0, rockRidge ? 0x01 : 0, "P.DAT;1", nm));
    put(20 * kSector,
        record(20, kSector, 0x02, std::string(1, '\0')) +
            record(0, 0, 0x01, std::string("\0j\xD8\x3D\xDE\x00\0;\0001", 10)) +
            record(0, 0, 0x01, "\xDF\xFF") +  // a lone low surrogate
            // U+007F, U+0080, U+07FF, U+0800, U+FFFD, U+10000: each length's edges
            record(0, 0, 0x01, std::string("\0\x7F\0\x80\x07\xFF\x08\0\xFF\xFD\xD8\0\xDC\0", 14)));
    IsoHiddenFlags flags;
    flags.see(0, image.data(), image.size());
    return flags;
  };
  const IsoHiddenFlags joliet = imageWith(false);
  EXPECT_TRUE(joliet.hidden("j\xF0\x9F\x98\x80", -1, true));
  EXPECT_FALSE(joliet.hidden("P.DAT", -1, true));
  EXPECT_FALSE(joliet.hidden("j\xF0\x9F\x98\x80", -1, false));
  EXPECT_FALSE(joliet.hidden("\xED\xBF\xBF", -1, true));  // named by no locale: never found
  EXPECT_TRUE(
      joliet.hidden("\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBD\xF0\x90\x80\x80", -1, true));
  const IsoHiddenFlags rockRidge = imageWith(true);
  EXPECT_TRUE(rockRidge.hidden("rr.dat", -1, true));
  EXPECT_FALSE(rockRidge.hidden("j\xF0\x9F\x98\x80", -1, true));
}

}  // namespace
}  // namespace sources
