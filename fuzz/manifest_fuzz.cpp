// A manifest as cdarchive check --manifest reads it: any bytes are read or
// refused without harm, and what is read writes back and reads again as itself.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>

#include "fixity/audit.h"

namespace {

void byPathAndDigest(std::vector<fixity::FileFixity>& files) {
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return std::tie(a.path, a.sha256) < std::tie(b.path, b.sha256);
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  base::Outcome<std::vector<fixity::FileFixity>> files = fixity::readManifest(text);
  if (!files) {
    if (files.problem().empty()) std::abort();  // refused without a reason
    return 0;
  }
  base::Outcome<std::vector<fixity::FileFixity>> again =
      fixity::readManifest(fixity::manifestText(*files));
  if (!again) std::abort();
  byPathAndDigest(*files);
  byPathAndDigest(*again);
  if (*files != *again) std::abort();
  fixity::audit(*files, *again);
  return 0;
}
