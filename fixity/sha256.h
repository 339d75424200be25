#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace fixity {

// A SHA-256 digest taken over bytes given in pieces (OpenSSL's, which uses the
// CPU's SHA instructions where it has them).
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
  struct Context;
  std::unique_ptr<Context> context_;
};

// The SHA-256 of bytes, in hex.
std::string sha256Hex(std::string_view bytes);

}  // namespace fixity
