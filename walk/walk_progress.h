#pragma once

#include <cstddef>
#include <string_view>

#include "verify/verification_listener.h"

namespace walk {

// Told how far a walk has come: walkArchive reports what each listing selected,
// and, added to the verifier as a listener, it hears of every file verified.
class WalkProgress : public verify::VerificationListener {
 public:
  // The walk listed a directory ("" for the disk's root) and selected count
  // data files in it, which it verifies next.
  virtual void filesListed(std::string_view /*directory*/, std::size_t /*count*/) {}
};

}  // namespace walk
