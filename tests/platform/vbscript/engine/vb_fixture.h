// A VBScript engine with the test objects added: `items` (a collection of
// "a", "b", "c"), `byref` and `kiv` (the sample object). Every object made
// during a test must be gone once the engine is.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "by_ref_object.h"
#include "platform/automation/com_object.h"
#include "platform/automation/sample_object.h"
#include "platform/automation/variant_convert.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/scriptcontrol/vbscript/vbscript_engine.h"
#include "test_collection.h"

namespace automation {
// Failures show the value and its type, not the variant's bytes.
inline void PrintTo(const Variant& v, std::ostream* os) {
  *os << TypeName(v.Type()) << " ";
  try {
    *os << '"' << ToString(v) << '"';
  } catch (const std::exception& e) {
    *os << "(" << e.what() << ")";
  }
}
}  // namespace automation

namespace scriptcontrol::testing {

class VbFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    before = automation::LiveObjectCount();
    items = automation::MakeObject<TestCollection>(
        std::vector<automation::Variant>{automation::Variant("a"), automation::Variant("b"), automation::Variant("c")});
    byRef = automation::MakeObject<ByRefObject>();
    sample = automation::MakeObject<automation::testing::SampleObject>();
    engine = std::make_unique<vbscript::VBScriptEngine>();
    engine->AddObject("items", items.Get(), false);
    engine->AddObject("byref", byRef.Get(), false);
    engine->AddObject("kiv", sample.Get(), false);
  }
  void TearDown() override {
    engine.reset();
    items = nullptr;
    byRef = nullptr;
    sample = nullptr;
    EXPECT_EQ(automation::LiveObjectCount(), before) << "objects left alive";
  }

  automation::Variant Eval(const std::string& expression) { return engine->Eval(expression); }
  std::string Text(const std::string& expression) { return automation::ToString(engine->Eval(expression)); }
  void Run(const std::string& code) { engine->AddCode(code); }
  // The error a failing call reports.
  ScriptError Failure(const std::string& code) {
    try {
      engine->AddCode(code);
    } catch (const ScriptFailure& f) {
      return f.Error();
    }
    ADD_FAILURE() << "no failure from: " << code;
    return {};
  }

  size_t before = 0;
  automation::ComPtr<TestCollection> items;
  automation::ComPtr<ByRefObject> byRef;
  automation::ComPtr<automation::testing::SampleObject> sample;
  std::unique_ptr<vbscript::VBScriptEngine> engine;
};

}  // namespace scriptcontrol::testing
