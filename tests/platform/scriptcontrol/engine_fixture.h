// A JScript engine with the test objects added, for the tests of the
// built-ins and of calls: `items` (a collection of "a", "b", "c"),
// `empty` (a collection of none), `byref` and `kiv` (the sample object).
// Every object made during a test must be gone once the engine is.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "by_ref_object.h"
#include "platform/automation/com_object.h"
#include "platform/automation/sample_object.h"
#include "platform/automation/variant_convert.h"
#include "platform/scriptcontrol/jscript/jscript_engine.h"
#include "platform/scriptcontrol/jscript/jscript_errors.h"
#include "test_collection.h"

namespace scriptcontrol::testing {

class EngineFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    before = automation::LiveObjectCount();
    items = automation::MakeObject<TestCollection>(
        std::vector<automation::Variant>{automation::Variant("a"), automation::Variant("b"), automation::Variant("c")});
    empty = automation::MakeObject<TestCollection>();
    byRef = automation::MakeObject<ByRefObject>();
    sample = automation::MakeObject<automation::testing::SampleObject>();
    engine = std::make_unique<jscript::JScriptEngine>();
    engine->AddObject("items", items.Get(), false);
    engine->AddObject("empty", empty.Get(), false);
    engine->AddObject("byref", byRef.Get(), false);
    engine->AddObject("kiv", sample.Get(), false);
  }
  void TearDown() override {
    engine.reset();
    items = nullptr;
    empty = nullptr;
    byRef = nullptr;
    sample = nullptr;
    EXPECT_EQ(automation::LiveObjectCount(), before) << "objects leaked";
  }

  // The expression's value as text.
  std::string Text(const std::string& expression) { return automation::ToString(engine->Eval(expression)); }

  // The failure of a statement that must fail.
  ScriptError ErrorOf(const std::string& statement) {
    try {
      engine->ExecuteStatement(statement);
    } catch (const ScriptFailure& f) {
      return f.Error();
    }
    ADD_FAILURE() << "no failure: " << statement;
    return ScriptError();
  }

  size_t before = 0;
  ComPtr<TestCollection> items;
  ComPtr<TestCollection> empty;
  ComPtr<ByRefObject> byRef;
  ComPtr<automation::testing::SampleObject> sample;
  std::unique_ptr<jscript::JScriptEngine> engine;
};

}  // namespace scriptcontrol::testing
