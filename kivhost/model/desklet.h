// HostDesklet: one desklet window as the host keeps it: its rectangle,
// labels, look, the plug-in instance that drives it, its layers and the
// lines of its error log. Layer ids are positions in the layer list, so
// removing a layer renumbers the ones after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kivhost/model/layer.h"
#include "kivhost/model/properties_dialog.h"
#include "kivhost/model/window_objects.h"
#include "platform/abi/desklet_api.h"

namespace kivhost {

struct SkinInfo {
  std::string key, name, author, notes;
  uint32_t index = 0;
  uint32_t version = 0;
};

struct ClosePoint {
  KivPoint point{};
  int32_t refWidth = 0;
  int32_t refHeight = 0;
};

// Where the desklet's window stays among the other windows.
enum class Stacking { Below, Normal, Above };
const char* StackingName(Stacking stacking);  // "below", "normal", "above"
std::optional<Stacking> StackingFromName(const std::string& name);

class HostDesklet {
 public:
  explicit HostDesklet(HWND hwnd);

  HWND Hwnd() const { return hwnd_; }

  // Layers. Ids are positions; an id past the end names no layer.
  uint32_t AddLayer(const std::string& name);
  std::optional<uint32_t> FindLayer(const std::string& name) const;
  HostLayer* Layer(uint32_t id);
  const HostLayer* Layer(uint32_t id) const;
  bool RemoveLayer(uint32_t id);
  const std::vector<HostLayer>& Layers() const { return layers_; }
  std::vector<HostLayer>& Layers() { return layers_; }

  // Capture: the captured layer receives every pointer event. Removing it
  // releases the capture; removing one before it keeps it on the same layer.
  void Capture(uint32_t id) { captured_ = id; }
  void ReleaseCapture() { captured_.reset(); }
  std::optional<uint32_t> Captured() const { return captured_; }

  // Invalidation locks nest; a redraw asked for while locked happens at the
  // last unlock.
  void Lock() { ++lockDepth_; }
  // True when this unlock ended the last lock.
  bool Unlock();
  bool Locked() const { return lockDepth_ > 0; }
  void Invalidate(const KivRect& rect) { invalidated_.push_back(rect); }
  const std::vector<KivRect>& Invalidated() const { return invalidated_; }
  // What changed on the desklet's face since a window last showed it, in
  // desklet pixels: a box around the changed layers, or all of it.
  struct DamageState {
    bool all = false;
    std::optional<KivRect> box;
  };
  void Damage(const KivRect& rect);
  void DamageAll() { damage_.all = true; }
  DamageState TakeDamage();
  // Counts redraws done (not deferred by a lock).
  void Redraw();
  int RedrawCount() const { return redraws_; }

  KivSize Size() const { return {rect.right - rect.left, rect.bottom - rect.top}; }
  void SetSize(KivSize size);

  // The name the host shows for the desklet in its messages: the file name
  // of `skinFile`; without one the file name of the skin-information key
  // the plug-in gave; without that WindowName(hwnd).
  std::string SkinName() const;
  // "window 65537": a window known by nothing but its handle.
  static std::string WindowName(HWND hwnd);

  void* instance = nullptr;
  KivRect rect{100, 100, 228, 228};
  std::string label, subLabel;
  int32_t alpha = 255;
  int32_t rotation = 0;
  std::string imageFile;  // as resolved; empty for none
  int32_t imageSetStatus = 0;
  ClosePoint closePoint;
  HCURSOR cursor = 0;
  std::optional<SkinInfo> skinInfo;
  // The skin file the desklet was created from or restored with, as the
  // host was given it; empty when the host does not know it.
  std::string skinFile;
  // Every line the plug-in added to the desklet's error log, in order.
  std::vector<std::string> errorLog;
  std::vector<HPROPSHEETPAGE> propertyPages;
  // The properties dialog while it is open.
  std::optional<PropertiesDialog> properties;
  // Every pop-up menu shown over the desklet (the plug-in's and the host's
  // own), in order, as it stood when it was shown.
  std::vector<std::vector<MenuSnapshotItem>> shownMenus;
  bool extendedDragDrop = false;
  Stacking stacking = Stacking::Below;
  bool pendingRedraw = false;

 private:
  HWND hwnd_;
  std::vector<HostLayer> layers_;
  std::optional<uint32_t> captured_;
  int lockDepth_ = 0;
  int redraws_ = 0;
  std::vector<KivRect> invalidated_;
  DamageState damage_;
};

}  // namespace kivhost
