// A dispatch object that gives no type information, as a foreign object
// may: it knows its names only through GetIDsOfNames. "Value" (the default
// member) reads its number, "Twice" doubles an argument and "Label" is a
// property; the bridge has to find out from Invoke's answers which is a
// value and which wants to be called.
#pragma once

#include <string>

#include "platform/automation/com_object.h"
#include "platform/automation/dispatch.h"

namespace scriptcontrol::testing {

class UntypedObject : public automation::ComObject<automation::IDispatch> {
 public:
  explicit UntypedObject(int32_t value) : value_(value) {}

  automation::HRESULT GetTypeInfoCount(uint32_t* count) override;
  automation::HRESULT GetTypeInfo(uint32_t index, const automation::InterfaceInfo** info) override;
  automation::HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<automation::DispId> ids) override;
  automation::HRESULT Invoke(automation::DispId id, uint16_t flags, automation::DispParams& params,
                             automation::Variant* result) override;

 private:
  int32_t value_;
  std::string label_ = "untyped";
};

}  // namespace scriptcontrol::testing
