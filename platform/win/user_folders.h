// The user's special folders and the temporary folder, by the Windows
// folder numbers the system uses. They follow the XDG user directories
// (the user-dirs.dirs file, else ~/Documents and the like); the internet
// cache is $XDG_CACHE_HOME (default ~/.cache) and the temporary folder
// $TMPDIR or /tmp. Every folder is returned with a trailing "/".
#pragma once

#include <string>

namespace win {

enum SpecialFolderId : int {
  kCsidlPersonal = 5,
  kCsidlMyMusic = 13,
  kCsidlMyVideo = 14,
  kCsidlDesktopDirectory = 16,
  kCsidlInternetCache = 32,
  kCsidlMyPictures = 39,
};

// The folder's path; with create, the folder (and its parents) is made when
// missing. An unknown id gives the empty string.
std::string GetSpecialFolder(int csidl, bool create);
std::string GetTempPath();
// $XDG_CONFIG_HOME (default ~/.config), with a trailing "/".
std::string GetConfigHome();

}  // namespace win
