// DeskletManager: what the manager socket asks of the running desktop
// session: the desklets listed one per line ("N<TAB>name<TAB>left,top<TAB>
// WIDTHxHEIGHT", numbered from 1 in the order they came), a desklet added
// from a skin file and kept for the next session, a desklet closed for
// good by its number, and the skins the plug-in offers (SkinListLine).
#pragma once

#include <functional>
#include <string>

#include "kivhost/loop/manager_protocol.h"
#include "kivhost/loop/desklet_list.h"
#include "kivhost/loop/session.h"

namespace kivhost {

class DeskletManager {
 public:
  // `changed` brings the windows in line after a desklet came or went.
  DeskletManager(Host& host, Session& session, DeskletList& kept, std::function<void()> changed);
  // The answer's lines; throws ManagerError for a request it cannot carry
  // out (a missing skin file, no such desklet).
  std::string Handle(const ManagerRequest& request);

 private:
  std::string List();
  std::string Add(const std::string& skinFile);
  std::string Remove(const std::string& number);
  std::string Skins();

  Host& host_;
  Session& session_;
  DeskletList& kept_;
  std::function<void()> changed_;
};

// One desklet's line of the list.
std::string ListLine(size_t number, const HostDesklet& desklet);

}  // namespace kivhost
