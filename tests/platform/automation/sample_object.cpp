#include "platform/automation/sample_object.h"

#include "platform/automation/automation_error.h"
#include "platform/automation/checked_math.h"

namespace automation::testing {

const DispatchTable<SampleObject>& SampleObject::Table() {
  static const DispatchTable<SampleObject> table =
      DispatchTable<SampleObject>("ISample", kIidSample, "Dispatch interface for Sample Object")
          .Method("Add", 1, &SampleObject::Add, {Param("a"), OptionalParam("b", VarType::Int32, 10)})
          .Method("Greet", 2, &SampleObject::Greet,
                  {Param("name"), OptionalParam("greeting", VarType::String, "Hello")})
          .Property("Name", 3, &SampleObject::GetName, &SampleObject::SetName)
          .Property("Count", 4, &SampleObject::GetCount, &SampleObject::SetCount)
          .Property("Alpha", 5, &SampleObject::GetAlpha, &SampleObject::SetAlpha)
          .Property("Item", DISPID_VALUE, &SampleObject::GetItem, &SampleObject::SetItem, {Param("index")})
          .Method("Double", 6, &SampleObject::Double, {Param("value")})
          .Method("Fail", 7, &SampleObject::Fail, {Param("message")})
          .Method("Echo", 8, &SampleObject::Echo, {Param("value")})
          .Method("Child", 9, &SampleObject::Child)
          .Method("Optional", 10, &SampleObject::Optional, {OptionalParam("value", VarType::Variant)});
  return table;
}

std::string SampleObject::GetItem(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= words_.size()) ThrowRangeError();
  return words_[static_cast<size_t>(index)];
}

void SampleObject::SetItem(int32_t index, const std::string& text) {
  if (index < 0 || static_cast<size_t>(index) >= words_.size()) ThrowRangeError();
  words_[static_cast<size_t>(index)] = text;
}

void SampleObject::Double(Variant& value) { value = Variant(CheckedMul(ToInt32(value), 2)); }

void SampleObject::Fail(const std::string& message) { throw AutomationError(E_FAIL, message); }

ComPtr<IDispatch> SampleObject::Child() { return MakeObject<SampleObject>(); }

}  // namespace automation::testing
