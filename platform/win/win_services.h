// The window-system services. On Windows these come from the system; here
// the host program is the window system and exports them under Win...
// names (linked with -rdynamic). The plug-in reaches them only through the
// wrappers in namespace win below, which look each export up by name in the
// main program at every call. Without a host that exports them the wrappers
// behave like a headless session: nothing is shown, dialogs report
// "cancelled", message boxes "OK", posting fails.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/abi/kiv_types.h"

extern "C" {

struct WinMsg {
  HWND hwnd;
  uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
};

// Message-box types and results (the Windows values).
enum : uint32_t { kMbOk = 0, kMbYesNo = 4, kMbIconInformation = 0x40, kMbIconQuestion = 0x20 };
enum : int32_t { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// Menu flags used with WinAppendMenu and WinTrackPopupMenu.
enum : uint32_t {
  kMfGrayed = 0x1, kMfChecked = 0x8, kMfPopup = 0x10, kMfMenuBarBreak = 0x20,
  kMfMenuBreak = 0x40, kMfSeparator = 0x800, kTpmReturnCmd = 0x100
};

// Property-sheet pages. The host makes a window for each page of its
// properties dialog and calls the page's dialog procedure (WinDialogProc)
// with: WM_INITDIALOG, lParam the parameter the page was created with;
// WM_SIZE once the page is shown; WM_COMMAND, wParam the item's id in the
// low 16 bits and BN_CLICKED in the high ones, when the user presses a
// button or a check box (a check box has changed its state by then); and
// WM_DESTROY when the dialog closes. The page fills itself with items
// placed in dialog units; the host lays them out and draws them.
enum : uint32_t { kWmDestroy = 2, kWmSize = 5, kWmInitDialog = 0x0110, kWmCommand = 0x0111 };
enum : uint32_t { kBnClicked = 0 };
enum : int32_t {
  kDialogGroup = 1,     // a frame with a caption around the items within it
  kDialogLog = 2,       // read-only text of several lines, with scroll bars
  kDialogButton = 3,    // a push button
  kDialogCheckBox = 4,  // a check box that changes its state when pressed
};
typedef intptr_t (*WinDialogProc)(HWND page, uint32_t message, WPARAM wParam, LPARAM lParam);

// sndPlaySound flags.
enum : uint32_t { kSndSync = 0, kSndAsync = 1, kSndLoop = 8 };

#define KIV_WIN_FUNCTIONS(X)                                                              \
  /* Posting is thread-safe and never blocks; false when the window is gone. */          \
  X(BOOL32, WinPostMessage, (HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam)) \
  /* Delivers at once on the window thread; from another thread it waits. */              \
  X(LRESULT, WinSendMessage, (HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam)) \
  /* The window thread's queue; hwnd 0 takes any window's message. */                    \
  X(BOOL32, WinPeekMessage, (WinMsg * msg, HWND hwnd, BOOL32 remove))                    \
  X(LRESULT, WinDispatchMessage, (const WinMsg* msg))                                    \
  X(int32_t, WinMessageBox, (HWND owner, const char* text, const char* caption, uint32_t type)) \
  X(HMENU, WinCreatePopupMenu, ())                                                       \
  X(BOOL32, WinAppendMenu, (HMENU menu, uint32_t flags, uintptr_t idOrSubMenu, const char* text)) \
  X(BOOL32, WinDestroyMenu, (HMENU menu))                                                \
  X(int32_t, WinTrackPopupMenu, (HMENU menu, uint32_t flags, int32_t x, int32_t y, HWND owner)) \
  X(BOOL32, WinGetCursorPos, (KivPoint * pos))                                           \
  X(BOOL32, WinInputBox, (HWND owner, const char* caption, const char* prompt, const char* text, char* out, int32_t outSize)) \
  X(BOOL32, WinChooseColor, (HWND owner, uint32_t * colorRef))                          \
  X(BOOL32, WinGetOpenFileName, (HWND owner, const char* folder, const char* filter, const char* defaultExt, const char* title, char* out, int32_t outSize)) \
  X(BOOL32, WinGetSaveFileName, (HWND owner, const char* folder, const char* filter, const char* defaultExt, const char* title, char* out, int32_t outSize)) \
  X(BOOL32, WinBrowseForFolder, (HWND owner, const char* message, char* out, int32_t outSize)) \
  /* A system cursor by its IDC_ number; 0 for an unknown one. */                         \
  X(HCURSOR, WinLoadCursor, (int32_t systemId))                                          \
  /* A cursor from straight-alpha ARGB pixels, row by row. */                             \
  X(HCURSOR, WinCreateCursor, (const uint32_t* argb, int32_t width, int32_t height, int32_t hotX, int32_t hotY)) \
  X(BOOL32, WinPlaySound, (const char* file, uint32_t flags))                            \
  X(intptr_t, WinShellExecute, (HWND owner, const char* operation, const char* file, const char* parameters, const char* folder, int32_t show)) \
  X(HWND, WinFindWindow, (const char* className, const char* windowName))               \
  X(int32_t, WinGetWindowText, (HWND hwnd, char* out, int32_t outSize))                  \
  X(HPROPSHEETPAGE, WinCreatePropertySheetPage, (const char* title, int32_t templateId, void* dialogProc, void* param)) \
  X(BOOL32, WinCreateDialogItem, (HWND page, int32_t id, int32_t kind, const char* text, const KivRect* rect)) \
  X(BOOL32, WinSetDialogItemText, (HWND page, int32_t id, const char* text))            \
  X(BOOL32, WinCheckDialogButton, (HWND page, int32_t id, BOOL32 checked))              \
  X(BOOL32, WinIsDialogButtonChecked, (HWND page, int32_t id))                          \
  /* Tells the properties dialog that the page has changed. */                          \
  X(void, WinPropSheetChanged, (HWND page))                                             \
  /* The desklet's error log gained a line; the host shows and traces it. */              \
  X(void, WinErrorLogLine, (HWND hwnd, const char* line))

#define KIV_DECLARE_FUNCTION(ret, name, params) ret name params;
KIV_WIN_FUNCTIONS(KIV_DECLARE_FUNCTION)
#undef KIV_DECLARE_FUNCTION

}  // extern "C"

namespace win {

// True when the running program exports the named function.
bool HostExports(const char* name);

bool PostMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam);
bool PeekMessage(WinMsg& msg, HWND hwnd, bool remove);
LRESULT DispatchMessage(const WinMsg& msg);
// Dispatches whatever is queued for the calling (window) thread.
void PumpMessages();

int32_t MessageBox(HWND owner, const std::string& text, const std::string& caption, uint32_t type);
HMENU CreatePopupMenu();
bool AppendMenu(HMENU menu, uint32_t flags, uintptr_t idOrSubMenu, const std::string& text);
bool DestroyMenu(HMENU menu);
int32_t TrackPopupMenu(HMENU menu, uint32_t flags, int32_t x, int32_t y, HWND owner);
KivPoint GetCursorPos();
std::optional<std::string> InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                                    const std::string& text);
std::optional<uint32_t> ChooseColor(HWND owner, uint32_t initial);
std::optional<std::string> GetOpenFileName(HWND owner, const std::string& folder, const std::string& filter,
                                           const std::string& defaultExt, const std::string& title);
std::optional<std::string> GetSaveFileName(HWND owner, const std::string& folder, const std::string& filter,
                                           const std::string& defaultExt, const std::string& title);
std::optional<std::string> BrowseForFolder(HWND owner, const std::string& message);
HCURSOR LoadCursor(int32_t systemId);
HCURSOR CreateCursor(const uint32_t* argb, int32_t width, int32_t height, int32_t hotX, int32_t hotY);
bool PlaySound(const std::string& file, uint32_t flags);
intptr_t ShellExecute(HWND owner, const std::string& operation, const std::string& file,
                      const std::string& parameters, const std::string& folder, int32_t show);
HWND FindWindow(const std::string& className, const std::string& windowName);
std::string GetWindowText(HWND hwnd);
HPROPSHEETPAGE CreatePropertySheetPage(const std::string& title, int32_t templateId, void* dialogProc, void* param);
// The items of a property-sheet page; false (or unchecked) without a host
// or for a page or item it does not know.
bool CreateDialogItem(HWND page, int32_t id, int32_t kind, const std::string& text, const KivRect& rect);
bool SetDialogItemText(HWND page, int32_t id, const std::string& text);
bool CheckDialogButton(HWND page, int32_t id, bool checked);
bool IsDialogButtonChecked(HWND page, int32_t id);
void PropSheetChanged(HWND page);
// Tells the host of a new line in a desklet's error log; nothing without a host.
void ErrorLogLine(HWND hwnd, const std::string& line);

}  // namespace win
