#include "tests/support/test_host.h"

#include "platform/util/utf8.h"

#include "platform/abi/plugin_api.h"
#include "vorel/host/image_library.h"

#define HOST_EXPORT extern "C" __attribute__((visibility("default")))

namespace testhost {

TestHost& TestHost::Get() {
  static TestHost host;
  return host;
}

void TestHost::Reset() {
  std::lock_guard lock(mutex);
  calls.clear();
  queue.clear();
  desklets.clear();
  flipCallback = nullptr;
  flipCallbackData = nullptr;
  menuChoices.clear();
  messageBoxAnswers.clear();
  pageProcedure = nullptr;
  pageParameter = nullptr;
  dialogItems.clear();
  cursor = {0, 0};
}

void TestHost::ChooseFromMenu(int32_t command) {
  std::lock_guard lock(mutex);
  menuChoices.push_back(command);
}

std::vector<Call> TestHost::Calls() {
  std::lock_guard lock(mutex);
  return calls;
}

std::vector<Call> TestHost::CallsOf(const std::string& fn) {
  std::lock_guard lock(mutex);
  std::vector<Call> out;
  for (auto& c : calls)
    if (c.fn == fn) out.push_back(c);
  return out;
}

void TestHost::Record(const std::string& fn, std::vector<std::string> args) {
  std::lock_guard lock(mutex);
  calls.push_back({fn, std::move(args)});
}

Desklet& TestHost::DeskletOf(HWND hwnd) {
  std::lock_guard lock(mutex);
  return desklets[hwnd];
}

std::vector<WinMsg> TestHost::Posted() {
  std::lock_guard lock(mutex);
  return queue;
}

bool TestHost::PopMessage(WinMsg& msg) {
  std::lock_guard lock(mutex);
  if (queue.empty()) return false;
  msg = queue.front();
  queue.erase(queue.begin());
  return true;
}

void TestHost::DeliverPosted() {
  WinMsg msg{};
  while (PopMessage(msg)) WinDispatchMessage(&msg);
}

}  // namespace testhost

using testhost::TestHost;

namespace {
std::string S(const char* s) { return s ? s : "(null)"; }
std::string N(int64_t v) { return std::to_string(v); }
std::string R(const KivRect* r) {
  return r ? N(r->left) + "," + N(r->top) + "," + N(r->right) + "," + N(r->bottom) : "(null)";
}
void Rec(const char* fn, std::vector<std::string> args = {}) { TestHost::Get().Record(fn, std::move(args)); }
}  // namespace

HOST_EXPORT void DeskletRedraw(HWND h) { Rec("DeskletRedraw", {N(h)}); }
HOST_EXPORT void DeskletActivateExtendedDragDrop(HWND h) { Rec("DeskletActivateExtendedDragDrop", {N(h)}); }
HOST_EXPORT void DeskletLayerReleaseCapture(HWND h) { Rec("DeskletLayerReleaseCapture", {N(h)}); }
HOST_EXPORT void DeskletLockInvalidating(HWND h) { Rec("DeskletLockInvalidating", {N(h)}); }
HOST_EXPORT void DeskletMove(HWND h, KivRect* r, BOOL32 redraw) {
  Rec("DeskletMove", {N(h), R(r), N(redraw)});
  if (r) TestHost::Get().DeskletOf(h).rect = *r;
}
HOST_EXPORT void DeskletGetPosition(HWND h, KivPoint* p) {
  auto& d = TestHost::Get().DeskletOf(h);
  if (p) *p = {d.rect.left, d.rect.top};
}
HOST_EXPORT void DeskletGetRect(HWND h, KivRect* r) {
  if (r) *r = TestHost::Get().DeskletOf(h).rect;
}
HOST_EXPORT void DeskletGetSize(HWND h, KivSize* s) {
  if (s) *s = TestHost::Get().DeskletOf(h).size;
}
HOST_EXPORT void DeskletSetSize(HWND h, KivSize* s) {
  Rec("DeskletSetSize", {N(h), s ? N(s->cx) + "x" + N(s->cy) : "(null)"});
  if (s) TestHost::Get().DeskletOf(h).size = *s;
}
HOST_EXPORT void DeskletGetLabel(HWND h, char* buffer, int32_t size) {
  auto label = TestHost::Get().DeskletOf(h).label;
  if (buffer && size > 0) {
    label = label.substr(0, static_cast<size_t>(size - 1));
    std::copy(label.begin(), label.end(), buffer);
    buffer[label.size()] = '\0';
  }
}
HOST_EXPORT void DeskletSetLabel(HWND h, const char* t) {
  Rec("DeskletSetLabel", {N(h), S(t)});
  TestHost::Get().DeskletOf(h).label = S(t);
}
HOST_EXPORT void DeskletSetSubLabel(HWND h, const char* t) { Rec("DeskletSetSubLabel", {N(h), S(t)}); }
HOST_EXPORT void DeskletSetLabelW(HWND h, const char16_t* text) {
  const std::string label = text ? kiv::Utf16ToUtf8(text) : "";
  Rec("DeskletSetLabelW", {N(h), label});
  TestHost::Get().DeskletOf(h).label = label;
}
HOST_EXPORT void DeskletSetSubLabelW(HWND h, const char16_t*) { Rec("DeskletSetSubLabelW", {N(h)}); }
HOST_EXPORT void DeskletSetAlpha(HWND h, int32_t a) {
  Rec("DeskletSetAlpha", {N(h), N(a)});
  TestHost::Get().DeskletOf(h).alpha = a;
}
HOST_EXPORT void DeskletSetRotation(HWND h, int32_t r) { Rec("DeskletSetRotation", {N(h), N(r)}); }
HOST_EXPORT int32_t DeskletGetAlpha(HWND h) { return TestHost::Get().DeskletOf(h).alpha; }
HOST_EXPORT int32_t DeskletGetRotation(HWND) { return 0; }
HOST_EXPORT void DeskletSetImageFile(HWND h, const char* f) {
  Rec("DeskletSetImageFile", {N(h), S(f)});
  TestHost::Get().DeskletOf(h).imageFile = S(f);
}
#ifndef TEST_HOST_WITHOUT_IMAGE_SET_STATUS
HOST_EXPORT void DeskletSetImageSetStatus(HWND h, int32_t s) { Rec("DeskletSetImageSetStatus", {N(h), N(s)}); }
#endif
HOST_EXPORT void DeskletSetCursor(HWND h, HCURSOR c) { Rec("DeskletSetCursor", {N(h), N(static_cast<int64_t>(c))}); }
HOST_EXPORT void DeskletUnlockInvalidating(HWND h, BOOL32 r) { Rec("DeskletUnlockInvalidating", {N(h), N(r)}); }
HOST_EXPORT void DeskletInvalidateRect(HWND h, KivRect* r, KivSize* s, BOOL32 redraw) {
  Rec("DeskletInvalidateRect", {N(h), R(r), s ? N(s->cx) + "x" + N(s->cy) : "(null)", N(redraw)});
}
HOST_EXPORT void DeskletAsyncSetPointer(HWND h, void* instance) {
  Rec("DeskletAsyncSetPointer", {N(h)});
  TestHost::Get().DeskletOf(h).instance = instance;
}
HOST_EXPORT void DeskletSetSkinInfoW(HWND h, SkinInfoRecord* info) {
  Rec("DeskletSetSkinInfoW", {N(h), info ? N(info->version) : "(null)"});
}
HOST_EXPORT void DeskletAddPropertySheet(HWND h, HPROPSHEETPAGE p) { Rec("DeskletAddPropertySheet", {N(h), N(p)}); }
HOST_EXPORT HMENU WinCreatePopupMenu();
// A menu of its own, as a real host gives, which the plug-in appends to.
HOST_EXPORT HMENU DeskletGetDefaultMenu(HWND h, int32_t first) {
  Rec("DeskletGetDefaultMenu", {N(h), N(first)});
  return WinCreatePopupMenu();
}
HOST_EXPORT void DeskletDoDefaultMenuCommand(HWND h, int32_t f, int32_t c) {
  Rec("DeskletDoDefaultMenuCommand", {N(h), N(f), N(c)});
}
HOST_EXPORT void DeskletFlip(HWND h, FlipParams* p) {
  if (!p) return Rec("DeskletFlip", {N(h), "(null)"});
  auto size = [](const KivSize* s) { return s ? N(s->cx) + "x" + N(s->cy) : std::string("(null)"); };
  auto ids = [](const uint32_t* list, int32_t count) {
    std::string out;
    for (int32_t i = 0; list && i < count; ++i) out += (i ? "," : "") + N(list[i]);
    return out;
  };
  Rec("DeskletFlip", {N(h), N(p->useLayers), size(p->oldSize), ids(p->oldLayers, p->oldLayerCount), size(p->newSize),
                      ids(p->newLayers, p->newLayerCount), N(p->direction)});
  std::lock_guard lock(TestHost::Get().mutex);
  TestHost::Get().flipCallback = p->callback;
  TestHost::Get().flipCallbackData = p->callbackData;
}
HOST_EXPORT void DeskletSetClosePoint(HWND h, KivPoint* p, int32_t w, int32_t ht) {
  Rec("DeskletSetClosePoint", {N(h), p ? N(p->x) + "," + N(p->y) : "(null)", N(w), N(ht)});
}
#ifndef TEST_HOST_WITHOUT_LAYER_ADD
HOST_EXPORT uint32_t DeskletLayerAdd(HWND h, const char* name) {
  Rec("DeskletLayerAdd", {N(h), S(name)});
  auto& d = TestHost::Get().DeskletOf(h);
  d.layers.push_back({S(name), false});
  return static_cast<uint32_t>(d.layers.size() - 1);
}
#endif
HOST_EXPORT uint32_t DeskletLayerGetLayer(HWND h, const char* name, BOOL32* ok) {
  auto& d = TestHost::Get().DeskletOf(h);
  for (size_t i = 0; i < d.layers.size(); ++i)
    if (d.layers[i].name == S(name)) {
      if (ok) *ok = kTrue;
      return static_cast<uint32_t>(i);
    }
  if (ok) *ok = kFalse;
  return 0;
}
HOST_EXPORT void DeskletLayerRemove(HWND h, uint32_t id, BOOL32) {
  Rec("DeskletLayerRemove", {N(h), N(id)});
  auto& d = TestHost::Get().DeskletOf(h);
  if (id < d.layers.size()) d.layers.erase(d.layers.begin() + id);
}
HOST_EXPORT void DeskletLayerSetAlpha(HWND h, uint32_t id, BOOL32, int32_t a) {
  Rec("DeskletLayerSetAlpha", {N(h), N(id), N(a)});
}
HOST_EXPORT void DeskletLayerSetRotation(HWND h, uint32_t id, BOOL32, int32_t r) {
  Rec("DeskletLayerSetRotation", {N(h), N(id), N(r)});
}
HOST_EXPORT void DeskletLayerSetSaturation(HWND h, uint32_t id, BOOL32, int32_t s) {
  Rec("DeskletLayerSetSaturation", {N(h), N(id), N(s)});
}
HOST_EXPORT void DeskletLayerSetVisibility(HWND h, uint32_t id, BOOL32, BOOL32 v) {
  Rec("DeskletLayerSetVisibility", {N(h), N(id), N(v)});
}
HOST_EXPORT void DeskletLayerSetImage(HWND h, uint32_t id, BOOL32, KivHandle image, BOOL32 autoDelete) {
  Rec("DeskletLayerSetImage", {N(h), N(id), N(static_cast<int64_t>(image)), N(autoDelete)});
  // This host shows nothing: an image it was handed to own is released at
  // once, through the image library that made it.
  if (autoDelete && image) vorel::ImageLibrary::Instance().DeleteImage(image);
}
HOST_EXPORT void DeskletLayerSetPlacement(HWND h, uint32_t id, BOOL32, BOOL32 use, KivRect* r, int32_t w, int32_t ht) {
  Rec("DeskletLayerSetPlacement", {N(h), N(id), N(use), R(r), N(w), N(ht)});
}
HOST_EXPORT void DeskletLayerSetImageClipRect(HWND h, uint32_t id, BOOL32, BOOL32 use, KivRect* r, int32_t w,
                                              int32_t ht) {
  Rec("DeskletLayerSetImageClipRect", {N(h), N(id), N(use), R(r), N(w), N(ht)});
}
HOST_EXPORT void DeskletLayerSetIsClickThrough(HWND h, uint32_t id, BOOL32 c) {
  Rec("DeskletLayerSetIsClickThrough", {N(h), N(id), N(c)});
}
HOST_EXPORT void DeskletLayerSetNoAlphaBlendedHitTesting(HWND h, uint32_t id, BOOL32 n) {
  Rec("DeskletLayerSetNoAlphaBlendedHitTesting", {N(h), N(id), N(n)});
}
HOST_EXPORT void DeskletLayerSetCapture(HWND h, uint32_t id) { Rec("DeskletLayerSetCapture", {N(h), N(id)}); }

// --- window services -------------------------------------------------------

HOST_EXPORT BOOL32 WinPostMessage(HWND h, uint32_t m, WPARAM w, LPARAM l) {
  auto& host = TestHost::Get();
  std::lock_guard lock(host.mutex);
  host.queue.push_back({h, m, w, l});
  return kTrue;
}

// Recorded only: what a real host would do with the message is the host's.
HOST_EXPORT LRESULT WinSendMessage(HWND h, uint32_t m, WPARAM w, LPARAM l) {
  Rec("WinSendMessage", {N(h), N(m), N(static_cast<int64_t>(w)), N(static_cast<int64_t>(l))});
  return 0;
}
HOST_EXPORT BOOL32 WinPeekMessage(WinMsg* msg, HWND, BOOL32 remove) {
  auto& host = TestHost::Get();
  std::lock_guard lock(host.mutex);
  if (host.queue.empty() || !msg) return kFalse;
  *msg = host.queue.front();
  if (remove) host.queue.erase(host.queue.begin());
  return kTrue;
}

HOST_EXPORT LRESULT WinDispatchMessage(const WinMsg* msg) {
  if (!msg) return 0;
  void* instance = TestHost::Get().DeskletOf(msg->hwnd).instance;
  if (!instance) return 0;
  LRESULT result = 0;
  OnProcessMessageEx(instance, msg->hwnd, msg->message, msg->wParam, msg->lParam, &result);
  return result;
}

HOST_EXPORT void WinErrorLogLine(HWND h, const char* line) {
  Rec("WinErrorLogLine", {N(static_cast<int64_t>(h)), S(line)});
}

HOST_EXPORT BOOL32 WinPlaySound(const char* file, uint32_t flags) {
  Rec("WinPlaySound", {S(file), N(flags)});
  return kTrue;
}

// Recorded only: a test host starts no programs.
HOST_EXPORT intptr_t WinShellExecute(HWND owner, const char* operation, const char* file, const char* parameters,
                                     const char* folder, int32_t show) {
  Rec("WinShellExecute", {N(owner), S(operation), S(file), S(parameters), S(folder), N(show)});
  return 33;
}

HOST_EXPORT int32_t WinMessageBox(HWND, const char* text, const char* caption, uint32_t type) {
  Rec("WinMessageBox", {S(text), S(caption), N(type)});
  auto& host = TestHost::Get();
  std::lock_guard lock(host.mutex);
  if (host.messageBoxAnswers.empty()) return kIdOk;
  const int32_t answer = host.messageBoxAnswers.front();
  host.messageBoxAnswers.pop_front();
  return answer;
}

HOST_EXPORT HPROPSHEETPAGE WinCreatePropertySheetPage(const char* title, int32_t id, void* procedure, void* param) {
  Rec("WinCreatePropertySheetPage", {S(title), N(id)});
  auto& host = TestHost::Get();
  std::lock_guard lock(host.mutex);
  host.pageProcedure = procedure;
  host.pageParameter = param;
  return 77;
}

HOST_EXPORT BOOL32 WinCreateDialogItem(HWND page, int32_t id, int32_t kind, const char* text, const KivRect*) {
  Rec("WinCreateDialogItem", {N(static_cast<int64_t>(page)), N(id), N(kind), S(text)});
  auto& host = TestHost::Get();
  std::lock_guard lock(host.mutex);
  host.dialogItems[{page, id}] = {kind, S(text), false};
  return kTrue;
}

HOST_EXPORT BOOL32 WinSetDialogItemText(HWND page, int32_t id, const char* text) {
  Rec("WinSetDialogItemText", {N(static_cast<int64_t>(page)), N(id), S(text)});
  auto& host = TestHost::Get();
  std::lock_guard lock(host.mutex);
  auto it = host.dialogItems.find({page, id});
  if (it == host.dialogItems.end()) return kFalse;
  it->second.text = S(text);
  return kTrue;
}

HOST_EXPORT BOOL32 WinCheckDialogButton(HWND page, int32_t id, BOOL32 checked) {
  Rec("WinCheckDialogButton", {N(static_cast<int64_t>(page)), N(id), N(checked)});
  auto& host = TestHost::Get();
  std::lock_guard lock(host.mutex);
  auto it = host.dialogItems.find({page, id});
  if (it == host.dialogItems.end()) return kFalse;
  it->second.checked = checked != 0;
  return kTrue;
}

HOST_EXPORT BOOL32 WinIsDialogButtonChecked(HWND page, int32_t id) {
  auto& host = TestHost::Get();
  std::lock_guard lock(host.mutex);
  auto it = host.dialogItems.find({page, id});
  return ToBool32(it != host.dialogItems.end() && it->second.checked);
}

HOST_EXPORT void WinPropSheetChanged(HWND page) { Rec("WinPropSheetChanged", {N(static_cast<int64_t>(page))}); }

// Menus are numbered handles; what is appended is recorded, and tracking
// answers the command a test queued.
HOST_EXPORT HMENU WinCreatePopupMenu() {
  auto& host = TestHost::Get();
  HMENU menu = 0;
  {
    std::lock_guard lock(host.mutex);
    menu = ++host.nextMenu;
  }
  Rec("WinCreatePopupMenu", {N(static_cast<int64_t>(menu))});
  return menu;
}
HOST_EXPORT BOOL32 WinAppendMenu(HMENU menu, uint32_t flags, uintptr_t idOrSubMenu, const char* text) {
  Rec("WinAppendMenu", {N(static_cast<int64_t>(menu)), N(flags), N(static_cast<int64_t>(idOrSubMenu)), S(text)});
  return menu ? kTrue : kFalse;
}
HOST_EXPORT BOOL32 WinDestroyMenu(HMENU menu) {
  Rec("WinDestroyMenu", {N(static_cast<int64_t>(menu))});
  return menu ? kTrue : kFalse;
}
HOST_EXPORT int32_t WinTrackPopupMenu(HMENU menu, uint32_t flags, int32_t x, int32_t y, HWND owner) {
  Rec("WinTrackPopupMenu", {N(static_cast<int64_t>(menu)), N(flags), N(x), N(y), N(owner)});
  auto& host = TestHost::Get();
  std::lock_guard lock(host.mutex);
  if (host.menuChoices.empty()) return 0;
  const int32_t command = host.menuChoices.front();
  host.menuChoices.pop_front();
  return command;
}
HOST_EXPORT BOOL32 WinGetCursorPos(KivPoint* pos) {
  if (!pos) return kFalse;
  auto& host = TestHost::Get();
  std::lock_guard lock(host.mutex);
  *pos = host.cursor;
  return kTrue;
}

// System cursors get handles made from their ids; drawn ones count up.
HOST_EXPORT HCURSOR WinLoadCursor(int32_t id) { return static_cast<HCURSOR>(0x100000 + id); }
HOST_EXPORT HCURSOR WinCreateCursor(const uint32_t* argb, int32_t w, int32_t h, int32_t hotX, int32_t hotY) {
  static HCURSOR next = 0x200000;
  int64_t ink = 0;
  for (int32_t i = 0; argb && i < w * h; ++i) ink += (argb[i] >> 24) != 0;
  Rec("WinCreateCursor", {N(w), N(h), N(hotX), N(hotY), N(ink)});
  return ++next;
}
