// Calls a built-in function by name as the interpreter will: arguments in
// natural order, checked against the table's counts.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/scriptcontrol/vbscript/vb_builtins.h"

namespace scriptcontrol::vbscript::testing {

class BuiltinCaller {
 public:
  BuiltinContext context;

  template <class... Args>
  automation::Variant operator()(std::string_view name, Args&&... args) {
    std::vector<automation::Variant> list{automation::Variant(std::forward<Args>(args))...};
    return CallWith(name, list);
  }

  automation::Variant CallWith(std::string_view name, std::vector<automation::Variant>& list) {
    const Builtin* b = FindBuiltin(name);
    if (!b) {
      ADD_FAILURE() << "no built-in " << name;
      return {};
    }
    EXPECT_GE(static_cast<int>(list.size()), b->minArgs) << name;
    EXPECT_LE(static_cast<int>(list.size()), b->maxArgs) << name;
    BuiltinCall call{list, context};
    return b->function(call);
  }
};

}  // namespace scriptcontrol::vbscript::testing
