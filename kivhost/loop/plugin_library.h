// PluginLibrary: the plug-in the host loaded, with every export it must
// have resolved by name. Loading fails with a clear message naming the
// file or the missing export.
#pragma once

#include <string>

#include "platform/abi/plugin_api.h"

namespace kivhost {

class PluginLibrary {
 public:
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // The module handle handed to the plug-in's create calls.
  HMODULE Module() const { return reinterpret_cast<HMODULE>(handle_); }
  const std::string& Path() const { return path_; }

#define KIV_MEMBER(ret, name, params) ret(*name) params = nullptr;
  KIV_PLUGIN_FUNCTIONS(KIV_MEMBER)
#undef KIV_MEMBER

 protected:
  // No library behind it: a program's own plug-in (a test's) fills in the
  // functions it needs.
  PluginLibrary() = default;

 private:
  std::string path_;
  void* handle_ = nullptr;
};

}  // namespace kivhost
