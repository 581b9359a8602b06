// The window-system services, exported from the kivhost program. Headless,
// nothing is shown: each dialog or menu takes the next queued scenario
// answer and otherwise reports cancel (message boxes OK); sounds and, headless,
// shell commands are only traced; error-log lines go to the desklet's log and to
// standard error.
#include <algorithm>
#include <cstring>
#include <string>

#include "kivhost/common/image_digest.h"
#include "kivhost/loop/error_log.h"
#include "kivhost/loop/host.h"
#include "kivhost/trace/trace_values.h"
#include "platform/win/shell_execute.h"
#include "platform/win/win_services.h"

#define HOST_EXPORT extern "C" __attribute__((visibility("default")))

using kivhost::Answer;
using kivhost::Host;
using kivhost::json;
using kivhost::TextJson;

namespace {

json MsgJson(const WinMsg* m) {
  if (!m) return nullptr;
  return {{"hwnd", m->hwnd}, {"message", m->message}, {"wParam", m->wParam}, {"lParam", m->lParam}};
}

template <class Body>
auto Traced(const char* fn, HWND owner, json args, Body body) {
  Host& host = Host::Get();
  const uint64_t seq = host.trace.Begin("plugin>host", fn, owner, std::move(args));
  auto ret = body();
  host.trace.End(seq, json(ret));
  return ret;
}

// As Traced for functions that answer a BOOL32, which the trace writes as
// true or false rather than as its number.
template <class Body>
BOOL32 TracedBool(const char* fn, HWND owner, json args, Body body) {
  Host& host = Host::Get();
  const uint64_t seq = host.trace.Begin("plugin>host", fn, owner, std::move(args));
  const BOOL32 ret = body();
  host.trace.End(seq, kivhost::BoolJson(ret));
  return ret;
}

// Copies text into a caller's buffer, cut at a whole UTF-8 character.
bool CopyOut(const std::string& text, char* out, int32_t outSize) {
  if (!out || outSize <= 0) return false;
  size_t n = std::min(text.size(), static_cast<size_t>(outSize - 1));
  while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return true;
}

using kivhost::DialogRequest;

BOOL32 TextDialog(const char* fn, HWND owner, json args, const DialogRequest& request,
                  std::initializer_list<Answer::Kind> kinds, char* out, int32_t outSize) {
  return TracedBool(fn, owner, std::move(args), [&]() -> BOOL32 {
    auto a = Host::Get().Ask(request, kinds);
    return a && CopyOut(a->text, out, outSize) ? kTrue : kFalse;
  });
}

std::string Text(const char* s) { return s ? s : ""; }

bool KnownSystemCursor(int32_t id) {
  static const int32_t ids[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642,
                                32643, 32644, 32645, 32646, 32648, 32649, 32650, 32651};
  return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

}  // namespace

HOST_EXPORT BOOL32 WinPostMessage(HWND h, uint32_t m, WPARAM w, LPARAM l) {
  return TracedBool("WinPostMessage", h, json::array({m, w, l}), [&] { return ToBool32(Host::Get().Post({h, m, w, l})); });
}

HOST_EXPORT LRESULT WinSendMessage(HWND h, uint32_t m, WPARAM w, LPARAM l) {
  return Traced("WinSendMessage", h, json::array({m, w, l}), [&] { return Host::Get().Send({h, m, w, l}); });
}

HOST_EXPORT BOOL32 WinPeekMessage(WinMsg* msg, HWND h, BOOL32 remove) {
  Host& host = Host::Get();
  if (!msg || !host.OnWindowThread()) return kFalse;
  host.RunWhileWaiting();
  auto found = host.queue.Peek(h, remove != 0);
  if (!found) return kFalse;
  *msg = *found;
  host.trace.Record("plugin>host", "WinPeekMessage", h, json::array({kivhost::BoolJson(remove)}), MsgJson(msg));
  return kTrue;
}

HOST_EXPORT LRESULT WinDispatchMessage(const WinMsg* msg) {
  if (!msg) return 0;
  return Traced("WinDispatchMessage", msg->hwnd, json::array({MsgJson(msg)}), [&] { return Host::Get().Deliver(*msg); });
}

HOST_EXPORT int32_t WinMessageBox(HWND owner, const char* text, const char* caption, uint32_t type) {
  return Traced("WinMessageBox", owner, json::array({TextJson(text), TextJson(caption), type}), [&]() -> int32_t {
    DialogRequest request{.kind = DialogRequest::Kind::MessageBox, .owner = owner, .caption = Text(caption),
                          .text = Text(text), .style = type};
    auto a = Host::Get().Ask(request, {Answer::Kind::Yes, Answer::Kind::No, Answer::Kind::Cancel});
    if (!a) return kIdOk;
    switch (a->kind) {
      case Answer::Kind::Yes: return kIdYes;
      case Answer::Kind::No: return kIdNo;
      default: return kIdCancel;
    }
  });
}

HOST_EXPORT HMENU WinCreatePopupMenu() {
  return Traced("WinCreatePopupMenu", 0, json::array(), [] { return Host::Get().objects.CreateMenu(); });
}

HOST_EXPORT BOOL32 WinAppendMenu(HMENU menu, uint32_t flags, uintptr_t idOrSubMenu, const char* text) {
  return TracedBool("WinAppendMenu", 0, json::array({menu, flags, idOrSubMenu, TextJson(text)}), [&] {
    return ToBool32(Host::Get().objects.AppendMenu(menu, {flags, idOrSubMenu, text ? text : ""}));
  });
}

HOST_EXPORT BOOL32 WinDestroyMenu(HMENU menu) {
  return TracedBool("WinDestroyMenu", 0, json::array({menu}), [&] { return ToBool32(Host::Get().objects.DestroyMenu(menu)); });
}

HOST_EXPORT int32_t WinTrackPopupMenu(HMENU menu, uint32_t flags, int32_t x, int32_t y, HWND owner) {
  return Traced("WinTrackPopupMenu", owner, json::array({menu, flags, x, y}), [&]() -> int32_t {
    DialogRequest request{.kind = DialogRequest::Kind::Menu, .owner = owner, .menu = menu, .at = {x, y}};
    auto a = Host::Get().Ask(request, {Answer::Kind::Menu, Answer::Kind::Cancel});
    if (!a || a->kind != Answer::Kind::Menu) return 0;
    // NOTE: without TPM_RETURNCMD a chosen command would be posted as
    // WM_COMMAND to the owner, as the window system does.
    if (!(flags & kTpmReturnCmd)) {
      Host::Get().Post({owner, 0x0111, static_cast<WPARAM>(a->number), 0});
      return 1;
    }
    return a->number;
  });
}

HOST_EXPORT BOOL32 WinGetCursorPos(KivPoint* pos) {
  if (!pos) return kFalse;
  *pos = Host::Get().cursorPos;
  Host::Get().trace.Record("plugin>host", "WinGetCursorPos", 0, json::array(), kivhost::PointJson(pos));
  return kTrue;
}

HOST_EXPORT BOOL32 WinInputBox(HWND owner, const char* caption, const char* prompt, const char* text, char* out,
                               int32_t outSize) {
  return TextDialog("WinInputBox", owner, json::array({TextJson(caption), TextJson(prompt), TextJson(text)}),
                    {.kind = DialogRequest::Kind::Input, .owner = owner, .caption = Text(caption), .text = Text(prompt),
                     .initial = Text(text)},
                    {Answer::Kind::Input}, out, outSize);
}

HOST_EXPORT BOOL32 WinChooseColor(HWND owner, uint32_t* colorRef) {
  return TracedBool("WinChooseColor", owner, json::array({colorRef ? json(*colorRef) : json(nullptr)}), [&]() -> BOOL32 {
    DialogRequest request{.kind = DialogRequest::Kind::Color, .owner = owner, .color = colorRef ? *colorRef : 0};
    auto a = Host::Get().Ask(request, {Answer::Kind::Color});
    if (!a || !colorRef) return kFalse;
    *colorRef = static_cast<uint32_t>(a->number);
    return kTrue;
  });
}

HOST_EXPORT BOOL32 WinGetOpenFileName(HWND owner, const char* folder, const char* filter, const char* defaultExt,
                                      const char* title, char* out, int32_t outSize) {
  return TextDialog("WinGetOpenFileName", owner,
                    json::array({TextJson(folder), TextJson(filter), TextJson(defaultExt), TextJson(title)}),
                    {.kind = DialogRequest::Kind::OpenFile, .owner = owner, .caption = Text(title),
                     .initial = Text(folder), .filter = Text(filter), .defaultExt = Text(defaultExt)},
                    {Answer::Kind::File}, out, outSize);
}

HOST_EXPORT BOOL32 WinGetSaveFileName(HWND owner, const char* folder, const char* filter, const char* defaultExt,
                                      const char* title, char* out, int32_t outSize) {
  return TextDialog("WinGetSaveFileName", owner,
                    json::array({TextJson(folder), TextJson(filter), TextJson(defaultExt), TextJson(title)}),
                    {.kind = DialogRequest::Kind::SaveFile, .owner = owner, .caption = Text(title),
                     .initial = Text(folder), .filter = Text(filter), .defaultExt = Text(defaultExt)},
                    {Answer::Kind::File}, out, outSize);
}

HOST_EXPORT BOOL32 WinBrowseForFolder(HWND owner, const char* message, char* out, int32_t outSize) {
  return TextDialog("WinBrowseForFolder", owner, json::array({TextJson(message)}),
                    {.kind = DialogRequest::Kind::Folder, .owner = owner, .caption = Text(message)},
                    {Answer::Kind::File, Answer::Kind::Input}, out, outSize);
}

HOST_EXPORT HCURSOR WinLoadCursor(int32_t systemId) {
  return Traced("WinLoadCursor", 0, json::array({systemId}), [&]() -> HCURSOR {
    return KnownSystemCursor(systemId) ? Host::Get().objects.SystemCursor(systemId) : 0;
  });
}

HOST_EXPORT HCURSOR WinCreateCursor(const uint32_t* argb, int32_t width, int32_t height, int32_t hotX, int32_t hotY) {
  return Traced("WinCreateCursor", 0, json::array({width, height, hotX, hotY}), [&]() -> HCURSOR {
    if (!argb || width <= 0 || height <= 0 || width > 256 || height > 256) return 0;
    kivhost::CursorInfo info{0, width, height, hotX, hotY, {}, std::vector<uint32_t>(argb, argb + width * height)};
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    unsigned char* data = cairo_image_surface_get_data(s);
    for (int y = 0; y < height; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(s));
      for (int x = 0; x < width; ++x) {
        const uint32_t p = argb[y * width + x], a = p >> 24;
        auto pm = [a](uint32_t c) { return (c * a + 127) / 255; };
        row[x] = (a << 24) | (pm((p >> 16) & 0xFF) << 16) | (pm((p >> 8) & 0xFF) << 8) | pm(p & 0xFF);
      }
    }
    cairo_surface_mark_dirty(s);
    info.sha256 = kivlib::SurfaceSha256(s);
    cairo_surface_destroy(s);
    return Host::Get().objects.AddCursor(std::move(info));
  });
}

HOST_EXPORT BOOL32 WinPlaySound(const char* file, uint32_t flags) {
  return TracedBool("WinPlaySound", 0, json::array({TextJson(file), flags}), [] { return kTrue; });
}

HOST_EXPORT intptr_t WinShellExecute(HWND owner, const char* operation, const char* file, const char* parameters,
                                     const char* folder, int32_t show) {
  // Headless nothing is run; 33 is the "succeeded" result (above 32).
  return Traced("WinShellExecute", owner,
                json::array({TextJson(operation), TextJson(file), TextJson(parameters), TextJson(folder), show}),
                [&] {
                  if (!Host::Get().startsPrograms) return intptr_t{33};
                  return win::ShellExecuteNow(Text(operation), Text(file), Text(parameters), Text(folder));
                });
}

HOST_EXPORT HWND WinFindWindow(const char* className, const char* windowName) {
  return Traced("WinFindWindow", 0, json::array({TextJson(className), TextJson(windowName)}), [&]() -> HWND {
    if (!windowName) return 0;
    for (auto* d : Host::Get().Desklets())
      if (d->label == windowName) return d->Hwnd();
    return 0;
  });
}

HOST_EXPORT int32_t WinGetWindowText(HWND hwnd, char* out, int32_t outSize) {
  return Traced("WinGetWindowText", hwnd, json::array({outSize}), [&]() -> int32_t {
    auto* d = Host::Get().Find(hwnd);
    if (!d || !CopyOut(d->label, out, outSize)) return 0;
    return static_cast<int32_t>(std::strlen(out));
  });
}

HOST_EXPORT HPROPSHEETPAGE WinCreatePropertySheetPage(const char* title, int32_t templateId, void* dialogProc, void* param) {
  return Traced("WinCreatePropertySheetPage", 0, json::array({TextJson(title), templateId, dialogProc != nullptr}),
                [&] { return Host::Get().objects.CreatePage({title ? title : "", templateId, dialogProc, param}); });
}

HOST_EXPORT BOOL32 WinCreateDialogItem(HWND page, int32_t id, int32_t kind, const char* text, const KivRect* rect) {
  return TracedBool("WinCreateDialogItem", page, json::array({id, kivhost::DialogItemKindName(kind), TextJson(text)}),
                    [&]() -> BOOL32 {
                      kivhost::PageWindow* window = Host::Get().FindPageWindow(page);
                      if (!window || !rect) return kFalse;
                      window->AddItem({id, kind, Text(text), *rect, false});
                      return kTrue;
                    });
}

HOST_EXPORT BOOL32 WinSetDialogItemText(HWND page, int32_t id, const char* text) {
  return TracedBool("WinSetDialogItemText", page, json::array({id, TextJson(text)}), [&]() -> BOOL32 {
    kivhost::PageWindow* window = Host::Get().FindPageWindow(page);
    kivhost::DialogItem* item = window ? window->Item(id) : nullptr;
    if (!item) return kFalse;
    item->text = Text(text);
    return kTrue;
  });
}

HOST_EXPORT BOOL32 WinCheckDialogButton(HWND page, int32_t id, BOOL32 checked) {
  return TracedBool("WinCheckDialogButton", page, json::array({id, kivhost::BoolJson(checked)}), [&]() -> BOOL32 {
    kivhost::PageWindow* window = Host::Get().FindPageWindow(page);
    kivhost::DialogItem* item = window ? window->Item(id) : nullptr;
    if (!item || item->kind != kDialogCheckBox) return kFalse;
    item->checked = checked != 0;
    return kTrue;
  });
}

HOST_EXPORT BOOL32 WinIsDialogButtonChecked(HWND page, int32_t id) {
  return TracedBool("WinIsDialogButtonChecked", page, json::array({id}), [&]() -> BOOL32 {
    kivhost::PageWindow* window = Host::Get().FindPageWindow(page);
    kivhost::DialogItem* item = window ? window->Item(id) : nullptr;
    return ToBool32(item && item->checked);
  });
}

HOST_EXPORT void WinPropSheetChanged(HWND page) {
  Host& host = Host::Get();
  const uint64_t seq = host.trace.Begin("plugin>host", "WinPropSheetChanged", page, json::array());
  if (kivhost::PropertiesDialog* dialog = host.FindDialogOfPage(page)) dialog->changed = true;
  host.trace.End(seq, nullptr);
}

HOST_EXPORT void WinErrorLogLine(HWND hwnd, const char* line) {
  Host& host = Host::Get();
  const uint64_t seq = host.trace.Begin("plugin>host", "WinErrorLogLine", hwnd, json::array({TextJson(line)}));
  kivhost::AddErrorLogLine(host, hwnd, line);
  host.trace.End(seq, nullptr);
}

HOST_EXPORT int32_t KivHostTraceEnabled() { return Host::Get().trace.Enabled() ? 1 : 0; }

HOST_EXPORT uint64_t KivHostTraceBegin(const char* fn, HWND hwnd, const char* args) {
  Host& host = Host::Get();
  host.trace.EnterLibrary();
  if (!host.trace.Enabled()) return 0;
  const json parsed = args ? json::parse(args, nullptr, false) : json::array();
  return host.trace.Begin("plugin>host", fn ? fn : "", hwnd, parsed.is_discarded() ? json(nullptr) : parsed);
}

HOST_EXPORT void KivHostTraceEnd(uint64_t seq, const char* ret) {
  Host& host = Host::Get();
  host.trace.LeaveLibrary();
  const json parsed = ret ? json::parse(ret, nullptr, false) : json(nullptr);
  host.trace.End(seq, parsed.is_discarded() ? json(nullptr) : parsed);
}
