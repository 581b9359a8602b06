// TypeLibrary gathers the interfaces and classes one library publishes,
// under the library's name, help string, GUID and version. A CoClassInfo
// is a creatable class: its GUID, documentation string, the interfaces it
// implements (the first is its default) and the event interfaces it fires.
//
// AddDualClass declares the common pair in one call: interface "I" + name
// documented "Dispatch interface for <name> Object" and class <name>
// documented "<name> Object".
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <deque>
#include <vector>

#include "platform/automation/guid.h"
#include "platform/automation/type_info.h"

namespace automation {

struct CoClassInfo {
  std::string name;
  Guid clsid;
  std::string doc;
  std::vector<std::shared_ptr<InterfaceInfo>> interfaces;  // first: default
  std::vector<std::shared_ptr<InterfaceInfo>> sources;     // event interfaces
};

class TypeLibrary {
 public:
  TypeLibrary(std::string name, std::string helpString, Guid libid, uint16_t major = 1, uint16_t minor = 0);

  const std::string& Name() const { return name_; }
  const std::string& HelpString() const { return helpString_; }
  const Guid& Libid() const { return libid_; }
  uint16_t MajorVersion() const { return major_; }
  uint16_t MinorVersion() const { return minor_; }

  // Interface ids and class ids are unique within the library; a repeated
  // one throws std::logic_error.
  std::shared_ptr<InterfaceInfo> AddInterface(std::string name, Guid iid, std::string doc = {});
  void AddInterface(std::shared_ptr<InterfaceInfo> info);
  CoClassInfo& AddCoClass(std::string name, Guid clsid, std::string doc,
                          std::vector<std::shared_ptr<InterfaceInfo>> interfaces);
  std::shared_ptr<InterfaceInfo> AddDualClass(std::string_view className, Guid iid, Guid clsid);

  const std::vector<std::shared_ptr<InterfaceInfo>>& Interfaces() const { return interfaces_; }
  const std::deque<CoClassInfo>& CoClasses() const { return coClasses_; }

  // Null when the library does not describe it; names ignore case.
  const InterfaceInfo* FindInterface(const Guid& iid) const;
  const InterfaceInfo* FindInterface(std::string_view name) const;
  const CoClassInfo* FindCoClass(const Guid& clsid) const;
  const CoClassInfo* FindCoClass(std::string_view name) const;

 private:
  std::string name_;
  std::string helpString_;
  Guid libid_;
  uint16_t major_;
  uint16_t minor_;
  std::vector<std::shared_ptr<InterfaceInfo>> interfaces_;
  std::deque<CoClassInfo> coClasses_;  // AddCoClass hands out references that must stay valid
};

}  // namespace automation
