// TVorelMain: the root of the object model a skin's scripts see, one per
// desklet, added to the script engine as "kiv" and "this" with its members
// as global names. It reaches the desklet's label, size, position, alpha
// and rotation through the host, holds the desklet's event statements,
// reports what the last mouse and key events recorded, and hands out the
// collections. Drawing it asks for is deferred through posted messages, so
// a script that changes many things gets one redraw after it returns.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/dispatch_object.h"

namespace vorel {

class TDeskletObject;
struct TSkinSettings;

class TVorelMain : public automation::DispatchObject<TVorelMain> {
 public:
  static automation::ComPtr<TVorelMain> Create(TDeskletObject& desklet);
  static const automation::DispatchTable<TVorelMain>& Table();
  // The main object behind a dispatch interface the desklet keeps; null for
  // any other object.
  static TVorelMain* From(automation::IDispatch* object);

  explicit TVorelMain(TDeskletObject* desklet) : desklet_(desklet) {}
  bool IsBound() const { return desklet_ != nullptr; }
  // The desklet lets go of its main object before it goes; scripts that
  // still hold it then get failures instead of a dangling desklet.
  void Unbind();

  void Alert(std::string message);
  std::string GetDeskletLabel() const;
  void PutDeskletLabel(std::string label);
  int32_t GetDeskletRotation() const;
  void PutDeskletRotation(int32_t rotation);
  uint8_t GetDeskletAlpha() const;
  void PutDeskletAlpha(uint8_t alpha);
  int32_t GetDeskletWidth() const;
  void PutDeskletWidth(int32_t width);
  int32_t GetDeskletHeight() const;
  void PutDeskletHeight(int32_t height);
  int32_t GetDeskletXPos() const;
  void PutDeskletXPos(int32_t x);
  int32_t GetDeskletYPos() const;
  void PutDeskletYPos(int32_t y);
  void SetSubLabel(std::string text);

  void Refresh();
  void Redraw(bool xmlOnly);
  void Invalidate(bool full);
  void LockAllUpdates();
  void UnlockAllUpdates();
  std::string ConvertToValue(std::string value);
  // Downloads every data source now, on this thread.
  void ForceXDataFetch();

  int32_t GetMouseScrollValue() const;
  int32_t GetMouseXPos() const;
  int32_t GetMouseYPos() const;
  int32_t GetLayerMouseXPos() const;
  int32_t GetLayerMouseYPos() const;
  std::string GetDroppedFileName() const;
  std::string GetKeyStr() const;
  int32_t GetKeyVal() const;
  int32_t GetCurrentSide() const;
  uint8_t GetChangeToSide() const;
  std::string GetSkinName() const;
  automation::Variant GetActiveLayer();
  automation::Variant GetLayers();
  automation::Variant GetTimers();
  // A new collection at every read: scripts may hold one per use.
  automation::Variant GetControls();
  automation::Variant GetParameters();
  automation::Variant GetSides();
  automation::Variant GetMenus();
  automation::Variant GetXmls();
  automation::Variant GetIO();
  automation::Variant GetUI();
  void EnableTimers(bool enable);
  automation::Variant CreateObject(std::string progId, std::string eventPrefix, bool autoCreate);
  void ConnectObject(automation::Variant& object, std::string eventPrefix);
  void DisconnectObject(automation::Variant& object);

  void MultiMedia(std::string fileName, uint8_t command);
  void SetMultiMediaWindow(int32_t x, int32_t y, int32_t width, int32_t height);
  void Sleep(uint32_t milliseconds);
  void PopupMenu(uint8_t menuId);
  void FlipTo(uint8_t side);

  // The twelve event statements of the desklet.
  template <std::string TSkinSettings::*Field>
  std::string GetStatement() const;
  template <std::string TSkinSettings::*Field>
  void PutStatement(std::string statement);

 private:
  void Post(uint32_t message, uintptr_t wParam);

  TDeskletObject* desklet_;
  automation::ComPtr<automation::IDispatch> layers_;
  automation::ComPtr<automation::IDispatch> timers_;
  automation::ComPtr<automation::IDispatch> parameters_;
  automation::ComPtr<automation::IDispatch> sides_;
  automation::ComPtr<automation::IDispatch> menus_;
  automation::ComPtr<automation::IDispatch> xmls_;
  automation::ComPtr<automation::IDispatch> io_;
  automation::ComPtr<automation::IDispatch> ui_;
};

}  // namespace vorel
