#include "kivhost/desktop/desklet_manager.h"

#include <glib.h>

#include <charconv>
#include <filesystem>

#include "kivhost/loop/skin_catalog.h"

namespace kivhost {

std::string ListLine(size_t number, const HostDesklet& desklet) {
  const KivSize size = desklet.Size();
  const std::string name = desklet.label.empty() ? desklet.SkinName() : desklet.label;
  return std::to_string(number) + "\t" + name + "\t" + std::to_string(desklet.rect.left) + "," +
         std::to_string(desklet.rect.top) + "\t" + std::to_string(size.cx) + "x" + std::to_string(size.cy) + "\n";
}

DeskletManager::DeskletManager(Host& host, Session& session, DeskletList& kept, std::function<void()> changed)
    : host_(host), session_(session), kept_(kept), changed_(std::move(changed)) {}

std::string DeskletManager::Handle(const ManagerRequest& request) {
  switch (request.kind) {
    case ManagerRequest::Kind::List: return List();
    case ManagerRequest::Kind::Add: return Add(request.argument);
    case ManagerRequest::Kind::Remove: return Remove(request.argument);
    case ManagerRequest::Kind::Skins: return Skins();
  }
  throw ManagerError("unknown request");
}

std::string DeskletManager::List() {
  std::string lines;
  size_t number = 0;
  for (const HostDesklet* d : host_.Desklets()) lines += ListLine(++number, *d);
  return lines;
}

std::string DeskletManager::Skins() {
  if (!host_.Plugin()) throw ManagerError("no plug-in is loaded");
  std::string lines;
  for (const SkinInfo& skin : ListOfferedSkins(host_, *host_.Plugin())) lines += SkinListLine(skin);
  return lines;
}

std::string DeskletManager::Add(const std::string& skinFile) {
  // A key of a skin the plug-in offers makes the desklet from the plug-in's
  // record of it; anything else must be a skin file.
  std::optional<SkinInfo> offered;
  if (host_.Plugin()) offered = FindOfferedSkin(host_, *host_.Plugin(), skinFile);
  // NOTE: the asking kivhost made the path absolute; this one may run in
  // another folder.
  if (!offered && !std::filesystem::path(skinFile).is_absolute())
    throw ManagerError("the skin file must be given by its full path");
  if (!offered && !std::filesystem::is_regular_file(skinFile))
    throw ManagerError("the skin file " + skinFile + " does not exist");
  const SettingsPlace place = kept_.AddNew();
  HostDesklet* desklet = offered ? session_.CreateFromOffered(*offered, place) : session_.CreateFromSkin(skinFile, place);
  if (!desklet) {
    kept_.Remove(place);
    throw ManagerError("the plug-in did not create a desklet from " + skinFile);
  }
  const HWND hwnd = desklet->Hwnd();
  // NOTE: the skin's load sizes the desklet; it is written down after it,
  // or it would come back at the default size.
  host_.PumpPending();
  if (HostDesklet* loaded = host_.Find(hwnd)) session_.Save(*loaded);
  changed_();
  const std::vector<HostDesklet*> all = host_.Desklets();
  for (size_t i = 0; i < all.size(); ++i)
    if (all[i]->Hwnd() == hwnd) return ListLine(i + 1, *all[i]);
  throw ManagerError("the desklet made from " + skinFile + " closed at once");
}

std::string DeskletManager::Remove(const std::string& number) {
  const std::vector<HostDesklet*> all = host_.Desklets();
  size_t n = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), n);
  if (error != std::errc() || end != number.data() + number.size() || n == 0 || n > all.size())
    throw ManagerError("no desklet " + number + " (there are " + std::to_string(all.size()) + ")");
  const std::string line = ListLine(n, *all[n - 1]);
  // NOTE: a request may come while a dialog or a waiting animation of the
  // plug-in runs GTK's loop from inside a call; the desklet cannot go
  // under that call's feet, and goes when it returns.
  if (g_main_depth() > 1) {
    session_.RequestCloseForGood(all[n - 1]->Hwnd());
    return line;
  }
  session_.CloseForGood(all[n - 1]->Hwnd());
  host_.PumpPending();
  changed_();
  return line;
}

}  // namespace kivhost
