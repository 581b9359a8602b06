// Wrappers over the host's Win... exports, with the headless answers used
// when the host does not export a service.
#include "platform/win/win_services.h"

#include <dlfcn.h>

#include <vector>

#include "platform/win/host_symbol.h"

namespace win {

void* FindHostSymbol(const char* name) {
  // dlopen(nullptr) names the main program and what it loaded globally;
  // the handle is the same for the life of the process.
  static void* const program = dlopen(nullptr, RTLD_NOW);
  return program ? dlsym(program, name) : nullptr;
}

bool HostExports(const char* name) { return FindHostSymbol(name) != nullptr; }

namespace {

#define KIV_LOOKUP(name) FindHostFunction<decltype(::name)>(#name)

std::optional<std::string> FromBuffer(BOOL32 ok, const std::vector<char>& buffer) {
  if (!ok) return std::nullopt;
  return std::string(buffer.data());
}

constexpr int32_t kTextBuffer = 4096;

}  // namespace

bool PostMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  auto fn = KIV_LOOKUP(WinPostMessage);
  return fn && fn(hwnd, message, wParam, lParam) != 0;
}

LRESULT SendMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  auto fn = KIV_LOOKUP(WinSendMessage);
  return fn ? fn(hwnd, message, wParam, lParam) : 0;
}

bool PeekMessage(WinMsg& msg, HWND hwnd, bool remove) {
  auto fn = KIV_LOOKUP(WinPeekMessage);
  return fn && fn(&msg, hwnd, ToBool32(remove)) != 0;
}

LRESULT DispatchMessage(const WinMsg& msg) {
  auto fn = KIV_LOOKUP(WinDispatchMessage);
  return fn ? fn(&msg) : 0;
}

void PumpMessages() {
  WinMsg msg{};
  while (PeekMessage(msg, 0, true)) DispatchMessage(msg);
}

int32_t MessageBox(HWND owner, const std::string& text, const std::string& caption, uint32_t type) {
  auto fn = KIV_LOOKUP(WinMessageBox);
  if (!fn) return (type & 0xF) == kMbYesNo ? kIdNo : kIdOk;
  return fn(owner, text.c_str(), caption.c_str(), type);
}

HMENU CreatePopupMenu() {
  auto fn = KIV_LOOKUP(WinCreatePopupMenu);
  return fn ? fn() : 0;
}

bool AppendMenu(HMENU menu, uint32_t flags, uintptr_t idOrSubMenu, const std::string& text) {
  auto fn = KIV_LOOKUP(WinAppendMenu);
  return fn && fn(menu, flags, idOrSubMenu, text.c_str()) != 0;
}

bool DestroyMenu(HMENU menu) {
  auto fn = KIV_LOOKUP(WinDestroyMenu);
  return fn && fn(menu) != 0;
}

int32_t TrackPopupMenu(HMENU menu, uint32_t flags, int32_t x, int32_t y, HWND owner) {
  auto fn = KIV_LOOKUP(WinTrackPopupMenu);
  return fn ? fn(menu, flags, x, y, owner) : 0;
}

KivPoint GetCursorPos() {
  KivPoint p{0, 0};
  if (auto fn = KIV_LOOKUP(WinGetCursorPos)) fn(&p);
  return p;
}

std::optional<std::string> InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                                    const std::string& text) {
  auto fn = KIV_LOOKUP(WinInputBox);
  if (!fn) return std::nullopt;
  std::vector<char> out(kTextBuffer, '\0');
  return FromBuffer(fn(owner, caption.c_str(), prompt.c_str(), text.c_str(), out.data(), kTextBuffer), out);
}

std::optional<uint32_t> ChooseColor(HWND owner, uint32_t initial) {
  auto fn = KIV_LOOKUP(WinChooseColor);
  uint32_t color = initial;
  if (!fn || !fn(owner, &color)) return std::nullopt;
  return color;
}

std::optional<std::string> GetOpenFileName(HWND owner, const std::string& folder, const std::string& filter,
                                           const std::string& defaultExt, const std::string& title) {
  auto fn = KIV_LOOKUP(WinGetOpenFileName);
  if (!fn) return std::nullopt;
  std::vector<char> out(kTextBuffer, '\0');
  return FromBuffer(
      fn(owner, folder.c_str(), filter.c_str(), defaultExt.c_str(), title.c_str(), out.data(), kTextBuffer), out);
}

std::optional<std::string> GetSaveFileName(HWND owner, const std::string& folder, const std::string& filter,
                                           const std::string& defaultExt, const std::string& title) {
  auto fn = KIV_LOOKUP(WinGetSaveFileName);
  if (!fn) return std::nullopt;
  std::vector<char> out(kTextBuffer, '\0');
  return FromBuffer(
      fn(owner, folder.c_str(), filter.c_str(), defaultExt.c_str(), title.c_str(), out.data(), kTextBuffer), out);
}

std::optional<std::string> BrowseForFolder(HWND owner, const std::string& message) {
  auto fn = KIV_LOOKUP(WinBrowseForFolder);
  if (!fn) return std::nullopt;
  std::vector<char> out(kTextBuffer, '\0');
  return FromBuffer(fn(owner, message.c_str(), out.data(), kTextBuffer), out);
}

HCURSOR LoadCursor(int32_t systemId) {
  auto fn = KIV_LOOKUP(WinLoadCursor);
  return fn ? fn(systemId) : 0;
}

HCURSOR CreateCursor(const uint32_t* argb, int32_t width, int32_t height, int32_t hotX, int32_t hotY) {
  auto fn = KIV_LOOKUP(WinCreateCursor);
  return fn ? fn(argb, width, height, hotX, hotY) : 0;
}

bool PlaySound(const std::string& file, uint32_t flags) {
  auto fn = KIV_LOOKUP(WinPlaySound);
  return fn && fn(file.empty() ? nullptr : file.c_str(), flags) != 0;
}

intptr_t ShellExecute(HWND owner, const std::string& operation, const std::string& file,
                      const std::string& parameters, const std::string& folder, int32_t show) {
  auto fn = KIV_LOOKUP(WinShellExecute);
  return fn ? fn(owner, operation.c_str(), file.c_str(), parameters.c_str(), folder.c_str(), show) : 0;
}

HWND FindWindow(const std::string& className, const std::string& windowName) {
  auto fn = KIV_LOOKUP(WinFindWindow);
  if (!fn) return 0;
  return fn(className.empty() ? nullptr : className.c_str(), windowName.empty() ? nullptr : windowName.c_str());
}

std::string GetWindowText(HWND hwnd) {
  auto fn = KIV_LOOKUP(WinGetWindowText);
  if (!fn) return {};
  std::vector<char> out(260, '\0');
  fn(hwnd, out.data(), static_cast<int32_t>(out.size()));
  out.back() = '\0';
  return std::string(out.data());
}

HPROPSHEETPAGE CreatePropertySheetPage(const std::string& title, int32_t templateId, void* dialogProc, void* param) {
  auto fn = KIV_LOOKUP(WinCreatePropertySheetPage);
  return fn ? fn(title.c_str(), templateId, dialogProc, param) : 0;
}

bool CreateDialogItem(HWND page, int32_t id, int32_t kind, const std::string& text, const KivRect& rect) {
  auto fn = KIV_LOOKUP(WinCreateDialogItem);
  return fn && fn(page, id, kind, text.c_str(), &rect) != 0;
}

bool SetDialogItemText(HWND page, int32_t id, const std::string& text) {
  auto fn = KIV_LOOKUP(WinSetDialogItemText);
  return fn && fn(page, id, text.c_str()) != 0;
}

bool CheckDialogButton(HWND page, int32_t id, bool checked) {
  auto fn = KIV_LOOKUP(WinCheckDialogButton);
  return fn && fn(page, id, ToBool32(checked)) != 0;
}

bool IsDialogButtonChecked(HWND page, int32_t id) {
  auto fn = KIV_LOOKUP(WinIsDialogButtonChecked);
  return fn && fn(page, id) != 0;
}

void PropSheetChanged(HWND page) {
  if (auto fn = KIV_LOOKUP(WinPropSheetChanged)) fn(page);
}

void ErrorLogLine(HWND hwnd, const std::string& line) {
  if (auto fn = KIV_LOOKUP(WinErrorLogLine)) fn(hwnd, line.c_str());
}

}  // namespace win
