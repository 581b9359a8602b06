// The host's desklet interface as the plug-in calls it: one wrapper per host
// function, looked up by name in the host program at every call. A function
// the host does not export raises KivError("function NAME not found"), or
// "procedure NAME not found" for the few that older hosts lacked.
#pragma once

#include <cstdint>
#include <string>

#include "platform/abi/desklet_api.h"

namespace vorel::host {

// Holds the host's invalidating locked for its own lifetime and unlocks it
// (without a redraw) on every way out. Both calls are looked up when it is
// made, so the unlock itself cannot fail.
class InvalidatingLock {
 public:
  explicit InvalidatingLock(HWND hwnd);
  ~InvalidatingLock();
  InvalidatingLock(const InvalidatingLock&) = delete;
  InvalidatingLock& operator=(const InvalidatingLock&) = delete;

 private:
  HWND hwnd_;
  decltype(&::DeskletUnlockInvalidating) unlock_;
};

void DeskletRedraw(HWND hwnd);
void DeskletActivateExtendedDragDrop(HWND hwnd);
void DeskletLayerReleaseCapture(HWND hwnd);
void DeskletLockInvalidating(HWND hwnd);
void DeskletMove(HWND hwnd, KivRect rect, bool redraw);
KivPoint DeskletGetPosition(HWND hwnd);
KivRect DeskletGetRect(HWND hwnd);
KivSize DeskletGetSize(HWND hwnd);
void DeskletSetSize(HWND hwnd, KivSize size);
std::string DeskletGetLabel(HWND hwnd);
void DeskletSetLabel(HWND hwnd, const std::string& text);
void DeskletSetSubLabel(HWND hwnd, const std::string& text);
void DeskletSetLabelW(HWND hwnd, const std::u16string& text);
void DeskletSetSubLabelW(HWND hwnd, const std::u16string& text);
void DeskletSetAlpha(HWND hwnd, int32_t alpha);
void DeskletSetRotation(HWND hwnd, int32_t rotation);
int32_t DeskletGetAlpha(HWND hwnd);
int32_t DeskletGetRotation(HWND hwnd);
void DeskletSetImageFile(HWND hwnd, const std::string& file);
void DeskletSetImageSetStatus(HWND hwnd, int32_t status);
void DeskletSetCursor(HWND hwnd, HCURSOR cursor);
void DeskletUnlockInvalidating(HWND hwnd, bool redraw);
void DeskletInvalidateRect(HWND hwnd, KivRect rect, KivSize size, bool redraw);
void DeskletAsyncSetPointer(HWND hwnd, void* instance);
void DeskletSetSkinInfoW(HWND hwnd, SkinInfoRecord* info);
void DeskletAddPropertySheet(HWND hwnd, HPROPSHEETPAGE page);
HMENU DeskletGetDefaultMenu(HWND hwnd, int32_t firstCommand);
void DeskletDoDefaultMenuCommand(HWND hwnd, int32_t firstCommand, int32_t command);
void DeskletFlip(HWND hwnd, FlipParams* params);
void DeskletSetClosePoint(HWND hwnd, KivPoint point, int32_t refWidth, int32_t refHeight);
uint32_t DeskletLayerAdd(HWND hwnd, const std::string& name);
// The layer's id, or false when the host has no layer of that name.
bool DeskletLayerGetLayer(HWND hwnd, const std::string& name, uint32_t& id);
void DeskletLayerRemove(HWND hwnd, uint32_t id, bool redraw);
void DeskletLayerSetAlpha(HWND hwnd, uint32_t id, bool redraw, int32_t alpha);
void DeskletLayerSetRotation(HWND hwnd, uint32_t id, bool redraw, int32_t rotation);
void DeskletLayerSetSaturation(HWND hwnd, uint32_t id, bool redraw, int32_t saturation);
void DeskletLayerSetVisibility(HWND hwnd, uint32_t id, bool redraw, bool visible);
// Sends nothing while the image library is older than the plug-in needs.
void DeskletLayerSetImage(HWND hwnd, uint32_t id, bool redraw, KivHandle image, bool autoDelete);
void DeskletLayerSetPlacement(HWND hwnd, uint32_t id, bool redraw, bool use, KivRect rect, int32_t refWidth,
                              int32_t refHeight);
void DeskletLayerSetImageClipRect(HWND hwnd, uint32_t id, bool redraw, bool use, KivRect rect, int32_t refWidth,
                                  int32_t refHeight);
void DeskletLayerSetIsClickThrough(HWND hwnd, uint32_t id, bool clickThrough);
void DeskletLayerSetNoAlphaBlendedHitTesting(HWND hwnd, uint32_t id, bool noAlpha);
void DeskletLayerSetCapture(HWND hwnd, uint32_t id);

}  // namespace vorel::host
