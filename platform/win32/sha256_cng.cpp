#include <windows.h>
// windows.h first: bcrypt.h uses its types.
#include <bcrypt.h>

#include <stdexcept>

#include "platform/sha256.h"

namespace platform {

namespace {

bool succeeded(NTSTATUS status) { return status >= 0; }

// CNG's SHA-256 provider, opened once for the process. The handle is never
// closed: Windows takes it back when the process ends.
BCRYPT_ALG_HANDLE sha256Provider() {
  static const BCRYPT_ALG_HANDLE provider = [] {
    BCRYPT_ALG_HANDLE handle = nullptr;
    if (!succeeded(BCryptOpenAlgorithmProvider(&handle, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
      handle = nullptr;
    return handle;
  }();
  if (provider == nullptr) throw std::runtime_error("SHA-256 is not available from Windows' CNG");
  return provider;
}

}  // namespace

struct Sha256::Context {
  BCRYPT_HASH_HANDLE hash = nullptr;
  ~Context() {
    if (hash != nullptr) BCryptDestroyHash(hash);
  }
  void start() {
    if (!succeeded(BCryptCreateHash(sha256Provider(), &hash, nullptr, 0, nullptr, 0, 0)))
      throw std::runtime_error("SHA-256 is not available from Windows' CNG");
  }
};

Sha256::Sha256() : context_(std::make_unique<Context>()) { context_->start(); }

Sha256::~Sha256() = default;

void Sha256::add(std::string_view bytes) {
  // BCryptHashData takes at most 4 GiB - 1 at a time.
  constexpr std::size_t kMostAtOnce = 1u << 30;
  while (!bytes.empty()) {
    const std::string_view piece = bytes.substr(0, kMostAtOnce);
    // CNG does not write through its input pointer; its signature is not const.
    BCryptHashData(context_->hash,
                   reinterpret_cast<PUCHAR>(const_cast<char*>(piece.data())),
                   static_cast<ULONG>(piece.size()), 0);
    bytes.remove_prefix(piece.size());
  }
}

void Sha256::finish(unsigned char (&digest)[32]) {
  const bool finished = succeeded(BCryptFinishHash(context_->hash, digest, sizeof digest, 0));
  BCryptDestroyHash(context_->hash);
  context_->hash = nullptr;
  context_->start();
  if (!finished) throw std::runtime_error("SHA-256 could not be finished by Windows' CNG");
}

}  // namespace platform
