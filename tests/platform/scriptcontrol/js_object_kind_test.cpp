// What kind of value an automation object is in JScript: a function only
// when its interface has a default member, so that scripts can tell
// objects with typeof and call collections as Layers("x").
#include "engine_fixture.h"
#include "platform/scriptcontrol/script_error.h"
#include "untyped_object.h"

namespace scriptcontrol::testing {
namespace {

using automation::Variant;

class JsObjectKindTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    untyped = automation::MakeObject<UntypedObject>(21);
    engine->AddObject("untyped", untyped.Get(), false);
    // An object without a default member, reached through a collection.
    items->Add(Variant(static_cast<automation::IDispatch*>(byRef.Get())));
  }
  void TearDown() override {
    untyped = nullptr;
    EngineFixture::TearDown();
  }

  ComPtr<UntypedObject> untyped;
};

TEST_F(JsObjectKindTest, AnObjectWithoutADefaultMemberIsAnObject) {
  EXPECT_EQ(engine->Eval("typeof byref"), Variant("object"));
  EXPECT_EQ(engine->Eval("typeof items(3)"), Variant("object"));
  EXPECT_EQ(engine->Eval("typeof items.Item(3) == 'object'"), Variant(true));
  EXPECT_EQ(engine->Eval("byref instanceof Function"), Variant(false));
  // Everything else about it stays as it was.
  EXPECT_EQ(engine->Eval("items(3).Bump(1)"), Variant(2));
  EXPECT_EQ(engine->Eval("'bump' in byref"), Variant(true));
  EXPECT_EQ(engine->Eval("items.Sum([items(3).Twice(2)])"), Variant(4));
}

TEST_F(JsObjectKindTest, AnObjectWithADefaultMemberStaysCallable) {
  EXPECT_EQ(engine->Eval("typeof items"), Variant("function"));
  EXPECT_EQ(engine->Eval("typeof kiv"), Variant("function"));
  EXPECT_EQ(engine->Eval("items(0)"), Variant("a"));
  EXPECT_EQ(engine->Eval("items('2')"), Variant("c"));
  EXPECT_EQ(engine->Eval("kiv(1)"), Variant("one"));
  EXPECT_EQ(engine->Eval("typeof kiv.Child()"), Variant("function"));
}

TEST_F(JsObjectKindTest, CallingAnObjectThatIsNoFunctionIsAScriptError) {
  ScriptError e = ErrorOf("byref(1)");
  EXPECT_EQ(e.number, kTypeErrorNumber);
  EXPECT_EQ(engine->Eval("try { items(3)(); 'none' } catch (e) { e instanceof TypeError }"), Variant(true));
  EXPECT_EQ(engine->Eval("try { new byref(); 'none' } catch (e) { e instanceof TypeError }"), Variant(true));
  EXPECT_EQ(engine->Eval("try { byref.call(null); 'none' } catch (e) { e instanceof TypeError }"), Variant(true));
  // The engine goes on as before.
  EXPECT_EQ(engine->Eval("byref.Bump(41)"), Variant(42));
}

TEST_F(JsObjectKindTest, WithoutTypeInformationTheObjectStaysCallable) {
  // Nothing tells whether it has a default member, so a call may try.
  EXPECT_EQ(engine->Eval("typeof untyped"), Variant("function"));
  EXPECT_EQ(engine->Eval("untyped()"), Variant(21));
  EXPECT_EQ(engine->Eval("untyped.value"), Variant(21));
  EXPECT_EQ(engine->Eval("untyped.TWICE(4)"), Variant(8));
  EXPECT_EQ(engine->Eval("var t = untyped.twice; t(5)"), Variant(10));
  engine->ExecuteStatement("untyped.label = 'set'");
  EXPECT_EQ(engine->Eval("untyped.Label"), Variant("set"));
  EXPECT_EQ(engine->Eval("try { untyped(1); 'none' } catch (e) { e.number }"),
            Variant(static_cast<int32_t>(automation::DISP_E_MEMBERNOTFOUND)));
  EXPECT_EQ(engine->Eval("typeof untyped.nothing"), Variant("undefined"));
}

}  // namespace
}  // namespace scriptcontrol::testing
