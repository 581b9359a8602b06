// Two small dispatch classes for the value tests: one with a default
// property (DISPID_VALUE) declared as a dual class pair, one without a
// default member under a plain interface name.
#pragma once

#include "platform/automation/dispatch_object.h"

namespace scriptcontrol::vbscript::testing {

class LabelObject : public automation::DispatchObject<LabelObject> {
 public:
  static const automation::DispatchTable<LabelObject>& Table();
  automation::Variant GetValue() const;
  void SetValue(const automation::Variant& v) { value = v; }
  automation::Variant value;
  // When set, reading the value fails with this code and "broken".
  automation::HRESULT failWith = 0;
};

class PlainObject : public automation::DispatchObject<PlainObject> {
 public:
  static const automation::DispatchTable<PlainObject>& Table();
  int32_t GetSize() const { return 3; }
};

}  // namespace scriptcontrol::vbscript::testing
