#include "kivhost/controls/control_store.h"

namespace kivcontrols {

ControlStore& ControlStore::Get() {
  static ControlStore store;
  return store;
}

Control* ControlStore::FindControl(KivHandle h) {
  auto it = controls.find(h);
  return it == controls.end() ? nullptr : &it->second;
}

Container* ControlStore::FindContainer(KivHandle h) {
  auto it = containers.find(h);
  return it == containers.end() ? nullptr : &it->second;
}

}  // namespace kivcontrols
