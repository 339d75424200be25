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

// Loads the library of that name and each function bind asks for: bind(find)
// calls find("name", slot) for each, slot a function pointer of the type the
// caller declares it with. A failure begins with unloadable (what the library
// is for, and which package gives it) when the library cannot be loaded, or
// names the first function it lacks.
template <typename Bind>
base::Status loadFunctions(const char* name, const std::string& unloadable, const Bind& bind) {
  const base::Outcome<SharedLibrary> library = loadSharedLibrary(name);
  if (!library) return base::failure(unloadable + ": " + library.problem());
  const char* missing = nullptr;
  bind([&](const char* function, auto*& slot) {
    if (missing == nullptr && !findFunction(*library, function, slot)) missing = function;
  });
  if (missing != nullptr) return base::failure(std::string(name) + " has no " + missing);
  return {};
}

}  // namespace platform
