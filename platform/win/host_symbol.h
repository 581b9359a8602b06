// Lookup of functions that the host program exports. Nothing is cached
// beyond the handle of the main program: a function is looked up at every
// call, so a host may provide it late or not at all.
#pragma once

namespace win {

// The address of the named export of the main program, or null.
void* FindHostSymbol(const char* name);

template <typename Fn>
Fn* FindHostFunction(const char* name) {
  return reinterpret_cast<Fn*>(FindHostSymbol(name));
}

}  // namespace win
