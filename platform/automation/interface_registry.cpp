#include "platform/automation/interface_registry.h"

#include <utility>

namespace automation {

InterfaceRegistry& InterfaceRegistry::Instance() {
  static InterfaceRegistry* const registry = new InterfaceRegistry();  // owned by the process, never destroyed
  return *registry;
}

void InterfaceRegistry::Register(std::shared_ptr<const InterfaceInfo> info) {
  if (!info) return;
  const Guid iid = info->Iid();
  std::lock_guard<std::mutex> guard(mutex_);
  interfaces_[iid] = std::move(info);
}

std::shared_ptr<const InterfaceInfo> InterfaceRegistry::Find(const Guid& iid) const {
  std::lock_guard<std::mutex> guard(mutex_);
  auto it = interfaces_.find(iid);
  return it == interfaces_.end() ? nullptr : it->second;
}

}  // namespace automation
