#pragma once

#include <cstdint>

// The few facts of the ISO 9660 layout that the image reader uses itself.
namespace sources::iso9660 {

inline constexpr int64_t kSector = 2048;
// The primary volume descriptor: the first one, after the 16 system sectors.
inline constexpr int64_t kPrimaryDescriptor = 16 * kSector;

// The little-endian half of a both-byte-order 32-bit field at bytes.
inline uint32_t littleEndian32(const char* bytes) {
  const auto byte = [&](int i) { return static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])); };
  return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

}  // namespace sources::iso9660
