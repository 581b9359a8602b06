// InterfaceRegistry: the descriptions of interfaces known to the process,
// by interface id -- what a system's registered type libraries are to a
// client that meets an interface only by its id. An event sinker finds
// here the members (names by dispatch id) of the event interfaces an
// object's connection points offer. Classes that fire events register
// their event interfaces; all members may be called from any thread.
#pragma once

#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/automation/guid.h"
#include "platform/automation/type_info.h"

namespace automation {

class InterfaceRegistry {
 public:
  static InterfaceRegistry& Instance();

  // A description registered again under its id replaces the earlier one.
  void Register(std::shared_ptr<const InterfaceInfo> info);
  // Null when the id is not known.
  std::shared_ptr<const InterfaceInfo> Find(const Guid& iid) const;

 private:
  mutable std::mutex mutex_;
  std::unordered_map<Guid, std::shared_ptr<const InterfaceInfo>, GuidHash> interfaces_;
};

}  // namespace automation
