#include "platform/sha256.h"

namespace platform {

std::string Sha256::hex() {
  unsigned char digest[32];
  finish(digest);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (const unsigned char byte : digest) {
    text += kHex[byte >> 4];
    text += kHex[byte & 15];
  }
  return text;
}

std::string sha256Hex(std::string_view bytes) {
  Sha256 digest;
  digest.add(bytes);
  return digest.hex();
}

}  // namespace platform
