#include "by_ref_object.h"

#include "platform/automation/variant_convert.h"

namespace scriptcontrol::testing {

using automation::Guid;
using automation::OptionalParam;
using automation::Param;
using automation::RefParam;
using automation::Variant;
using automation::VarType;

const automation::DispatchTable<ByRefObject>& ByRefObject::Table() {
  static const automation::DispatchTable<ByRefObject> table =
      automation::DispatchTable<ByRefObject>("IByRef", Guid{0x7E570004, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 4}})
          .Method("ConnectObject", 12, &ByRefObject::ConnectObject, {RefParam("Obj"), Param("EventPrefix")})
          .Method("Bump", 13, &ByRefObject::Bump, {RefParam("Value")})
          .Method("Twice", 14, &ByRefObject::Twice, {RefParam("Value", VarType::Int32)})
          .Method("Given", 15, &ByRefObject::Given, {OptionalParam("Value", VarType::Variant)});
  return table;
}

automation::HRESULT ByRefObject::Invoke(automation::DispId id, uint16_t flags, automation::DispParams& params,
                                        Variant* result) {
  lastByRef_.clear();
  for (size_t i = params.args.size(); i-- > 0;) lastByRef_.push_back(params.args[i].IsByRef());
  return DispatchObject<ByRefObject>::Invoke(id, flags, params, result);
}

std::string ByRefObject::ConnectObject(Variant& obj, const std::string& prefix) {
  std::string seen = obj.IsNull()      ? "Null"
                     : obj.IsNothing() ? "Nothing"
                     : obj.IsObject()  ? "object"
                                       : automation::ToString(obj);
  obj = Variant::Nothing();
  return seen + "|" + prefix;
}

int32_t ByRefObject::Bump(Variant& value) {
  value = Variant(automation::ToInt32(value) + 1);
  return automation::ToInt32(value);
}

}  // namespace scriptcontrol::testing
