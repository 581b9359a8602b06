#include "vorel/runtime/popup_menu.h"

#include "vorel/model/desklet.h"
#include "vorel/util/errors.h"

namespace vorel {

bool ShowSkinMenu(TDeskletObject& desklet, uint8_t id) {
  for (auto& menu : desklet.menus) {
    if (menu->ID != id) continue;
    if (!menu->SubMenu || menu->SubMenu->empty()) return false;
    NotImplemented("pop-up menus");
  }
  return false;
}

}  // namespace vorel
