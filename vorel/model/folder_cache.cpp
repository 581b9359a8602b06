#include "vorel/model/folder_cache.h"

#include <sys/stat.h>

#include <filesystem>

#include "platform/win/user_folders.h"

namespace vorel {

namespace {
bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
}  // namespace

const std::string& TFolderCache::Folder(int csidl) {
  for (auto& e : entries_) {
    if (e.csidl == csidl) {
      if (!IsFolder(e.path)) {
        std::error_code ec;
        std::filesystem::create_directories(e.path, ec);
      }
      return e.path;
    }
    if (e.csidl == -1) {
      e.csidl = csidl;
      e.path = win::GetSpecialFolder(csidl, true);
      return e.path;
    }
  }
  // More distinct folders than slots: not cached, but kept until the next
  // such lookup so that the reference stays good.
  uncached_ = win::GetSpecialFolder(csidl, true);
  return uncached_;
}

const std::string& TFolderCache::TempFolder() {
  if (temp_.empty()) temp_ = win::GetTempPath();
  return temp_;
}

}  // namespace vorel
