#include "platform/automation/type_library.h"

#include <stdexcept>

#include "platform/util/text.h"

namespace automation {

TypeLibrary::TypeLibrary(std::string name, std::string helpString, Guid libid, uint16_t major, uint16_t minor)
    : name_(std::move(name)), helpString_(std::move(helpString)), libid_(libid), major_(major), minor_(minor) {}

std::shared_ptr<InterfaceInfo> TypeLibrary::AddInterface(std::string name, Guid iid, std::string doc) {
  auto info = std::make_shared<InterfaceInfo>(std::move(name), iid, std::move(doc));
  AddInterface(info);
  return info;
}

void TypeLibrary::AddInterface(std::shared_ptr<InterfaceInfo> info) {
  if (!info) throw std::logic_error(name_ + ": null interface");
  if (FindInterface(info->Iid()) || FindInterface(info->Name()))
    throw std::logic_error(name_ + ": interface " + info->Name() + " declared twice");
  interfaces_.push_back(std::move(info));
}

CoClassInfo& TypeLibrary::AddCoClass(std::string name, Guid clsid, std::string doc,
                                     std::vector<std::shared_ptr<InterfaceInfo>> interfaces) {
  if (FindCoClass(clsid) || FindCoClass(name)) throw std::logic_error(name_ + ": class " + name + " declared twice");
  coClasses_.push_back(CoClassInfo{std::move(name), clsid, std::move(doc), std::move(interfaces), {}});
  return coClasses_.back();
}

std::shared_ptr<InterfaceInfo> TypeLibrary::AddDualClass(std::string_view className, Guid iid, Guid clsid) {
  // Appended piecewise: GCC 12 at -O3 warns falsely about "I" + string.
  std::string objectDoc(className);
  objectDoc += " Object";
  std::string interfaceName("I");
  interfaceName += className;
  std::string interfaceDoc("Dispatch interface for ");
  interfaceDoc += objectDoc;
  auto info = AddInterface(std::move(interfaceName), iid, std::move(interfaceDoc));
  AddCoClass(std::string(className), clsid, objectDoc, {info});
  return info;
}

const InterfaceInfo* TypeLibrary::FindInterface(const Guid& iid) const {
  for (const auto& i : interfaces_)
    if (i->Iid() == iid) return i.get();
  return nullptr;
}

const InterfaceInfo* TypeLibrary::FindInterface(std::string_view name) const {
  for (const auto& i : interfaces_)
    if (kiv::EqualsIgnoreCase(i->Name(), name)) return i.get();
  return nullptr;
}

const CoClassInfo* TypeLibrary::FindCoClass(const Guid& clsid) const {
  for (const CoClassInfo& c : coClasses_)
    if (c.clsid == clsid) return &c;
  return nullptr;
}

const CoClassInfo* TypeLibrary::FindCoClass(std::string_view name) const {
  for (const CoClassInfo& c : coClasses_)
    if (kiv::EqualsIgnoreCase(c.name, name)) return &c;
  return nullptr;
}

}  // namespace automation
