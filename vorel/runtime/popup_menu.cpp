#include "vorel/runtime/popup_menu.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/win_services.h"
#include "vorel/host/host_api.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

// Menus shown from the statements of a menu being shown (a chooser that
// opens another menu) are allowed this deep; a menu whose own statements
// show it again would otherwise go on until the stack ran out.
// NOTE: one count for the process, not one per thread: the plug-in is
// loaded with dlopen, and the leak checker of the sanitizer builds misreads
// the dynamic thread-local blocks of such libraries. Menus are shown on
// window threads; the count only bounds how deep they nest.
constexpr int kMaxMenuNesting = 8;
std::atomic<int> menuNesting = 0;

// A menu handle destroyed when it goes out of scope, unless a parent menu
// took it over as a sub-menu (the parent then destroys it with itself).
class TMenuHandle {
 public:
  explicit TMenuHandle(HMENU handle) : handle_(handle) {}
  ~TMenuHandle() { Reset(); }
  TMenuHandle(const TMenuHandle&) = delete;
  TMenuHandle& operator=(const TMenuHandle&) = delete;

  HMENU Get() const { return handle_; }
  void Release() { handle_ = 0; }
  void Reset() {
    if (handle_) win::DestroyMenu(handle_);
    handle_ = 0;
  }

 private:
  HMENU handle_;
};

// Appends the items depth first, each taking the next command number; a
// parent's number is used up although it opens a sub-menu instead. Each
// number's statement is copied as it goes, so the choice is found in what
// was shown, whatever the statements do to the records afterwards.
void AppendItems(HMENU menu, const TMenuItemList& items, std::vector<std::string>& statements) {
  for (const auto& item : items) {
    statements.push_back(item->OnClick);
    const auto command = static_cast<uintptr_t>(statements.size());
    if (!HasSubItems(*item)) {
      win::AppendMenu(menu, item->Flags, command, item->Name);
      continue;
    }
    TMenuHandle sub(win::CreatePopupMenu());
    const bool attached = win::AppendMenu(menu, item->Flags | kMfPopup, static_cast<uintptr_t>(sub.Get()), item->Name);
    AppendItems(sub.Get(), *item->SubMenu, statements);
    if (attached) sub.Release();
  }
}

}  // namespace

int32_t CountMenuItems(const TMenuItemList& items) {
  int32_t count = 0;
  for (const auto& item : items) count += 1 + (HasSubItems(*item) ? CountMenuItems(*item->SubMenu) : 0);
  return count;
}

bool ShowSkinMenu(TDeskletObject& d, uint8_t id) {
  TMenu* menu = FindMenu(d.menus, id);
  if (!menu || !menu->SubMenu || menu->SubMenu->empty()) return false;
  if (menuNesting >= kMaxMenuNesting) {
    d.errorLog.Report(std::make_exception_ptr(KivError("pop-up menu " + std::to_string(id) +
                                                       " is shown from its own statements without end")));
    return false;
  }
  ++menuNesting;
  struct Leave {
    ~Leave() { --menuNesting; }
  } leave;
  const std::weak_ptr<const char> alive = menu->lifetime;

  RunStatement(d, menu->OnBeforePopup);
  // The statement may have deleted the menu or all its items: there is
  // nothing left to show, but its statement was this click's work.
  if (alive.expired() || !menu->SubMenu) return true;

  const bool showDefault = menu->ShowDefaultMenu;
  const int32_t base = showDefault ? CountMenuItems(*menu->SubMenu) + 1 : 0;
  HMENU made = showDefault ? host::DeskletGetDefaultMenu(d.windowHandle, base) : 0;
  // A host without a desklet menu of its own gets the items alone.
  if (!made) made = win::CreatePopupMenu();
  TMenuHandle handle(made);
  std::vector<std::string> statements;
  AppendItems(handle.Get(), *menu->SubMenu, statements);
  std::string onAfterPopup = menu->OnAfterPopup;

  const KivPoint at = win::GetCursorPos();
  const int32_t command = win::TrackPopupMenu(handle.Get(), kTpmReturnCmd, at.x, at.y, d.windowHandle);
  std::string onClick;
  if (showDefault && command >= base)
    host::DeskletDoDefaultMenuCommand(d.windowHandle, base, command);
  else if (command >= 1 && static_cast<size_t>(command) <= statements.size())
    onClick = std::move(statements[static_cast<size_t>(command) - 1]);
  handle.Reset();

  RunStatement(d, onClick);
  // The after-popup statement as the click's statement left it; a menu the
  // click deleted still ends with the statement it was shown with.
  if (!alive.expired()) onAfterPopup = menu->OnAfterPopup;
  RunStatement(d, onAfterPopup);
  return true;
}

}  // namespace vorel
