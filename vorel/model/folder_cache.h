// The special folders that variable expansion hands out, looked up once per
// desklet. A folder is created again when a token asks for it and it has
// gone missing meanwhile, exactly as a fresh lookup would.
#pragma once

#include <array>
#include <string>

namespace vorel {

class TFolderCache {
 public:
  // The folder for a special-folder number (documents 5, music 13, videos
  // 14, desktop 16, internet cache 32, pictures 39), created when missing,
  // with a trailing "/".
  const std::string& Folder(int csidl);
  const std::string& TempFolder();

 private:
  struct Entry {
    int csidl = -1;
    std::string path;
  };
  std::array<Entry, 6> entries_{};
  std::string temp_;
  std::string uncached_;
};

}  // namespace vorel
