// A small dispatch class for the tests of the automation layer and the
// script control: every kind of member the table machinery offers.
#pragma once

#include <string>
#include <vector>

#include "platform/automation/dispatch_object.h"

namespace automation::testing {

inline constexpr Guid kIidSample{0x5A3E1C01, 0x1111, 0x4222, {0x83, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};

class SampleObject : public DispatchObject<SampleObject> {
 public:
  static const DispatchTable<SampleObject>& Table();

  // Tests switch this off to see the unbound rule.
  bool bound = true;
  bool IsBound() const { return bound; }

  int32_t Add(int32_t a, int32_t b) { return a + b; }
  std::string Greet(const std::string& name, const std::string& greeting) { return greeting + ", " + name; }
  std::string GetName() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  int32_t GetCount() const { return count_; }
  void SetCount(int32_t count) { count_ = count; }
  uint8_t GetAlpha() const { return alpha_; }
  void SetAlpha(uint8_t alpha) { alpha_ = alpha; }
  // Default member: Item(i) gives the i-th word, Item(i) = text sets it.
  std::string GetItem(int32_t index) const;
  void SetItem(int32_t index, const std::string& text);
  void Double(Variant& value);
  void Fail(const std::string& message);
  Variant Echo(const Variant& value) { return value; }
  ComPtr<IDispatch> Child();
  Variant Optional(const Variant& value) { return Variant(value.IsMissing()); }
  void Later(int32_t) {}

 private:
  std::string name_ = "sample";
  int32_t count_ = 0;
  uint8_t alpha_ = 255;
  std::vector<std::string> words_{"zero", "one", "two"};
};

}  // namespace automation::testing
