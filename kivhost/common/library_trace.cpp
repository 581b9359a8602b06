#include "kivhost/common/library_trace.h"

#include <dlfcn.h>

namespace kivlib {

// NOTE: looked up at every call, like the host functions themselves: the
// library may be loaded before it is known which program exports the hooks.
bool TraceActive() {
  auto enabled = reinterpret_cast<KivHostTraceEnabledFn>(dlsym(RTLD_DEFAULT, "KivHostTraceEnabled"));
  return enabled && enabled() != 0;
}

LibraryCall::LibraryCall(const char* fn, HWND hwnd, const std::string& args) {
  auto begin = reinterpret_cast<KivHostTraceBeginFn>(dlsym(RTLD_DEFAULT, "KivHostTraceBegin"));
  if (!begin) return;
  seq_ = begin(fn, hwnd, args.c_str());
  open_ = true;
}

LibraryCall::~LibraryCall() {
  if (!open_) return;
  auto end = reinterpret_cast<KivHostTraceEndFn>(dlsym(RTLD_DEFAULT, "KivHostTraceEnd"));
  if (end) end(seq_, ret_.c_str());
}

}  // namespace kivlib
