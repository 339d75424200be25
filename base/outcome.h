#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace base {

// Why an operation gave no value, in words a message can carry after the
// thing it concerns ("cannot be opened: Permission denied"), never the
// program's name.
struct Failure {
  std::string problem;
};

inline Failure failure(std::string problem) { return Failure{std::move(problem)}; }

// What a fallible operation gives: its value, or the failure that kept it from
// one; either way, the warnings met on the way (each a message of its own).
// Read like an optional: test it, then take the value with * or ->; problem()
// tells why there is none.
template <typename T>
class [[nodiscard]] Outcome {
 public:
  // Implicit on purpose: a function returns its value, or base::failure(why).
  Outcome(T value) : value_(std::move(value)) {}                    // NOLINT
  Outcome(Failure failed) : problem_(std::move(failed.problem)) {}  // NOLINT

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  T& operator*() & { return *value_; }
  const T& operator*() const& { return *value_; }
  T&& operator*() && { return *std::move(value_); }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  // The value, or otherwise when there is none (as std::optional names it).
  T value_or(T otherwise) const& { return value_.value_or(std::move(otherwise)); }
  // Empty when there is a value.
  const std::string& problem() const { return problem_; }

  std::vector<std::string> warnings;

 private:
  std::optional<T> value_;
  std::string problem_;
};

// The outcome of an operation that gives nothing but success or a failure.
template <>
class [[nodiscard]] Outcome<void> {
 public:
  Outcome() = default;
  Outcome(Failure failed) : ok_(false), problem_(std::move(failed.problem)) {}  // NOLINT

  bool ok() const { return ok_; }
  explicit operator bool() const { return ok_; }
  const std::string& problem() const { return problem_; }

  std::vector<std::string> warnings;

 private:
  bool ok_ = true;
  std::string problem_;
};

using Status = Outcome<void>;

}  // namespace base
