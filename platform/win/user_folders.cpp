#include "platform/win/user_folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/util/text.h"

namespace win {

namespace {

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string Home() {
  std::string h = Env("HOME");
  return h.empty() ? std::string("/") : h;
}

// The value of one XDG_..._DIR line of user-dirs.dirs, "$HOME" expanded.
std::string XdgUserDir(const std::string& key) {
  std::string config = Env("XDG_CONFIG_HOME");
  if (config.empty()) config = Home() + "/.config";
  std::ifstream in(config + "/user-dirs.dirs");
  std::string line;
  while (std::getline(in, line)) {
    line = kiv::Trim(line);
    if (!kiv::StartsWith(line, key + "=")) continue;
    std::string v = line.substr(key.size() + 1);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    if (kiv::StartsWith(v, "$HOME")) v = Home() + v.substr(5);
    return v;
  }
  return {};
}

std::string UserDir(const std::string& key, const std::string& fallback) {
  std::string v = XdgUserDir(key);
  return v.empty() ? Home() + "/" + fallback : v;
}

}  // namespace

std::string GetSpecialFolder(int csidl, bool create) {
  std::string path;
  switch (csidl) {
    case kCsidlPersonal: path = UserDir("XDG_DOCUMENTS_DIR", "Documents"); break;
    case kCsidlMyMusic: path = UserDir("XDG_MUSIC_DIR", "Music"); break;
    case kCsidlMyVideo: path = UserDir("XDG_VIDEOS_DIR", "Videos"); break;
    case kCsidlDesktopDirectory: path = UserDir("XDG_DESKTOP_DIR", "Desktop"); break;
    case kCsidlMyPictures: path = UserDir("XDG_PICTURES_DIR", "Pictures"); break;
    case kCsidlInternetCache: {
      path = Env("XDG_CACHE_HOME");
      if (path.empty()) path = Home() + "/.cache";
      break;
    }
    default: return {};
  }
  if (create) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
  }
  return WithSlash(path);
}

std::string GetTempPath() {
  std::string t = Env("TMPDIR");
  return WithSlash(t.empty() ? std::string("/tmp") : t);
}

std::string GetConfigHome() {
  std::string c = Env("XDG_CONFIG_HOME");
  return WithSlash(c.empty() ? Home() + "/.config" : c);
}

}  // namespace win
