#include "platform/scriptcontrol/jscript/js_enumerator.h"

#include "engine_fixture.h"

namespace scriptcontrol::testing {
namespace {

using automation::MakeObject;
using automation::Variant;

class EnumeratorTest : public EngineFixture {};

constexpr const char* kWalk =
    "function walk(c) { var s = []; for (var e = new Enumerator(c); !e.atEnd(); e.moveNext()) s.push(e.item());"
    " return s.join(','); }";

TEST_F(EnumeratorTest, ForLoopVisitsEveryElementOnceInOrder) {
  engine->AddCode(kWalk);
  EXPECT_EQ(Text("walk(items)"), "a,b,c");
  EXPECT_EQ(items->Fetches(), 3);  // one fetch per element, none twice
  EXPECT_EQ(Text("walk(items)"), "a,b,c");
}

TEST_F(EnumeratorTest, EmptyCollectionIsAtEndFromTheStart) {
  engine->ExecuteStatement("var e = new Enumerator(empty);");
  EXPECT_EQ(engine->Eval("e.atEnd()"), Variant(true));
  EXPECT_EQ(engine->Eval("typeof e.item()"), Variant("undefined"));
  engine->ExecuteStatement("e.moveNext(); e.moveFirst();");
  EXPECT_EQ(engine->Eval("e.atEnd()"), Variant(true));
}

TEST_F(EnumeratorTest, ItemAtTheEndIsUndefinedAndMoveNextStaysThere) {
  engine->ExecuteStatement("var e = new Enumerator(items); e.moveNext(); e.moveNext();");
  EXPECT_EQ(Text("e.item()"), "c");
  EXPECT_EQ(engine->Eval("e.item() === e.item()"), Variant(true));
  engine->ExecuteStatement("e.moveNext();");
  EXPECT_EQ(engine->Eval("e.atEnd()"), Variant(true));
  EXPECT_EQ(engine->Eval("e.item() === undefined"), Variant(true));
  engine->ExecuteStatement("e.moveNext(); e.moveNext();");
  EXPECT_EQ(engine->Eval("e.atEnd() && e.item() === undefined"), Variant(true));
}

TEST_F(EnumeratorTest, MoveFirstStartsOver) {
  engine->ExecuteStatement("var e = new Enumerator(items); while (!e.atEnd()) e.moveNext(); e.moveFirst();");
  EXPECT_EQ(engine->Eval("e.atEnd()"), Variant(false));
  EXPECT_EQ(Text("e.item()"), "a");
  EXPECT_EQ(Text("var s = ''; for (; !e.atEnd(); e.moveNext()) s += e.item(); s"), "abc");
  // From the middle too.
  EXPECT_EQ(Text("e.moveFirst(); e.moveNext(); e.moveFirst(); e.item()"), "a");
}

TEST_F(EnumeratorTest, WithoutACollectionItIsAtItsEnd) {
  EXPECT_EQ(engine->Eval("var e = new Enumerator(); e.atEnd()"), Variant(true));
  EXPECT_EQ(engine->Eval("e.item() === undefined"), Variant(true));
  engine->ExecuteStatement("e.moveNext(); e.moveFirst();");
  EXPECT_EQ(engine->Eval("new Enumerator(null).atEnd() && new Enumerator(undefined).atEnd()"), Variant(true));
  EXPECT_EQ(engine->Eval("e instanceof Enumerator"), Variant(true));
}

TEST_F(EnumeratorTest, WalksAScriptArrayAsItIsNow) {
  engine->AddCode(kWalk);
  EXPECT_EQ(Text("walk([1, 'two', 3.5])"), "1,two,3.5");
  EXPECT_EQ(engine->Eval("new Enumerator([]).atEnd()"), Variant(true));
  // Elements stay the script's own values.
  EXPECT_EQ(engine->Eval("var o = {k: 1}; new Enumerator([o]).item() === o"), Variant(true));
  // Elements added during the walk are seen.
  EXPECT_EQ(Text("var a = [1, 2], s = ''; for (var e = new Enumerator(a); !e.atEnd(); e.moveNext()) {"
                 " if (a.length < 4) a.push(a.length + 1); s += e.item(); } s"),
            "1234");
  EXPECT_EQ(Text("var e = new Enumerator(['x', 'y']); e.moveNext(); e.moveNext(); e.moveFirst(); e.item()"), "x");
}

TEST_F(EnumeratorTest, SeesElementsAddedDuringTheWalk) {
  EXPECT_EQ(Text("var s = ''; for (var e = new Enumerator(items); !e.atEnd(); e.moveNext()) {"
                 " if (s == '') items.Add('d'); s += e.item(); } s"),
            "abcd");
}

TEST_F(EnumeratorTest, NewEnumAsAMethod) {
  engine->AddObject("listed", MakeObject<MethodCollection>().Get(), false);
  engine->AddCode(kWalk);
  EXPECT_EQ(Text("walk(listed)"), "a,b");
}

TEST_F(EnumeratorTest, ElementObjectsArriveAsObjects) {
  items->Add(Variant(static_cast<automation::IDispatch*>(sample.Get())));
  EXPECT_EQ(engine->Eval("var e = new Enumerator(items); e.moveNext(); e.moveNext(); e.moveNext(); e.item().Add(2, 3)"),
            Variant(5));
}

TEST_F(EnumeratorTest, CallableWithoutNew) {
  EXPECT_EQ(Text("Enumerator(items).item()"), "a");
  EXPECT_EQ(engine->Eval("Enumerator(items) instanceof Enumerator"), Variant(true));
}

TEST_F(EnumeratorTest, ValuesWithoutAnEnumeratorFail) {
  engine->AddObject("fake", MakeObject<FakeCollection>().Get(), false);
  for (const char* value : {"kiv", "fake", "{}", "5", "'abc'", "(function () {})", "items.Numbers()", "kiv.Add"}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(Text(std::string("try { new Enumerator(") + value +
                   "); 'none' } catch (e) { [e instanceof TypeError, e.number, e.description, e.message].join('|') }"),
              "true|-2146827850|Object doesn't support this property or method|"
              "Object doesn't support this property or method");
  }
  ScriptError e = ErrorOf("\nnew Enumerator(kiv);");
  EXPECT_EQ(e.number, kTypeErrorNumber);
  EXPECT_EQ(e.description, "Object doesn't support this property or method");
  EXPECT_EQ(e.line, 2);
}

TEST_F(EnumeratorTest, MembersOnOtherObjectsFail) {
  for (const char* member : {"atEnd", "item", "moveNext", "moveFirst"}) {
    SCOPED_TRACE(member);
    EXPECT_EQ(Text(std::string("try { Enumerator.prototype.") + member +
                   ".call({}); 'none' } catch (e) { [e instanceof TypeError, e.number, e.description].join('|') }"),
              "true|-2146823273|Enumerator object expected");
  }
  EXPECT_EQ(Text("try { Enumerator.prototype.item.call(5); 'none' } catch (e) { e.description }"),
            "Enumerator object expected");
}

TEST_F(EnumeratorTest, AFailingWalkIsAScriptError) {
  items->SetFailAfter(1);
  EXPECT_EQ(Text("var e = new Enumerator(items); e.item()"), "a");
  EXPECT_EQ(Text("try { e.moveNext(); 'none' } catch (x) { x.number + '|' + x.description }"),
            std::to_string(automation::E_FAIL) + "|The walk broke off");
  EXPECT_EQ(Text("try { new Enumerator(items); 'none' } catch (x) { x.description }"), "The walk broke off");
}

TEST_F(EnumeratorTest, KeepsItsWalkerAndTheCollectionAlive) {
  size_t withFixture = automation::LiveObjectCount();
  {
    auto temp = MakeObject<TestCollection>(std::vector<Variant>{Variant("x"), Variant("y")});
    engine->AddObject("temp", temp.Get(), false);
  }
  engine->ExecuteStatement("var e = new Enumerator(temp); temp = null;");
  EXPECT_EQ(automation::LiveObjectCount(), withFixture + 2);  // the collection and its walker
  EXPECT_EQ(Text("var s = ''; for (; !e.atEnd(); e.moveNext()) s += e.item(); s"), "xy");
  engine->ExecuteStatement("e = null; CollectGarbage();");
  EXPECT_EQ(automation::LiveObjectCount(), withFixture);
}

TEST_F(EnumeratorTest, AnObjectInheritingFromAnEnumeratorLeavesItsWalkerAlone) {
  size_t withFixture = automation::LiveObjectCount();
  engine->ExecuteStatement("var e = new Enumerator(items); var x = Object.create(e);");
  EXPECT_EQ(Text("try { x.moveNext(); 'none' } catch (err) { err.description }"), "Enumerator object expected");
  EXPECT_EQ(Text("try { new Proxy(e, {}).item(); 'none' } catch (err) { err.description }"),
            "Enumerator object expected");
  engine->ExecuteStatement("x = null; CollectGarbage();");
  EXPECT_EQ(automation::LiveObjectCount(), withFixture + 1);
  EXPECT_EQ(Text("e.moveNext(); e.item()"), "b");
  engine->ExecuteStatement("e = null; CollectGarbage();");
  EXPECT_EQ(automation::LiveObjectCount(), withFixture);
}

TEST_F(EnumeratorTest, EnumeratorsLeftAtTheEndAreReleasedWithTheEngine) {
  engine->ExecuteStatement("var kept = [new Enumerator(items), new Enumerator(items)]; kept.push(kept);");
  // TearDown checks that nothing is left.
}

TEST_F(EnumeratorTest, TimeoutReachesEnumeratorLoops) {
  engine->SetTimeout(50);
  ScriptError e = ErrorOf("while (true) { new Enumerator([1]).atEnd(); }");
  EXPECT_EQ(e.number, kTimeoutErrorNumber);
}

}  // namespace
}  // namespace scriptcontrol::testing
