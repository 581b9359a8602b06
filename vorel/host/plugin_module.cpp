#include "vorel/host/plugin_module.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

namespace vorel {

std::string PluginFile() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&PluginFile), &info) == 0 || !info.dli_fname) return {};
  std::error_code ec;
  auto path = std::filesystem::canonical(info.dli_fname, ec);
  return ec ? std::string(info.dli_fname) : path.string();
}

std::string PluginFolder() {
  // NOTE: a test may point the plug-in at another folder, as a host would by
  // installing it elsewhere; the variable is read at every call.
  if (const char* overrideFolder = std::getenv("VOREL_PLUGIN_FOLDER"); overrideFolder && *overrideFolder) {
    std::string f = overrideFolder;
    if (f.back() != '/') f += '/';
    return f;
  }
  std::string file = PluginFile();
  auto slash = file.find_last_of('/');
  return slash == std::string::npos ? std::string("./") : file.substr(0, slash + 1);
}

}  // namespace vorel
