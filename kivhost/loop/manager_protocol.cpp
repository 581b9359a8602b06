#include "kivhost/loop/manager_protocol.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace kivhost {

namespace {

// FNV-1a: the same list gives the same name in every kivhost build.
uint64_t NameHash(std::string_view text) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
  return h;
}

}  // namespace

std::string ManagerSocketPath(const std::string& listFile) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(listFile, ec);
  char name[64];
  std::snprintf(name, sizeof name, "kivhost-%u-%016llx.sock", static_cast<unsigned>(getuid()),
                static_cast<unsigned long long>(NameHash(ec ? listFile : absolute.lexically_normal().string())));
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const char* temporary = std::getenv("TMPDIR");
  const std::string folder = runtime && *runtime ? runtime : temporary && *temporary ? temporary : "/tmp";
  return (std::filesystem::path(folder) / name).string();
}

std::string FormatRequest(const ManagerRequest& request) {
  switch (request.kind) {
    case ManagerRequest::Kind::List: return "list";
    case ManagerRequest::Kind::Add: return "add " + request.argument;
    case ManagerRequest::Kind::Remove: return "remove " + request.argument;
    case ManagerRequest::Kind::Skins: return "skins";
  }
  return "list";
}

ManagerRequest ParseRequest(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const size_t space = line.find(' ');
  const std::string_view verb = line.substr(0, space);
  const std::string argument(space == std::string_view::npos ? std::string_view() : line.substr(space + 1));
  if (verb == "list" && argument.empty()) return {ManagerRequest::Kind::List, ""};
  if (verb == "add" && !argument.empty()) return {ManagerRequest::Kind::Add, argument};
  if (verb == "remove" && !argument.empty()) return {ManagerRequest::Kind::Remove, argument};
  if (verb == "skins" && argument.empty()) return {ManagerRequest::Kind::Skins, ""};
  throw ManagerError("not a request: " + std::string(line.substr(0, 80)));
}

}  // namespace kivhost
