#include "platform/vbscript/values/value_objects.h"

#include "platform/automation/automation_error.h"

namespace scriptcontrol::vbscript::testing {

namespace {
constexpr automation::Guid kIidLabel{0x7D1A0001, 0x2222, 0x4333, {0x84, 0x44, 0x55, 0x55, 0x66, 0x66, 0x77, 0x77}};
constexpr automation::Guid kIidPlain{0x7D1A0002, 0x2222, 0x4333, {0x84, 0x44, 0x55, 0x55, 0x66, 0x66, 0x77, 0x77}};
}  // namespace

const automation::DispatchTable<LabelObject>& LabelObject::Table() {
  static const automation::DispatchTable<LabelObject> table =
      automation::DispatchTable<LabelObject>("ILabel", kIidLabel, "Dispatch interface for Label Object")
          .Property("Value", automation::DISPID_VALUE, &LabelObject::GetValue, &LabelObject::SetValue);
  return table;
}

automation::Variant LabelObject::GetValue() const {
  if (failWith) throw automation::AutomationError(failWith, "broken");
  return value;
}

const automation::DispatchTable<PlainObject>& PlainObject::Table() {
  static const automation::DispatchTable<PlainObject> table =
      automation::DispatchTable<PlainObject>("Widget", kIidPlain).Get("Size", 1, &PlainObject::GetSize);
  return table;
}

}  // namespace scriptcontrol::vbscript::testing
