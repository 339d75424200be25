#include "fixity/sha256.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace fixity {

struct Sha256::Context {
  EVP_MD_CTX* md = EVP_MD_CTX_new();
  ~Context() { EVP_MD_CTX_free(md); }
  void start() {
    if (md == nullptr || EVP_DigestInit_ex(md, EVP_sha256(), nullptr) != 1)
      throw std::runtime_error("SHA-256 is not available from libcrypto");
  }
};

Sha256::Sha256() : context_(std::make_unique<Context>()) { context_->start(); }

Sha256::~Sha256() = default;

void Sha256::add(std::string_view bytes) {
  EVP_DigestUpdate(context_->md, bytes.data(), bytes.size());
}

std::string Sha256::hex() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_DigestFinal_ex(context_->md, digest, &size);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < size; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 15];
  }
  context_->start();
  return text;
}

std::string sha256Hex(std::string_view bytes) {
  Sha256 digest;
  digest.add(bytes);
  return digest.hex();
}

}  // namespace fixity
