#include "platform/win/registry.h"

#include <filesystem>
#include <mutex>

#include "platform/win/ini_file.h"
#include "platform/win/user_folders.h"

namespace win {

namespace {

std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

std::string RegistryFile() { return GetConfigHome() + "kivhost/registry.ini"; }

std::optional<std::string> ReadRegistryValue(const std::string& keyPath, const std::string& name) {
  std::lock_guard lock(RegistryMutex());
  std::string value;
  if (!ReadIniString(RegistryFile(), keyPath, name, value)) return std::nullopt;
  return value;
}

void WriteRegistryValue(const std::string& keyPath, const std::string& name, const std::string& value) {
  std::lock_guard lock(RegistryMutex());
  const std::string file = RegistryFile();
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
  if (ec) throw std::runtime_error("cannot create the folder of " + file + ": " + ec.message());
  WriteIniString(file, keyPath, name, value);
}

}  // namespace win
