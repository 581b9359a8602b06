// A shared library of the host loaded by file name: from the plug-in's own
// folder first, then from the normal search path. Functions are resolved
// by name. The first use loads it, once, whichever thread comes first;
// after that it may be used from any thread.
#pragma once

#include <mutex>
#include <string>

namespace vorel {

class SharedLibrary {
 public:
  explicit SharedLibrary(std::string fileName) : fileName_(std::move(fileName)) {}
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Loads the library on first use; false when it cannot be found.
  bool Load();
  // The named function, or null when the library or the function is missing.
  void* Symbol(const char* name);

  template <typename Fn>
  Fn* Function(const char* name) {
    return reinterpret_cast<Fn*>(Symbol(name));
  }

 private:
  std::string fileName_;
  std::once_flag loaded_;
  void* handle_ = nullptr;
};

}  // namespace vorel
