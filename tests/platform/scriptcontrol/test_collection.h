// Dispatch classes for the tests of the JScript built-ins: a collection
// whose _NewEnum is a property and hands out a live enumerator (it reads
// the collection afresh at every step and keeps it alive), one whose
// _NewEnum is a method, one whose _NewEnum gives something that is no
// enumerator, and members that return and take variant arrays.
#pragma once

#include <string>
#include <vector>

#include "platform/automation/dispatch_object.h"
#include "platform/automation/enum_variant.h"

namespace scriptcontrol::testing {

using automation::ComPtr;
using automation::DispatchObject;
using automation::DispatchTable;
using automation::IDispatch;
using automation::Variant;
using automation::VariantArray;

class TestCollection : public DispatchObject<TestCollection> {
 public:
  static const DispatchTable<TestCollection>& Table();

  explicit TestCollection(std::vector<Variant> items = {}) : items_(std::move(items)) {}

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  Variant Item(int32_t index) const;
  Variant NewEnum();
  void Add(const Variant& value) { items_.push_back(value); }
  // The enumerators' Next fails once this many elements have been fetched
  // through them; -1 never.
  void SetFailAfter(int32_t fetches) { failAfter_ = fetches; }
  int32_t FailAfter() const { return failAfter_; }
  void CountFetch() { ++fetches_; }
  int32_t Fetches() const { return fetches_; }

  // Four integers 10, 20, 30, 40 with the given lower bound.
  VariantArray Numbers(int32_t lowerBound);
  // One of each kind of element: text, number, object, empty.
  VariantArray Mixed();
  int32_t Sum(const VariantArray& values);
  // The array as it arrived, for the tests to look at.
  VariantArray Echo(const VariantArray& values) { return values; }
  // Calls back into the script while the script's call is running: the
  // function itself, or the named method of an object.
  Variant CallBack(const Variant& function, const Variant& arg);
  Variant CallMember(const Variant& object, const std::string& name, const Variant& arg);

 private:
  std::vector<Variant> items_;
  int32_t failAfter_ = -1;
  int32_t fetches_ = 0;
};

// Walks a TestCollection by position, reading its count at every step.
class LiveEnumerator : public automation::ComObject<automation::IEnumVARIANT> {
 public:
  LiveEnumerator(ComPtr<TestCollection> collection, int32_t position)
      : collection_(std::move(collection)), position_(position) {}

  automation::HRESULT Next(uint32_t celt, Variant* items, uint32_t* fetched) override;
  automation::HRESULT Skip(uint32_t celt) override;
  automation::HRESULT Reset() override;
  automation::HRESULT Clone(automation::IEnumVARIANT** out) override;

 private:
  ComPtr<TestCollection> collection_;
  int32_t position_;
};

// _NewEnum as a method, handing out a walker over a fixed list.
class MethodCollection : public DispatchObject<MethodCollection> {
 public:
  static const DispatchTable<MethodCollection>& Table();
  Variant NewEnum();
};

// _NewEnum gives a dispatch object that is no enumerator.
class FakeCollection : public DispatchObject<FakeCollection> {
 public:
  static const DispatchTable<FakeCollection>& Table();
  ComPtr<IDispatch> NewEnum();
};

}  // namespace scriptcontrol::testing
