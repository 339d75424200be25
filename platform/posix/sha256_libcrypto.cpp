#include <openssl/evp.h>

#include <stdexcept>

#include "platform/sha256.h"

namespace platform {

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

void Sha256::finish(unsigned char (&digest)[32]) {
  unsigned int size = 0;
  EVP_DigestFinal_ex(context_->md, digest, &size);
  context_->start();
}

}  // namespace platform
