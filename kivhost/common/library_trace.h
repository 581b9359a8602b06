// Reporting calls made into the host's libraries to the host's trace. The
// kivhost program exports KivHostTraceBegin and KivHostTraceEnd; loaded by
// another program the libraries simply do not report. While a library call
// is open, the host functions it calls are traced as called by the library.
#pragma once

#include <cstdint>
#include <string>

#include "platform/abi/kiv_types.h"

extern "C" {
typedef uint64_t (*KivHostTraceBeginFn)(const char* fn, HWND hwnd, const char* args);
typedef void (*KivHostTraceEndFn)(uint64_t seq, const char* ret);
typedef int32_t (*KivHostTraceEnabledFn)();
}

namespace kivlib {

// True when the host writes a trace; costly argument texts (picture
// digests) are made only then.
bool TraceActive();

// One traced call into a library, from construction to destruction. args
// and the result are JSON texts.
class LibraryCall {
 public:
  LibraryCall(const char* fn, HWND hwnd, const std::string& args);
  ~LibraryCall();
  LibraryCall(const LibraryCall&) = delete;
  LibraryCall& operator=(const LibraryCall&) = delete;

  void Result(std::string ret) { ret_ = std::move(ret); }

 private:
  uint64_t seq_ = 0;
  bool open_ = false;
  std::string ret_ = "null";
};

}  // namespace kivlib
