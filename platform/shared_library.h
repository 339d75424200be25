#pragma once

#include <string>

#include "base/outcome.h"

namespace platform {

// A shared library loaded while the program runs, for a service only some runs
// need (a PostgreSQL client, an image reader), so that the others start
// without it. Loaded once for the process and never unloaded.
struct SharedLibrary {
  void* handle = nullptr;
};

// Loads the library of that name (a soname, "libpq.so.5"), looked for as the
// host's loader looks for libraries; a failure says why in the host's words.
base::Outcome<SharedLibrary> loadSharedLibrary(const std::string& name);

// The address of the library's function of that name; null when it has none.
void* functionOf(const SharedLibrary& library, const char* name);

// Sets function to the library's function of that name, of the type the
// caller declares it with; false when the library has none.
template <typename Function>
bool findFunction(const SharedLibrary& library, const char* name, Function*& function) {
  function = reinterpret_cast<Function*>(functionOf(library, name));
  return function != nullptr;
}

}  // namespace platform
