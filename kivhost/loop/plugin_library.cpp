#include "kivhost/loop/plugin_library.h"

#include <dlfcn.h>

#include <stdexcept>

namespace kivhost {

PluginLibrary::PluginLibrary(const std::string& path) : path_(path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* why = dlerror();
    throw std::runtime_error("cannot load the plug-in " + path + ": " + (why ? why : "unknown error"));
  }
  auto resolve = [this](const char* name) {
    void* fn = dlsym(handle_, name);
    if (!fn) {
      dlclose(handle_);
      handle_ = nullptr;
      throw std::runtime_error("the plug-in " + path_ + " does not export " + name);
    }
    return fn;
  };
#define KIV_RESOLVE(ret, name, params) name = reinterpret_cast<ret(*) params>(resolve(#name));
  KIV_PLUGIN_FUNCTIONS(KIV_RESOLVE)
#undef KIV_RESOLVE
}

PluginLibrary::~PluginLibrary() {
  if (handle_) dlclose(handle_);
}

}  // namespace kivhost
