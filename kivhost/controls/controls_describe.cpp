// The controls of a desklet as the host's state dump shows them. "visible"
// is true once the plug-in sent message 7 (the control was added and shown
// by the plug-in); the host's layer functions give no way to ask a layer's
// visibility, so the dump does not follow later hiding of the layer.
#include <nlohmann/json.hpp>

#include "kivhost/controls/control_state.h"
#include "kivhost/controls/control_store.h"
#include "platform/util/utf8.h"

#define CONTROLS_EXPORT extern "C" __attribute__((visibility("default")))

using kivcontrols::Control;
using kivcontrols::ControlStore;
using nlohmann::json;

namespace {

json Describe(const Control& c) {
  json items = json::array();
  for (const auto& item : c.items) items.push_back(kiv::Utf16ToUtf8(item));
  json codes = json::array();
  for (const auto& [code, cb] : c.callbacks) codes.push_back(code);
  const auto& e = c.editor;
  return {{"name", c.name},
          {"type", c.type},
          {"visible", c.added},
          {"text", kiv::Utf16ToUtf8(e.Text())},
          {"rect", c.rect ? json{{"left", c.rect->left}, {"top", c.rect->top}, {"right", c.rect->right},
                                 {"bottom", c.rect->bottom}}
                          : json(nullptr)},
          {"fontName", c.fontName},
          {"fontSize", c.fontSize},
          {"fontStyle", c.fontStyle},
          {"alignment", c.alignment},
          {"textColor", c.textColor},
          {"backColor", c.backColor},
          {"readOnly", e.readOnly},
          {"password", c.password},
          {"scrollPos", c.scrollPos},
          {"scrollSize", c.scrollSize},
          {"items", items},
          {"selected", c.selected},
          {"callbacks", codes},
          {"focused", c.focused},
          {"caret", e.Caret()},
          {"selectionStart", e.SelectionStart()},
          {"selectionEnd", e.SelectionEnd()},
          {"scrollLine", c.kind == kivcontrols::ControlKind::TextField ? c.firstVisible : c.topLine},
          {"open", c.open},
          {"highlighted", c.highlighted},
          {"hover", c.hover},
          {"pressed", c.pressed}};
}

}  // namespace

CONTROLS_EXPORT const char* KivControlsDescribe(HWND hwnd) {
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  json out = json::array();
  for (const auto& [handle, container] : store.containers) {
    if (container.hwnd != hwnd) continue;
    for (KivHandle h : container.controls)
      if (const Control* c = store.FindControl(h)) out.push_back(Describe(*c));
  }
  // NOTE: kept in the store rather than in thread-local storage: this
  // library is loaded with dlopen, and the leak checker of the sanitizer
  // builds misreads the dynamic thread-local blocks of such libraries.
  std::string& text = store.descriptions[hwnd];
  text = out.dump();
  return text.c_str();
}
