#include <dlfcn.h>

#include "platform/shared_library.h"

namespace platform {

base::Outcome<SharedLibrary> loadSharedLibrary(const std::string& name) {
  void* const handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* const why = dlerror();
    return base::failure(why != nullptr ? why : name + " cannot be loaded");
  }
  return SharedLibrary{handle};
}

void* functionOf(const SharedLibrary& library, const char* name) {
  return dlsym(library.handle, name);
}

}  // namespace platform
