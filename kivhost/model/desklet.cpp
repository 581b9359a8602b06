#include "kivhost/model/desklet.h"

#include <algorithm>
#include <utility>

#include <filesystem>

namespace kivhost {

HostDesklet::HostDesklet(HWND hwnd) : hwnd_(hwnd) {}

uint32_t HostDesklet::AddLayer(const std::string& name) {
  HostLayer layer;
  layer.name = name;
  layers_.push_back(std::move(layer));
  return static_cast<uint32_t>(layers_.size() - 1);
}

std::optional<uint32_t> HostDesklet::FindLayer(const std::string& name) const {
  for (size_t i = 0; i < layers_.size(); ++i)
    if (layers_[i].name == name) return static_cast<uint32_t>(i);
  return std::nullopt;
}

HostLayer* HostDesklet::Layer(uint32_t id) { return id < layers_.size() ? &layers_[id] : nullptr; }
const HostLayer* HostDesklet::Layer(uint32_t id) const { return id < layers_.size() ? &layers_[id] : nullptr; }

bool HostDesklet::RemoveLayer(uint32_t id) {
  if (id >= layers_.size()) return false;
  layers_.erase(layers_.begin() + id);
  if (captured_) {
    if (*captured_ == id) captured_.reset();
    else if (*captured_ > id) --*captured_;
  }
  return true;
}

bool HostDesklet::Unlock() {
  if (lockDepth_ == 0) return false;
  return --lockDepth_ == 0;
}

void HostDesklet::Redraw() {
  if (Locked()) {
    pendingRedraw = true;
    return;
  }
  pendingRedraw = false;
  ++redraws_;
}

const char* StackingName(Stacking stacking) {
  switch (stacking) {
    case Stacking::Below: return "below";
    case Stacking::Normal: return "normal";
    case Stacking::Above: return "above";
  }
  return "below";
}

std::optional<Stacking> StackingFromName(const std::string& name) {
  for (Stacking s : {Stacking::Below, Stacking::Normal, Stacking::Above})
    if (name == StackingName(s)) return s;
  return std::nullopt;
}

void HostDesklet::Damage(const KivRect& rect) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  if (!damage_.box) {
    damage_.box = rect;
    return;
  }
  KivRect& box = *damage_.box;
  box = {std::min(box.left, rect.left), std::min(box.top, rect.top), std::max(box.right, rect.right),
         std::max(box.bottom, rect.bottom)};
}

HostDesklet::DamageState HostDesklet::TakeDamage() { return std::exchange(damage_, {}); }

void HostDesklet::SetSize(KivSize size) {
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
}

std::string HostDesklet::SkinName() const {
  for (const std::string* path : {&skinFile, skinInfo ? &skinInfo->key : nullptr}) {
    if (!path || path->empty()) continue;
    // Skins written on Windows name their files with "\\".
    std::string name = std::filesystem::path(*path).filename().string();
    if (const size_t slash = name.find_last_of('\\'); slash != std::string::npos) name.erase(0, slash + 1);
    if (!name.empty()) return name;
  }
  return WindowName(hwnd_);
}

std::string HostDesklet::WindowName(HWND hwnd) { return "window " + std::to_string(hwnd); }

}  // namespace kivhost
