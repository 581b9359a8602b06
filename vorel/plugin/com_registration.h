// The registration of the plug-in's automation server in the per-user
// registry, the INI file $XDG_CONFIG_HOME/kivhost/registry.ini (default
// ~/.config/kivhost/registry.ini) with one section per key path. For each
// class of the library it holds:
//   [CLSID\{clsid}\InProcServer32]  @=<library file>, ThreadingModel=Apartment
//   [CLSID\{clsid}\ProgID]          @=Vorel.<Class>
//   [Vorel.<Class>\CLSID]           @={clsid}
// and once for the library [TypeLib\{libid}\1.0] @=<help string>. "@" is a
// key's default value. Other sections of the file are never touched.
#pragma once

#include <string>
#include <vector>

#include "platform/automation/type_library.h"
#include "platform/win/ini_file.h"

namespace vorel {

struct RegistrySection {
  std::string path;  // the key path, parts joined by "\"
  win::IniEntries values;
};

std::string RegistryFile();

// What registering the library's classes, served from moduleFile, writes.
std::vector<RegistrySection> ServerRegistration(const automation::TypeLibrary& library,
                                                const std::string& moduleFile);

// Writes the sections (creating the file's folder when missing); throws
// std::runtime_error when the file cannot be written.
void WriteRegistration(const std::string& registryFile, const std::vector<RegistrySection>& sections);
// Removes the sections in one write; how many were there.
size_t RemoveRegistration(const std::string& registryFile, const std::vector<RegistrySection>& sections);

}  // namespace vorel
