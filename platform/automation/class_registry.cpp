#include "platform/automation/class_registry.h"

#include <utility>

#include "platform/automation/automation_error.h"
#include "platform/automation/error_info.h"

namespace automation {

void ClassRegistry::AddClass(const Guid& clsid, std::string name) {
  std::lock_guard<std::mutex> guard(mutex_);
  classes_[clsid].name = std::move(name);
}

bool ClassRegistry::SetCreator(const Guid& clsid, Creator create) {
  std::lock_guard<std::mutex> guard(mutex_);
  auto it = classes_.find(clsid);
  if (it == classes_.end()) return false;
  it->second.create = std::move(create);
  return true;
}

bool ClassRegistry::Serves(const Guid& clsid) const {
  std::lock_guard<std::mutex> guard(mutex_);
  return classes_.count(clsid) != 0;
}

bool ClassRegistry::HasCreator(const Guid& clsid) const {
  std::lock_guard<std::mutex> guard(mutex_);
  auto it = classes_.find(clsid);
  return it != classes_.end() && static_cast<bool>(it->second.create);
}

std::string ClassRegistry::NameOf(const Guid& clsid) const {
  std::lock_guard<std::mutex> guard(mutex_);
  auto it = classes_.find(clsid);
  return it == classes_.end() ? std::string() : it->second.name;
}

ComPtr<IUnknown> ClassRegistry::Create(const Guid& clsid) const {
  Creator create;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    auto it = classes_.find(clsid);
    if (it != classes_.end()) create = it->second.create;
  }
  // The creator runs unlocked: it may well ask the registry something.
  if (!create) throw AutomationError(E_NOTIMPL, "Not implemented");
  return create();
}

HRESULT ClassRegistry::GetClassObject(const Guid& clsid, const Guid& iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!Serves(clsid)) return ReportFailure(CLASS_E_CLASSNOTAVAILABLE, DescribeHResult(CLASS_E_CLASSNOTAVAILABLE));
  try {
    auto factory = MakeObject<FunctionClassFactory>([this, clsid] { return Create(clsid); }, lifetime_);
    HRESULT hr = factory->QueryInterface(iid, out);
    if (Failed(hr)) return ReportFailure(hr, DescribeHResult(hr));
    lifetime_.Watch(factory.Get());
    return S_OK;
  } catch (...) {
    if (*out) {
      static_cast<IUnknown*>(*out)->Release();
      *out = nullptr;
    }
    return ReportCurrentException("");
  }
}

}  // namespace automation
