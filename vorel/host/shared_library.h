// A shared library of the host loaded by file name: from the plug-in's own
// folder first, then from the normal search path. Functions are resolved
// by name.
#pragma once

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
  void* handle_ = nullptr;
  bool tried_ = false;
};

}  // namespace vorel
