#include "kivhost/loop/desklet_list.h"

#include <algorithm>
#include <filesystem>

#include "platform/util/text.h"
#include "platform/win/ini_file.h"
#include "platform/win/user_folders.h"

namespace kivhost {

namespace {
constexpr const char* kListSection = "kivhost";
constexpr const char* kListKey = "Desklets";
}  // namespace

DeskletList::DeskletList(std::string iniFile) : file_(std::move(iniFile)) {}

std::string DeskletList::DefaultFile() { return win::GetConfigHome() + "kivhost/desklets.ini"; }

std::vector<std::string> DeskletList::Sections() const {
  std::string listed;
  win::ReadIniString(file_, kListSection, kListKey, listed);
  std::vector<std::string> sections;
  size_t start = 0;
  while (start <= listed.size()) {
    const size_t comma = listed.find(',', start);
    const std::string name = kiv::Trim(listed.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (!name.empty() && std::find(sections.begin(), sections.end(), name) == sections.end()) sections.push_back(name);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return sections;
}

void DeskletList::WriteSections(const std::vector<std::string>& sections) {
  std::string listed;
  for (const std::string& s : sections) listed += (listed.empty() ? "" : ",") + s;
  std::filesystem::create_directories(std::filesystem::path(file_).parent_path());
  win::WriteIniString(file_, kListSection, kListKey, listed);
}

std::vector<SettingsPlace> DeskletList::Places() const {
  std::vector<SettingsPlace> places;
  for (const std::string& s : Sections()) places.push_back({file_, s});
  return places;
}

SettingsPlace DeskletList::AddNew() {
  std::vector<std::string> sections = Sections();
  std::string name;
  for (int n = 1;; ++n) {
    name = "Desklet" + std::to_string(n);
    if (std::find(sections.begin(), sections.end(), name) == sections.end() &&
        win::ReadIniSection(file_, name).empty())
      break;
  }
  sections.push_back(name);
  WriteSections(sections);
  return {file_, name};
}

void DeskletList::Remove(const SettingsPlace& place) {
  std::vector<std::string> sections = Sections();
  std::erase(sections, place.section);
  WriteSections(sections);
  win::RemoveIniSections(file_, {place.section, WindowSection(place)});
}

}  // namespace kivhost
