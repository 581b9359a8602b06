#include "untyped_object.h"

#include "platform/automation/error_info.h"
#include "platform/automation/variant_convert.h"
#include "platform/util/text.h"

namespace scriptcontrol::testing {

using automation::DispId;
using automation::HRESULT;
using automation::Variant;

namespace {

constexpr DispId kTwice = 1;
constexpr DispId kLabel = 2;

}  // namespace

HRESULT UntypedObject::GetTypeInfoCount(uint32_t* count) {
  if (!count) return automation::E_POINTER;
  *count = 0;
  return automation::S_OK;
}

HRESULT UntypedObject::GetTypeInfo(uint32_t, const automation::InterfaceInfo** info) {
  if (info) *info = nullptr;
  return automation::DISP_E_BADINDEX;
}

HRESULT UntypedObject::GetIDsOfNames(std::span<const std::string> names, std::span<DispId> ids) {
  if (names.size() != 1 || ids.size() < 1) return automation::DISP_E_UNKNOWNNAME;
  if (kiv::EqualsIgnoreCase(names[0], "Value")) ids[0] = automation::DISPID_VALUE;
  else if (kiv::EqualsIgnoreCase(names[0], "Twice")) ids[0] = kTwice;
  else if (kiv::EqualsIgnoreCase(names[0], "Label")) ids[0] = kLabel;
  else ids[0] = automation::DISPID_UNKNOWN;
  return ids[0] == automation::DISPID_UNKNOWN ? automation::DISP_E_UNKNOWNNAME : automation::S_OK;
}

HRESULT UntypedObject::Invoke(DispId id, uint16_t flags, automation::DispParams& params, Variant* result) {
  return automation::GuardCall("Untyped", [&] {
    const size_t n = params.args.size();
    Variant value;
    if (id == automation::DISPID_VALUE && (flags & (automation::DISPATCH_METHOD | automation::DISPATCH_PROPERTYGET)) &&
        n == 0) {
      value = Variant(value_);
    } else if (id == kTwice && (flags & automation::DISPATCH_METHOD)) {
      if (n != 1) throw automation::AutomationError(automation::DISP_E_BADPARAMCOUNT);
      value = Variant(automation::ToInt32(params.args[0].Deref()) * 2);
    } else if (id == kLabel && (flags & automation::DISPATCH_PROPERTYPUT) && n == 1) {
      label_ = automation::ToString(params.args[0].Deref());
    } else if (id == kLabel && (flags & automation::DISPATCH_PROPERTYGET) && n == 0) {
      value = Variant(label_);
    } else {
      throw automation::AutomationError(automation::DISP_E_MEMBERNOTFOUND);
    }
    if (result) *result = std::move(value);
  });
}

}  // namespace scriptcontrol::testing
