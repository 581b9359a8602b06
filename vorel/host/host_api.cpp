#include "vorel/host/host_api.h"

#include <array>

#include "platform/util/utf8.h"
#include "platform/win/host_symbol.h"
#include "vorel/host/image_library.h"
#include "vorel/util/errors.h"

namespace vorel::host {

namespace {

template <typename Fn>
Fn* Require(const char* name) {
  Fn* fn = win::FindHostFunction<Fn>(name);
  if (!fn) throw KivError(HostFunctionNotFound(name));
  return fn;
}

}  // namespace

// Each wrapper resolves its function when it is called; KIV_HOST gives the
// function pointer for the wrapper's own name.
#define KIV_HOST(name) Require<decltype(::name)>(#name)

InvalidatingLock::InvalidatingLock(HWND hwnd)
    : hwnd_(hwnd), unlock_(KIV_HOST(DeskletUnlockInvalidating)) {
  KIV_HOST(DeskletLockInvalidating)(hwnd);
}

InvalidatingLock::~InvalidatingLock() { unlock_(hwnd_, kFalse); }

void DeskletRedraw(HWND hwnd) { KIV_HOST(DeskletRedraw)(hwnd); }
void DeskletActivateExtendedDragDrop(HWND hwnd) { KIV_HOST(DeskletActivateExtendedDragDrop)(hwnd); }
void DeskletLayerReleaseCapture(HWND hwnd) { KIV_HOST(DeskletLayerReleaseCapture)(hwnd); }
void DeskletLockInvalidating(HWND hwnd) { KIV_HOST(DeskletLockInvalidating)(hwnd); }

void DeskletMove(HWND hwnd, KivRect rect, bool redraw) { KIV_HOST(DeskletMove)(hwnd, &rect, ToBool32(redraw)); }

KivPoint DeskletGetPosition(HWND hwnd) {
  KivPoint p{0, 0};
  KIV_HOST(DeskletGetPosition)(hwnd, &p);
  return p;
}

KivRect DeskletGetRect(HWND hwnd) {
  KivRect r{0, 0, 0, 0};
  KIV_HOST(DeskletGetRect)(hwnd, &r);
  return r;
}

KivSize DeskletGetSize(HWND hwnd) {
  KivSize s{0, 0};
  KIV_HOST(DeskletGetSize)(hwnd, &s);
  return s;
}

void DeskletSetSize(HWND hwnd, KivSize size) { KIV_HOST(DeskletSetSize)(hwnd, &size); }

std::string DeskletGetLabel(HWND hwnd) {
  std::array<char, kDeskletLabelBufferBytes> buffer{};
  KIV_HOST(DeskletGetLabel)(hwnd, buffer.data(), kDeskletLabelBufferBytes);
  buffer.back() = '\0';
  // The buffer is meant in characters: a longer label is cut at the
  // character count, the terminator taking one. A host that filled every
  // byte has copied more than that many characters, so a sequence it split
  // at the end of the buffer is never part of what is kept.
  return kiv::Utf8Left(buffer.data(), kDeskletLabelChars - 1);
}

void DeskletSetLabel(HWND hwnd, const std::string& text) { KIV_HOST(DeskletSetLabel)(hwnd, text.c_str()); }
void DeskletSetSubLabel(HWND hwnd, const std::string& text) { KIV_HOST(DeskletSetSubLabel)(hwnd, text.c_str()); }
void DeskletSetLabelW(HWND hwnd, const std::u16string& text) { KIV_HOST(DeskletSetLabelW)(hwnd, text.c_str()); }
void DeskletSetSubLabelW(HWND hwnd, const std::u16string& text) {
  KIV_HOST(DeskletSetSubLabelW)(hwnd, text.c_str());
}
void DeskletSetAlpha(HWND hwnd, int32_t alpha) { KIV_HOST(DeskletSetAlpha)(hwnd, alpha); }
void DeskletSetRotation(HWND hwnd, int32_t rotation) { KIV_HOST(DeskletSetRotation)(hwnd, rotation); }
int32_t DeskletGetAlpha(HWND hwnd) { return KIV_HOST(DeskletGetAlpha)(hwnd); }
int32_t DeskletGetRotation(HWND hwnd) { return KIV_HOST(DeskletGetRotation)(hwnd); }
void DeskletSetImageFile(HWND hwnd, const std::string& file) { KIV_HOST(DeskletSetImageFile)(hwnd, file.c_str()); }
void DeskletSetImageSetStatus(HWND hwnd, int32_t status) { KIV_HOST(DeskletSetImageSetStatus)(hwnd, status); }
void DeskletSetCursor(HWND hwnd, HCURSOR cursor) { KIV_HOST(DeskletSetCursor)(hwnd, cursor); }
void DeskletUnlockInvalidating(HWND hwnd, bool redraw) {
  KIV_HOST(DeskletUnlockInvalidating)(hwnd, ToBool32(redraw));
}
void DeskletInvalidateRect(HWND hwnd, KivRect rect, KivSize size, bool redraw) {
  KIV_HOST(DeskletInvalidateRect)(hwnd, &rect, &size, ToBool32(redraw));
}
void DeskletAsyncSetPointer(HWND hwnd, void* instance) { KIV_HOST(DeskletAsyncSetPointer)(hwnd, instance); }
void DeskletSetSkinInfoW(HWND hwnd, SkinInfoRecord* info) { KIV_HOST(DeskletSetSkinInfoW)(hwnd, info); }
void DeskletAddPropertySheet(HWND hwnd, HPROPSHEETPAGE page) { KIV_HOST(DeskletAddPropertySheet)(hwnd, page); }
HMENU DeskletGetDefaultMenu(HWND hwnd, int32_t firstCommand) {
  return KIV_HOST(DeskletGetDefaultMenu)(hwnd, firstCommand);
}
void DeskletDoDefaultMenuCommand(HWND hwnd, int32_t firstCommand, int32_t command) {
  KIV_HOST(DeskletDoDefaultMenuCommand)(hwnd, firstCommand, command);
}
void DeskletFlip(HWND hwnd, FlipParams* params) { KIV_HOST(DeskletFlip)(hwnd, params); }
void DeskletSetClosePoint(HWND hwnd, KivPoint point, int32_t refWidth, int32_t refHeight) {
  KIV_HOST(DeskletSetClosePoint)(hwnd, &point, refWidth, refHeight);
}
uint32_t DeskletLayerAdd(HWND hwnd, const std::string& name) { return KIV_HOST(DeskletLayerAdd)(hwnd, name.c_str()); }

bool DeskletLayerGetLayer(HWND hwnd, const std::string& name, uint32_t& id) {
  BOOL32 found = kFalse;
  uint32_t result = KIV_HOST(DeskletLayerGetLayer)(hwnd, name.c_str(), &found);
  if (!found) return false;
  id = result;
  return true;
}

void DeskletLayerRemove(HWND hwnd, uint32_t id, bool redraw) { KIV_HOST(DeskletLayerRemove)(hwnd, id, ToBool32(redraw)); }
void DeskletLayerSetAlpha(HWND hwnd, uint32_t id, bool redraw, int32_t alpha) {
  KIV_HOST(DeskletLayerSetAlpha)(hwnd, id, ToBool32(redraw), alpha);
}
void DeskletLayerSetRotation(HWND hwnd, uint32_t id, bool redraw, int32_t rotation) {
  KIV_HOST(DeskletLayerSetRotation)(hwnd, id, ToBool32(redraw), rotation);
}
void DeskletLayerSetSaturation(HWND hwnd, uint32_t id, bool redraw, int32_t saturation) {
  KIV_HOST(DeskletLayerSetSaturation)(hwnd, id, ToBool32(redraw), saturation);
}
void DeskletLayerSetVisibility(HWND hwnd, uint32_t id, bool redraw, bool visible) {
  KIV_HOST(DeskletLayerSetVisibility)(hwnd, id, ToBool32(redraw), ToBool32(visible));
}

void DeskletLayerSetImage(HWND hwnd, uint32_t id, bool redraw, KivHandle image, bool autoDelete) {
  auto fn = KIV_HOST(DeskletLayerSetImage);
  if (!ImageLibrary::Instance().CheckVersion()) return;
  fn(hwnd, id, ToBool32(redraw), image, ToBool32(autoDelete));
}

void DeskletLayerSetPlacement(HWND hwnd, uint32_t id, bool redraw, bool use, KivRect rect, int32_t refWidth,
                              int32_t refHeight) {
  KIV_HOST(DeskletLayerSetPlacement)(hwnd, id, ToBool32(redraw), ToBool32(use), &rect, refWidth, refHeight);
}
void DeskletLayerSetImageClipRect(HWND hwnd, uint32_t id, bool redraw, bool use, KivRect rect, int32_t refWidth,
                                  int32_t refHeight) {
  KIV_HOST(DeskletLayerSetImageClipRect)(hwnd, id, ToBool32(redraw), ToBool32(use), &rect, refWidth, refHeight);
}
void DeskletLayerSetIsClickThrough(HWND hwnd, uint32_t id, bool clickThrough) {
  KIV_HOST(DeskletLayerSetIsClickThrough)(hwnd, id, ToBool32(clickThrough));
}
void DeskletLayerSetNoAlphaBlendedHitTesting(HWND hwnd, uint32_t id, bool noAlpha) {
  KIV_HOST(DeskletLayerSetNoAlphaBlendedHitTesting)(hwnd, id, ToBool32(noAlpha));
}
void DeskletLayerSetCapture(HWND hwnd, uint32_t id) { KIV_HOST(DeskletLayerSetCapture)(hwnd, id); }

}  // namespace vorel::host
