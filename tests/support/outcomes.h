#pragma once

#include <optional>
#include <string>

#include "base/outcome.h"

namespace testsupport {

// An outcome's value as an optional, to compare in one expectation.
template <typename T>
std::optional<T> valueOf(base::Outcome<T> outcome) {
  if (!outcome) return std::nullopt;
  return std::move(*outcome);
}

// A status's problem; nothing on success.
inline std::optional<std::string> problemOf(const base::Status& status) {
  if (status) return std::nullopt;
  return status.problem();
}

}  // namespace testsupport
