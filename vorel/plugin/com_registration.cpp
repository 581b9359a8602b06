#include "vorel/plugin/com_registration.h"

#include <filesystem>
#include <stdexcept>

#include "platform/win/user_folders.h"

namespace vorel {

namespace {

constexpr const char* kDefaultValue = "@";

std::string ProgIdOf(const automation::CoClassInfo& c) { return "Vorel." + c.name; }

}  // namespace

std::string RegistryFile() { return win::GetConfigHome() + "kivhost/registry.ini"; }

std::vector<RegistrySection> ServerRegistration(const automation::TypeLibrary& library,
                                                const std::string& moduleFile) {
  std::vector<RegistrySection> sections;
  for (const automation::CoClassInfo& c : library.CoClasses()) {
    const std::string clsid = automation::ToString(c.clsid);
    sections.push_back({"CLSID\\" + clsid + "\\InProcServer32",
                        {{kDefaultValue, moduleFile}, {"ThreadingModel", "Apartment"}}});
    sections.push_back({"CLSID\\" + clsid + "\\ProgID", {{kDefaultValue, ProgIdOf(c)}}});
    sections.push_back({ProgIdOf(c) + "\\CLSID", {{kDefaultValue, clsid}}});
  }
  const std::string version = std::to_string(library.MajorVersion()) + "." + std::to_string(library.MinorVersion());
  sections.push_back({"TypeLib\\" + automation::ToString(library.Libid()) + "\\" + version,
                      {{kDefaultValue, library.HelpString()}}});
  return sections;
}

void WriteRegistration(const std::string& registryFile, const std::vector<RegistrySection>& sections) {
  const std::filesystem::path folder = std::filesystem::path(registryFile).parent_path();
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) throw std::runtime_error("cannot create " + folder.string() + ": " + ec.message());
  std::vector<std::pair<std::string, win::IniEntries>> entries;
  entries.reserve(sections.size());
  for (const RegistrySection& section : sections) entries.emplace_back(section.path, section.values);
  win::WriteIniSections(registryFile, entries);
}

size_t RemoveRegistration(const std::string& registryFile, const std::vector<RegistrySection>& sections) {
  std::vector<std::string> paths;
  paths.reserve(sections.size());
  for (const RegistrySection& section : sections) paths.push_back(section.path);
  return win::RemoveIniSections(registryFile, paths);
}

}  // namespace vorel
