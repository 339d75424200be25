#pragma once

#include <cstddef>

namespace testsupport {

// While one lives, every request to operator new (any form) of at least `from`
// bytes fails: std::bad_alloc, or a null pointer from the nothrow forms. Smaller
// requests are served, so a test can starve one large structure and keep the
// rest. Only a test program that links failing_allocation.cpp has it; there,
// operator new and delete of every form go to malloc and free.
class FailingAllocation {
 public:
  explicit FailingAllocation(std::size_t from);
  ~FailingAllocation();
  FailingAllocation(const FailingAllocation&) = delete;
  FailingAllocation& operator=(const FailingAllocation&) = delete;

 private:
  std::size_t before_;
};

}  // namespace testsupport
