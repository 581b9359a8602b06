#include "vorel/host/shared_library.h"

#include <dlfcn.h>

#include "vorel/host/plugin_module.h"

namespace vorel {

SharedLibrary::~SharedLibrary() {
  if (handle_) dlclose(handle_);
}

bool SharedLibrary::Load() {
  std::call_once(loaded_, [this] {
    handle_ = dlopen((PluginFolder() + fileName_).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) handle_ = dlopen(fileName_.c_str(), RTLD_NOW | RTLD_LOCAL);
  });
  return handle_ != nullptr;
}

void* SharedLibrary::Symbol(const char* name) { return Load() ? dlsym(handle_, name) : nullptr; }

}  // namespace vorel
