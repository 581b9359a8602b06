#include "kivhost/loop/session.h"

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "kivhost/trace/trace_values.h"
#include "platform/abi/desklet_api.h"
#include "platform/win/ini_file.h"
#include "platform/util/utf8.h"
#include "platform/win/win_services.h"

namespace kivhost {

Session* Session::current_ = nullptr;

Session::Session(Host& host, PluginLibrary& plugin) : host_(host), plugin_(plugin) {
  host_.SetPlugin(&plugin_);
  current_ = this;
}

Session::~Session() {
  CloseAll();
  host_.SetPlugin(nullptr);
  current_ = nullptr;
}

std::string WindowSection(const SettingsPlace& place) { return place.section + ".window"; }

namespace {

std::optional<int32_t> ReadNumber(const win::IniEntries& entries, const char* key) {
  for (const auto& [k, v] : entries) {
    if (k != key) continue;
    char* end = nullptr;
    const long value = std::strtol(v.c_str(), &end, 10);
    if (end == v.c_str() || *end != '\0' || value < INT32_MIN / 2 || value > INT32_MAX / 2) return std::nullopt;
    return static_cast<int32_t>(value);
  }
  return std::nullopt;
}

}  // namespace

HostDesklet* Session::Adopt(HostDesklet& desklet, void* instance, std::optional<SettingsPlace> settings) {
  if (!instance) {
    host_.RemoveDesklet(desklet.Hwnd());
    return nullptr;
  }
  // The plug-in may have named another pointer with DeskletAsyncSetPointer.
  if (!desklet.instance) desklet.instance = instance;
  if (settings) settings_[desklet.Hwnd()] = *settings;
  return &desklet;
}

void Session::RestorePlace(HostDesklet& desklet, const SettingsPlace& settings) {
  const win::IniEntries entries = win::ReadIniSection(settings.file, WindowSection(settings));
  const std::optional<int32_t> left = ReadNumber(entries, "Left"), top = ReadNumber(entries, "Top");
  const std::optional<int32_t> width = ReadNumber(entries, "Width"), height = ReadNumber(entries, "Height");
  if (!left || !top) return;
  KivSize size = desklet.Size();
  // NOTE: a restored desklet keeps the size it had; its skin sizes only
  // a new one.
  if (width && height && *width > 0 && *height > 0) size = {*width, *height};
  desklet.rect = {*left, *top, *left + size.cx, *top + size.cy};
  for (const auto& [key, value] : entries)
    if (key == "Stacking") desklet.stacking = StackingFromName(value).value_or(desklet.stacking);
}

HostDesklet* Session::CreateFromSkin(const std::string& skinFile, std::optional<SettingsPlace> settings) {
  SkinInfo skin;
  skin.key = std::filesystem::absolute(skinFile).lexically_normal().string();
  HostDesklet* desklet = CreateFromOffered(skin, std::move(settings));
  if (desklet) desklet->skinFile = skinFile;
  return desklet;
}

HostDesklet* Session::CreateFromOffered(const SkinInfo& skin, std::optional<SettingsPlace> settings) {
  HostDesklet& desklet = host_.CreateDesklet();
  desklet.skinFile = skin.key;
  std::u16string key = kiv::Utf8ToUtf16(skin.key), name = kiv::Utf8ToUtf16(skin.name),
                 author = kiv::Utf8ToUtf16(skin.author), notes = kiv::Utf8ToUtf16(skin.notes);
  SkinInfoRecord info{};
  info.size = sizeof(SkinInfoRecord);
  info.index = skin.index;
  info.version = skin.version;
  info.key = key.data(), info.keyLength = static_cast<uint32_t>(key.size() + 2);
  info.name = name.data(), info.nameLength = static_cast<uint32_t>(name.size() + 2);
  info.author = author.data(), info.authorLength = static_cast<uint32_t>(author.size() + 2);
  info.notes = notes.data(), info.notesLength = static_cast<uint32_t>(notes.size() + 2);
  const uint64_t seq = host_.trace.Begin("host>plugin", "OnCreateFromSkinW", desklet.Hwnd(),
                                         json::array({"module", nullptr, SkinInfoJson(&info)}));
  void* instance = plugin_.OnCreateFromSkinW(desklet.Hwnd(), plugin_.Module(), nullptr, &info);
  host_.trace.End(seq, instance != nullptr);
  // A desklet made afresh from its skin is sized by the skin's load; a
  // place kept for it still says where it goes.
  if (instance && settings) RestorePlace(desklet, *settings);
  return Adopt(desklet, instance, std::move(settings));
}

HostDesklet* Session::CreateFromSettings(const SettingsPlace& settings) {
  HostDesklet& desklet = host_.CreateDesklet();
  // The plug-in saved its skin there; the host reads it only to name the
  // desklet in its messages, so a section without it just names none.
  std::string skinPath;
  if (win::ReadIniString(settings.file, settings.section, "SkinPath", skinPath)) desklet.skinFile = skinPath;
  // NOTE: a restored instance does not size itself: its skin's load asks
  // the host for the size (and scales its close point by it), so the kept
  // place and size are the desklet's before the plug-in knows it.
  RestorePlace(desklet, settings);
  const uint64_t seq = host_.trace.Begin("host>plugin", "OnCreate", desklet.Hwnd(),
                                         json::array({"module", settings.file, settings.section}));
  void* instance = plugin_.OnCreate(desklet.Hwnd(), plugin_.Module(), settings.file.c_str(), settings.section.c_str());
  host_.trace.End(seq, instance != nullptr);
  return Adopt(desklet, instance, settings);
}

bool Session::Save(HostDesklet& desklet) {
  auto it = settings_.find(desklet.Hwnd());
  if (it == settings_.end() || !desklet.instance) return false;
  const uint64_t seq = host_.trace.Begin("host>plugin", "OnSave", desklet.Hwnd(),
                                         json::array({it->second.file, it->second.section, false}));
  plugin_.OnSave(desklet.instance, it->second.file.c_str(), it->second.section.c_str(), kFalse);
  host_.trace.End(seq, nullptr);
  win::WriteIniStrings(it->second.file, WindowSection(it->second),
                       {{"Left", std::to_string(desklet.rect.left)},
                        {"Top", std::to_string(desklet.rect.top)},
                        {"Width", std::to_string(desklet.Size().cx)},
                        {"Height", std::to_string(desklet.Size().cy)},
                        {"Stacking", StackingName(desklet.stacking)}});
  return true;
}

void Session::SaveAll() {
  for (HostDesklet* d : host_.Desklets()) Save(*d);
}

void Session::Close(HWND hwnd) {
  HostDesklet* desklet = host_.Find(hwnd);
  if (!desklet) return;
  // The dialog's pages belong to the desklet and go first.
  CloseProperties(hwnd);
  desklet = host_.Find(hwnd);
  if (!desklet) return;
  // NOTE: the plug-in waits for the desklet's threads while destroying it;
  // one of them may be sending to the window, and is released first.
  host_.CloseWindow(hwnd);
  if (desklet->instance) {
    const uint64_t seq = host_.trace.Begin("host>plugin", "OnDestroy", hwnd, json::array());
    const int32_t ret = plugin_.OnDestroy(desklet->instance, hwnd);
    host_.trace.End(seq, ret);
  }
  settings_.erase(hwnd);
  host_.RemoveDesklet(hwnd);
}

void Session::CloseForGood(HWND hwnd) {
  auto it = settings_.find(hwnd);
  if (it != settings_.end()) {
    // Settings the host keeps are forgotten; settings the user named are
    // theirs, and keep the desklet as it was closed.
    if (onForget_) onForget_(it->second);
    else if (HostDesklet* desklet = host_.Find(hwnd)) Save(*desklet);
  }
  Close(hwnd);
}

void Session::RequestCloseForGood(HWND hwnd) {
  host_.Post({hwnd, kHostEndWaitMessage, kHostCloseDesklet, 0});
  host_.queue.PostTask([this, hwnd] { CloseForGood(hwnd); });
}

void Session::CloseAll() {
  for (HostDesklet* d : host_.Desklets()) Close(d->Hwnd());
}

namespace {

LRESULT CallPage(Host& host, HWND page, void* procedure, uint32_t message, WPARAM wParam, LPARAM lParam) {
  auto* call = reinterpret_cast<WinDialogProc>(procedure);
  if (!call) return 0;
  const uint64_t seq = host.trace.Begin("host>plugin", "PageProcedure", page, json::array({message, wParam, lParam}));
  const LRESULT ret = call(page, message, wParam, lParam);
  host.trace.End(seq, ret);
  return ret;
}

}  // namespace

void Session::ShowProperties(HostDesklet& desklet) {
  if (!desklet.instance || desklet.properties) return;
  const HWND hwnd = desklet.Hwnd();
  const size_t before = desklet.propertyPages.size();
  const uint64_t seq = host_.trace.Begin("host>plugin", "OnAddPropertySheets", hwnd, json::array({0}));
  const int32_t count = plugin_.OnAddPropertySheets(desklet.instance, 0);
  host_.trace.End(seq, count);
  // The plug-in may have closed the desklet meanwhile (a statement it ran).
  HostDesklet* d = host_.Find(hwnd);
  if (!d || d->properties) return;
  PropertiesDialog dialog;
  for (size_t i = before; i < d->propertyPages.size(); ++i) {
    std::optional<PageTemplate> from = host_.objects.Page(d->propertyPages[i]);
    if (from) dialog.pages.push_back({host_.NewWindowHandle(), d->propertyPages[i], std::move(*from), {}});
  }
  d->properties = std::move(dialog);
  // NOTE: a page may call back to put its items on itself; what it is
  // called with is copied first, since the dialog's pages may move.
  std::vector<std::pair<HWND, PageTemplate>> pages;
  for (const PageWindow& page : d->properties->pages) pages.emplace_back(page.hwnd, page.from);
  for (const auto& [page, from] : pages)
    CallPage(host_, page, from.dialogProc, kWmInitDialog, 0, reinterpret_cast<LPARAM>(from.param));
  for (const auto& [page, from] : pages) CallPage(host_, page, from.dialogProc, kWmSize, 0, 0);
  if (host_.Shower() && host_.Find(hwnd)) {
    host_.Shower()(hwnd);
    CloseProperties(hwnd);
  }
}

bool Session::PressDialogItem(HWND hwnd, HWND page, int32_t id) {
  HostDesklet* desklet = host_.Find(hwnd);
  PageWindow* window = desklet && desklet->properties ? desklet->properties->Page(page) : nullptr;
  DialogItem* item = window ? window->Item(id) : nullptr;
  if (!item || (item->kind != kDialogButton && item->kind != kDialogCheckBox)) return false;
  if (item->kind == kDialogCheckBox) item->checked = !item->checked;
  void* procedure = window->from.dialogProc;
  const WPARAM command = (static_cast<WPARAM>(kBnClicked) << 16) | static_cast<uint16_t>(id);
  CallPage(host_, page, procedure, kWmCommand, command, 0);
  return true;
}

bool Session::PressDialogItem(HWND hwnd, const std::string& text) {
  HostDesklet* desklet = host_.Find(hwnd);
  if (!desklet || !desklet->properties) return false;
  for (const PageWindow& page : desklet->properties->pages)
    if (const DialogItem* item = page.Pressable(text)) return PressDialogItem(hwnd, page.hwnd, item->id);
  return false;
}

void Session::CloseProperties(HWND hwnd) {
  HostDesklet* desklet = host_.Find(hwnd);
  if (!desklet || !desklet->properties) return;
  std::vector<std::pair<HWND, void*>> pages;
  for (const PageWindow& page : desklet->properties->pages) pages.emplace_back(page.hwnd, page.from.dialogProc);
  const uint64_t seq = host_.trace.Begin("host", "CloseProperties", hwnd, json::array({desklet->properties->changed}));
  for (const auto& [page, procedure] : pages) CallPage(host_, page, procedure, kWmDestroy, 0, 0);
  if (HostDesklet* d = host_.Find(hwnd)) d->properties.reset();
  host_.trace.End(seq, nullptr);
}

void Session::RunDefaultCommand(HWND hwnd, int32_t offset) {
  HostDesklet* desklet = host_.Find(hwnd);
  if (!desklet) return;
  switch (offset) {
    case kCommandProperties: ShowProperties(*desklet); break;
    case kCommandSave: Save(*desklet); break;
    // NOTE: closing from inside a plug-in call would free the instance
    // under its feet; it happens from the loop instead.
    case kCommandClose: RequestCloseForGood(hwnd); break;
    case kCommandStayBelow: desklet->stacking = Stacking::Below; break;
    case kCommandStayAmong: desklet->stacking = Stacking::Normal; break;
    case kCommandStayAbove: desklet->stacking = Stacking::Above; break;
    default: break;
  }
}

HMENU Session::BuildDefaultMenu(HWND hwnd, int32_t firstCommand) {
  const HostDesklet* desklet = host_.Find(hwnd);
  if (!desklet) return 0;
  const HMENU menu = host_.objects.CreateMenu();
  auto add = [&](uint32_t flags, int32_t command, const char* text) {
    host_.objects.AppendMenu(menu, {flags, static_cast<uintptr_t>(firstCommand + command), text});
  };
  auto checked = [&](Stacking s) { return desklet->stacking == s ? kMfChecked : 0u; };
  add(0, kCommandProperties, "Properties");
  add(0, kCommandSave, "Save");
  host_.objects.AppendMenu(menu, {kMfSeparator, 0, ""});
  add(0, kCommandClose, "Close");
  host_.objects.AppendMenu(menu, {kMfSeparator, 0, ""});
  add(checked(Stacking::Below), kCommandStayBelow, "Below other windows");
  add(checked(Stacking::Normal), kCommandStayAmong, "Among other windows");
  add(checked(Stacking::Above), kCommandStayAbove, "Above other windows");
  return menu;
}

void Session::ShowHostMenu(HWND hwnd) {
  const uint64_t seq = host_.trace.Begin("host", "HostMenu", hwnd, json::array({"Properties", "Save", "Close"}));
  const HMENU menu = BuildDefaultMenu(hwnd, 1);
  int32_t chosen = 0;
  if (auto answer = host_.Ask({.kind = DialogRequest::Kind::Menu, .owner = hwnd, .menu = menu, .at = host_.cursorPos},
                              {Answer::Kind::Menu}))
    chosen = answer->number;
  host_.objects.DestroyMenu(menu);
  host_.trace.End(seq, chosen);
  // Commands are numbered from 1.
  if (chosen >= 1) RunDefaultCommand(hwnd, chosen - 1);
}

}  // namespace kivhost
