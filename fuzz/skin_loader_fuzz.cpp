// The skin loader on whole skin files: a fresh desklet loads the input as
// its skin (parameters, sides, settings, sources, menus, timers, layers,
// controls, running its statements) and is destroyed again. Whatever the
// file holds, loading must end in the skin or the fallback picture; an
// exception escaping the loader, a crash or a leak is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/desklet_harness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::Prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzDesklet desklet;
  desklet.Load(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
