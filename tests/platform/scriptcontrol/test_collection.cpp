#include "test_collection.h"

#include <algorithm>

#include "platform/automation/automation_error.h"
#include "platform/automation/dispatch_call.h"
#include "platform/automation/variant_convert.h"

namespace scriptcontrol::testing {

using automation::DISPID_NEWENUM;
using automation::DISPID_VALUE;
using automation::Guid;
using automation::HRESULT;
using automation::MakeObject;
using automation::OptionalParam;
using automation::Param;
using automation::VarType;

const DispatchTable<TestCollection>& TestCollection::Table() {
  static const DispatchTable<TestCollection> table =
      DispatchTable<TestCollection>("ITestCollection", Guid{0x7E570001, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 1}})
          .Get("Count", 2, &TestCollection::Count)
          .Get("Item", DISPID_VALUE, &TestCollection::Item, {Param("Index")})
          .Get("_NewEnum", DISPID_NEWENUM, &TestCollection::NewEnum)
          .Method("Add", 3, &TestCollection::Add, {Param("Value")})
          .Method("Numbers", 4, &TestCollection::Numbers, {OptionalParam("LowerBound", VarType::Int32, 0)})
          .Method("Mixed", 5, &TestCollection::Mixed)
          .Method("Sum", 6, &TestCollection::Sum, {Param("Values")})
          .Method("Echo", 7, &TestCollection::Echo, {Param("Values")})
          .Get("Fetches", 8, &TestCollection::Fetches)
          .Method("CallBack", 9, &TestCollection::CallBack, {Param("Function"), Param("Arg")})
          .Method("CallMember", 10, &TestCollection::CallMember, {Param("Object"), Param("Name"), Param("Arg")});
  return table;
}

Variant TestCollection::Item(int32_t index) const {
  if (index < 0 || index >= Count()) automation::ThrowRangeError();
  return items_[static_cast<size_t>(index)];
}

Variant TestCollection::NewEnum() {
  return Variant::Unknown(MakeObject<LiveEnumerator>(ComPtr<TestCollection>(this), 0).Get());
}

VariantArray TestCollection::Numbers(int32_t lowerBound) {
  return VariantArray({Variant(10), Variant(20), Variant(30), Variant(40)}, lowerBound);
}

VariantArray TestCollection::Mixed() {
  return VariantArray({Variant("text"), Variant(2.5), Variant(static_cast<IDispatch*>(this)), Variant()});
}

int32_t TestCollection::Sum(const VariantArray& values) {
  int32_t sum = 0;
  for (const Variant& v : values.Items()) sum += automation::ToInt32(v);
  return sum;
}

Variant TestCollection::CallBack(const Variant& function, const Variant& arg) {
  return automation::InvokeMember(function.Dispatch(), DISPID_VALUE, automation::DISPATCH_METHOD, {arg});
}

Variant TestCollection::CallMember(const Variant& object, const std::string& name, const Variant& arg) {
  return automation::CallMethod(object.Dispatch(), name, {arg});
}

HRESULT LiveEnumerator::Next(uint32_t celt, Variant* items, uint32_t* fetched) {
  if (fetched) *fetched = 0;
  uint32_t got = 0;
  while (got < celt && position_ < collection_->Count()) {
    if (collection_->FailAfter() >= 0 && collection_->Fetches() >= collection_->FailAfter())
      return automation::ReportFailure(automation::E_FAIL, "The walk broke off");
    collection_->CountFetch();
    items[got++] = collection_->Item(position_++);
  }
  if (fetched) *fetched = got;
  return got == celt ? automation::S_OK : automation::S_FALSE;
}

HRESULT LiveEnumerator::Skip(uint32_t celt) {
  position_ += static_cast<int32_t>(celt);
  if (position_ < collection_->Count()) return automation::S_OK;
  position_ = std::max(collection_->Count() - 1, 0);
  return automation::S_FALSE;
}

HRESULT LiveEnumerator::Reset() {
  position_ = 0;
  return automation::S_OK;
}

HRESULT LiveEnumerator::Clone(automation::IEnumVARIANT** out) {
  *out = MakeObject<LiveEnumerator>(collection_, position_).Detach();
  return automation::S_OK;
}

const DispatchTable<MethodCollection>& MethodCollection::Table() {
  static const DispatchTable<MethodCollection> table =
      DispatchTable<MethodCollection>("IMethodCollection", Guid{0x7E570002, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 2}})
          .Method("_NewEnum", DISPID_NEWENUM, &MethodCollection::NewEnum);
  return table;
}

Variant MethodCollection::NewEnum() {
  auto walker = MakeObject<automation::VariantListEnumerator>(std::vector<Variant>{Variant("a"), Variant("b")});
  return Variant::Unknown(walker.Get());
}

const DispatchTable<FakeCollection>& FakeCollection::Table() {
  static const DispatchTable<FakeCollection> table =
      DispatchTable<FakeCollection>("IFakeCollection", Guid{0x7E570003, 0x0001, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 3}})
          .Get("_NewEnum", DISPID_NEWENUM, &FakeCollection::NewEnum);
  return table;
}

ComPtr<IDispatch> FakeCollection::NewEnum() { return MakeObject<FakeCollection>(); }

}  // namespace scriptcontrol::testing
