#include "kivhost/controls/control_store.h"

namespace kivcontrols {

ControlKind KindOf(const std::string& type) {
  if (type == "TEXTFIELD") return ControlKind::TextField;
  if (type == "EDITBOX") return ControlKind::EditBox;
  if (type == "DROPDOWNLIST") return ControlKind::DropDown;
  if (type == "VERTICAL_SCROLLBAR") return ControlKind::ScrollBar;
  if (type == "IMAGEBUTTON") return ControlKind::ImageButton;
  if (type == "LABEL") return ControlKind::Label;
  return ControlKind::Unknown;
}

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

Control* ControlStore::ControlOnLayer(const Container& container, const std::string& layerName) {
  for (KivHandle h : container.controls)
    if (Control* c = FindControl(h); c && c->name == layerName) return c;
  return nullptr;
}

std::string ControlStore::ResourceFolder(const Container& container) const {
  auto it = resources.find(container.resources);
  return it == resources.end() ? std::string() : it->second.folder;
}

}  // namespace kivcontrols
