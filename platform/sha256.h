#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform {

// A SHA-256 digest taken over bytes given in pieces: libcrypto's on POSIX hosts
// (it uses the CPU's SHA instructions where it has them), Windows' own CNG
// (bcrypt.dll) on Windows. Both give the same digests of the same bytes. A host
// without SHA-256 throws std::runtime_error when one is made.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void add(std::string_view bytes);
  // The digest of every byte added, as 64 lower-case hex digits; the digest
  // starts again empty.
  std::string hex();

 private:
  struct Context;  // the host's digest
  // The host's digest of every byte added, into digest; then it starts again.
  void finish(unsigned char (&digest)[32]);
  std::unique_ptr<Context> context_;
};

// The SHA-256 of bytes, in hex.
std::string sha256Hex(std::string_view bytes);

}  // namespace platform
