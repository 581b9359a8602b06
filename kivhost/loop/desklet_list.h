// DeskletList: the desklets of the desktop session, kept in the host's INI
// file ($XDG_CONFIG_HOME/kivhost/desklets.ini) so that they come back at
// the next start. Each desklet has a section of its own (Desklet1,
// Desklet2 ...) for its settings; the section [kivhost] lists them, in the
// order they came.
#pragma once

#include <string>
#include <vector>

#include "kivhost/loop/session.h"

namespace kivhost {

class DeskletList {
 public:
  explicit DeskletList(std::string iniFile);
  static std::string DefaultFile();
  const std::string& File() const { return file_; }

  std::vector<SettingsPlace> Places() const;
  // A section no desklet uses, listed at the end.
  SettingsPlace AddNew();
  // Unlists the desklet and removes its sections.
  void Remove(const SettingsPlace& place);

 private:
  std::vector<std::string> Sections() const;
  void WriteSections(const std::vector<std::string>& sections);

  std::string file_;
};

}  // namespace kivhost
