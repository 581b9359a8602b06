#include "vorel/util/paths.h"

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "platform/util/text.h"
#include "vorel/util/errors.h"

namespace vorel {

std::string NormalisePath(std::string_view path) {
  std::string p(path);
  for (auto& c : p)
    if (c == '\\') c = '/';
  return p;
}

std::string FolderOf(std::string_view path) {
  auto slash = path.find_last_of('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string WithTrailingSlash(std::string_view folder) {
  std::string f(folder);
  if (f.empty() || f.back() != '/') f += '/';
  return f;
}

bool HasExtension(std::string_view path) {
  auto slash = path.find_last_of('/');
  auto name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  auto dot = name.find_last_of('.');
  return dot != std::string_view::npos && dot > 0 && dot + 1 < name.size();
}

bool HasFolderPart(std::string_view path) { return path.find('/') != std::string_view::npos; }

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw KivError("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ResolveSkinFile(const std::string& resourcePath, std::string_view name) {
  const std::string path = NormalisePath(name);
  // NOTE: a drive-letter path written on Windows ("C:/data/a.png") is
  // absolute too; it is kept so that it fails as a missing file rather than
  // being looked for inside the skin folder.
  const bool absolute = kiv::StartsWith(path, "/") || (path.size() > 1 && path[1] == ':');
  return absolute ? path : resourcePath + path;
}

std::string RelativeSkinPath(const std::string& skinPath, const std::string& pluginFolder) {
  // NOTE: the base is matched as a whole folder ("/a/b/"), so a sibling
  // folder whose name merely starts the same ("/a/bc/") is not taken for it.
  std::string base = WithTrailingSlash(pluginFolder);
  if (skinPath.compare(0, base.size(), base) == 0) {
    std::string rest = skinPath.substr(base.size());
    while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
    return rest;
  }
  auto last = skinPath.find_last_of('/');
  if (last == std::string::npos) return skinPath;
  auto before = last == 0 ? std::string::npos : skinPath.find_last_of('/', last - 1);
  std::string tail = before == std::string::npos ? skinPath : skinPath.substr(before + 1);
  while (!tail.empty() && tail.front() == '/') tail.erase(0, 1);
  return tail;
}

}  // namespace vorel
