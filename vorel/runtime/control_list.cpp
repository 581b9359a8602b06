#include "vorel/runtime/control_list.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "vorel/host/control_library.h"
#include "vorel/host/host_api.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/control_apply.h"
#include "vorel/runtime/layer_list.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

// The system window colour, as a control's background follows it.
constexpr uint32_t kWindowColor = 0xFF000005;

}  // namespace

TControlObject& AddControl(TDeskletObject& d, const std::string& name, const std::string& type, int16_t x, int16_t y,
                           uint8_t side) {
  if (TControlObject* existing = d.FindControl(name)) return *existing;
  // NOTE: the skin's reader passes over such controls; a script is told
  // why instead of getting a control the library cannot make or whose host
  // layer could not be told from a layer of the same name.
  if (!IsControlType(type)) throw KivError("'" + type + "' is not a control type");
  if (name.empty()) throw KivError("A control needs a name");
  uint32_t existingLayer = 0;
  if (d.FindLayerByName(name) || host::DeskletLayerGetLayer(d.windowHandle, name, existingLayer))
    throw KivError("The desklet has a layer named '" + name + "' already");

  auto control = std::make_unique<TControlObject>();
  control->Owner = &d;
  control->Name = name;
  control->CtrlType = type;
  control->X = x;
  control->Y = y;
  control->CtrlSide = side;
  control->ScrollBarSize = 0;
  control->FontBg = kWindowColor;
  control->Visible = side == d.sideState.activeSide;
  d.controlState.controls.push_back(std::move(control));
  TControlObject& added = *d.controlState.controls.back();
  ApplyControl(d, added);
  return added;
}

namespace {

// Frees the library controls of the records under one container lock.
void FreeLibraryControls(TDeskletObject& d, const std::vector<TControlObject*>& records) {
  const KivHandle container = d.controlState.controlContainer;
  if (container == 0) return;
  controls::KivLockContainer(container);
  try {
    for (TControlObject* control : records) {
      if (!control->Created) continue;
      controls::KivRemoveControlFromContainer(container, control->Handle);
      controls::KivFreeControl(control->Handle);
      control->Created = false;
      control->Handle = 0;
    }
  } catch (...) {
    controls::KivUnlockContainer(container);
    throw;
  }
  controls::KivUnlockContainer(container);
}

}  // namespace

void FreeAllControls(TDeskletObject& d) {
  std::vector<TControlObject*> records;
  for (auto& control : d.controlState.controls) records.push_back(control.get());
  try {
    FreeLibraryControls(d, records);
  } catch (...) {
    d.controlState.controls.clear();
    throw;
  }
  d.controlState.controls.clear();
}

void DeleteControlsOfSide(TDeskletObject& d, uint8_t side) {
  auto& list = d.controlState.controls;
  std::vector<TControlObject*> doomed;
  for (auto& control : list)
    if (control->CtrlSide == side) doomed.push_back(control.get());
  if (doomed.empty()) return;
  FreeLibraryControls(d, doomed);
  std::erase_if(list, [&](const std::unique_ptr<TControlObject>& c) {
    return std::find(doomed.begin(), doomed.end(), c.get()) != doomed.end();
  });
  RefreshHostIds(d);
}

void DeleteControlAt(TDeskletObject& d, size_t position) {
  auto& list = d.controlState.controls;
  if (position >= list.size()) return;
  TControlObject& control = *list[position];
  FreeLibraryControls(d, {&control});
  // The list may have changed under the library's calls (they can run
  // statements); the record is found again by its address.
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].get() == &control) {
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  RefreshHostIds(d);
}

}  // namespace vorel
