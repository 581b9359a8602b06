#include "platform/automation/dispatch_call.h"

#include <algorithm>
#include <string>

#include "platform/automation/automation_error.h"
#include "platform/automation/error_info.h"

namespace automation {

void ThrowIfFailed(HRESULT hr) {
  if (Succeeded(hr)) return;
  std::optional<ErrorInfo> info = TakeErrorInfo();
  if (info && info->code == hr && !info->description.empty()) throw AutomationError(hr, info->description);
  throw AutomationError(hr);
}

const InterfaceInfo* TypeInfoOf(IDispatch* object) {
  uint32_t count = 0;
  if (!object || Failed(object->GetTypeInfoCount(&count)) || count == 0) return nullptr;
  const InterfaceInfo* info = nullptr;
  if (Failed(object->GetTypeInfo(0, &info))) return nullptr;
  return info;
}

DispId GetDispId(IDispatch* object, std::string_view name) {
  if (!object) throw AutomationError(E_POINTER, "Object required");
  std::string names[1] = {std::string(name)};
  DispId ids[1] = {DISPID_UNKNOWN};
  HRESULT hr = object->GetIDsOfNames(names, ids);
  if (Failed(hr)) throw AutomationError(hr, DescribeHResult(hr));
  return ids[0];
}

Variant InvokeMember(IDispatch* object, DispId id, uint16_t flags, std::vector<Variant> args) {
  if (!object) throw AutomationError(E_POINTER, "Object required");
  std::reverse(args.begin(), args.end());
  static const DispId putId[1] = {DISPID_PROPERTYPUT};
  DispParams params;
  params.args = args;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) params.namedIds = putId;
  Variant result;
  ClearErrorInfo();
  ThrowIfFailed(object->Invoke(id, flags, params, &result));
  return result;
}

Variant CallMethod(IDispatch* object, std::string_view name, std::vector<Variant> args) {
  return InvokeMember(object, GetDispId(object, name), DISPATCH_METHOD, std::move(args));
}

Variant GetProperty(IDispatch* object, std::string_view name, std::vector<Variant> args) {
  return InvokeMember(object, GetDispId(object, name), DISPATCH_PROPERTYGET, std::move(args));
}

void PutProperty(IDispatch* object, std::string_view name, Variant value, std::vector<Variant> args) {
  args.push_back(std::move(value));
  InvokeMember(object, GetDispId(object, name), DISPATCH_PROPERTYPUT, std::move(args));
}

}  // namespace automation
