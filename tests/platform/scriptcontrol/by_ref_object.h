// A dispatch class with by-reference parameters for the tests of calls
// from JScript. It keeps what its last call received as it arrived at
// Invoke (whether each argument was a reference), which the member code
// itself cannot see, since the table hands it the referred-to variant.
#pragma once

#include <string>
#include <vector>

#include "platform/automation/dispatch_object.h"

namespace scriptcontrol::testing {

class ByRefObject : public automation::DispatchObject<ByRefObject> {
 public:
  static const automation::DispatchTable<ByRefObject>& Table();

  automation::HRESULT Invoke(automation::DispId id, uint16_t flags, automation::DispParams& params,
                             automation::Variant* result) override;

  // As IVorelMain.ConnectObject has it: the object by reference, then the
  // prefix. Tells what it read, and writes Nothing back.
  std::string ConnectObject(automation::Variant& obj, const std::string& prefix);
  // Adds one to the variable and gives the new value.
  int32_t Bump(automation::Variant& value);
  // A by-reference parameter whose code takes the value converted.
  int32_t Twice(int32_t value) { return value * 2; }
  // By reference and optional: the member sees whether it came.
  bool Given(automation::Variant& value) { return !value.IsMissing(); }

  // For each argument of the latest call, in the script's order: whether
  // it arrived as a reference.
  const std::vector<bool>& LastByRef() const { return lastByRef_; }

 private:
  std::vector<bool> lastByRef_;
};

}  // namespace scriptcontrol::testing
