// Methods read from objects of one interface are one function per member,
// which calls the member on the object it is called on; names, puts and
// failures behave as they do through the name lookup.
#include "engine_fixture.h"
#include "platform/automation/dispatch_table.h"
#include "platform/scriptcontrol/script_error.h"

namespace scriptcontrol::testing {
namespace {

using automation::Variant;

class JsSharedMemberTest : public EngineFixture {};

TEST_F(JsSharedMemberTest, OneFunctionPerInterfaceAndMember) {
  EXPECT_EQ(engine->Eval("kiv.Add === kiv.add"), Variant(true));
  EXPECT_EQ(engine->Eval("var c = kiv.Child(); c.Add === kiv.ADD"), Variant(true));
  EXPECT_EQ(engine->Eval("kiv.Add === kiv.Greet"), Variant(false));
  EXPECT_EQ(engine->Eval("kiv.aDd(2, 3) + kiv.add(2, 3) + kiv.Add(2, 3)"), Variant(15));
  // Each call reaches the object it is called on.
  engine->ExecuteStatement("c.Name = 'child'");
  EXPECT_EQ(engine->Eval("c.Greet('x', 'Hi') + '|' + kiv.Greet('y', 'Yo') + '|' + c.Name + '|' + kiv.Name"),
            Variant("Hi, x|Yo, y|child|sample"));
}

TEST_F(JsSharedMemberTest, ADetachedMethodFailsCleanly) {
  ScriptError e = ErrorOf("var f = kiv.Add; f(1, 2)");
  EXPECT_EQ(e.number, jscript::kObjectExpectedNumber);
  EXPECT_EQ(e.description, "Object expected");
  EXPECT_EQ(engine->Eval("try { f(1, 2); 'none' } catch (e) { e instanceof TypeError }"), Variant(true));
  EXPECT_EQ(engine->Eval("f.call(kiv, 1, 2)"), Variant(3));
  // Never on an object of another interface, nor on a plain one.
  EXPECT_EQ(engine->Eval("try { f.call(items, 1, 2); 'none' } catch (e) { e.description }"), Variant("Object expected"));
  EXPECT_EQ(engine->Eval("try { f.call({}, 1, 2); 'none' } catch (e) { e.description }"), Variant("Object expected"));
  EXPECT_EQ(engine->Eval("try { f.apply(kiv.Add, [1, 2]); 'none' } catch (e) { e.description }"),
            Variant("Object expected"));
  EXPECT_EQ(engine->Eval("kiv.Add(1, 2)"), Variant(3));
}

TEST_F(JsSharedMemberTest, AMethodKeptAfterItsObjectIsGone) {
  const size_t alive = automation::LiveObjectCount();
  engine->ExecuteStatement("var child = kiv.Child(); var g = child.Add; var h = child.Item;");
  EXPECT_EQ(automation::LiveObjectCount(), alive + 1);
  engine->ExecuteStatement("child = null; CollectGarbage();");
  EXPECT_EQ(automation::LiveObjectCount(), alive) << "the function must not keep the object";
  EXPECT_EQ(engine->Eval("try { g(1, 2); 'none' } catch (e) { e.description }"), Variant("Object expected"));
  EXPECT_EQ(engine->Eval("try { h(0); 'none' } catch (e) { e.description }"), Variant("Object expected"));
  EXPECT_EQ(engine->Eval("g.call(kiv, 4, 5)"), Variant(9));
  EXPECT_EQ(engine->Eval("h.call(kiv, 1)"), Variant("one"));
}

TEST_F(JsSharedMemberTest, OnlyTheObjectAMethodWasReadFromGetsThatShortcut) {
  const size_t alive = automation::LiveObjectCount();
  // Within one statement: the child a method was read from last is let go,
  // and nothing else called with that method reaches it.
  EXPECT_EQ(Text("var c = kiv.Child(); var g = c.Add; c = null; CollectGarbage();"
                 " var r = []; try { g.call({}, 1, 2); } catch (e) { r.push(e.description); }"
                 " r.push(g.call(kiv, 1, 2)); try { g(1, 2); } catch (e) { r.push(e.description); }"
                 " c = kiv.Child(); c.Name = 'second'; r.push(kiv.Name, c.Name, kiv.Add.call(c, 2, 2)); r.join('|')"),
            "Object expected|3|Object expected|sample|second|4");
  engine->ExecuteStatement("c = g = null; CollectGarbage();");
  EXPECT_EQ(automation::LiveObjectCount(), alive);
}

TEST_F(JsSharedMemberTest, FailuresKeepTheirCodeAndDescription) {
  for (int round = 0; round < 2; ++round) {  // the second time from the cache
    ScriptError e = ErrorOf("kiv.Fail('broke " + std::to_string(round) + "')");
    EXPECT_EQ(e.number, automation::E_FAIL);
    EXPECT_EQ(e.description, "broke " + std::to_string(round));
    EXPECT_EQ(Text("try { kiv.Alpha = 300; 'none' } catch (e) { e.number + '|' + e.description }"),
              "-2147418113|Range check error");
    EXPECT_EQ(Text("try { kiv.Add('zz'); 'none' } catch (e) { e.description }"), "'zz' is not a valid integer value");
  }
}

TEST_F(JsSharedMemberTest, AnUnboundObjectFailsThroughEveryPath) {
  EXPECT_EQ(engine->Eval("kiv.Add(1, 2) + kiv.Count"), Variant(3));
  engine->ExecuteStatement("kiv.count = 4");
  sample->bound = false;
  const std::string unbound = automation::kUnboundMessage;
  EXPECT_EQ(Text("try { kiv.Add(1, 2); 'none' } catch (e) { e.description }"), unbound);
  EXPECT_EQ(Text("try { kiv.Count; 'none' } catch (e) { e.description }"), unbound);
  EXPECT_EQ(Text("try { kiv.count = 5; 'none' } catch (e) { e.description }"), unbound);
  sample->bound = true;
  EXPECT_EQ(sample->GetCount(), 4);
}

TEST_F(JsSharedMemberTest, PutsResolveEverySpelling) {
  engine->ExecuteStatement("kiv.count = 1; kiv.COUNT = kiv.Count + 1; kiv.Count = kiv.count + 1;");
  EXPECT_EQ(sample->GetCount(), 3);
  engine->ExecuteStatement("kiv.name = 'n'; kiv.NAME += '!';");
  EXPECT_EQ(sample->GetName(), "n!");
  EXPECT_EQ(Text("try { kiv.nothing = 1; 'none' } catch (e) { e.number + '|' + e.description }"),
            std::to_string(kTypeErrorNumber) + "|Object doesn't support this property or method");
  EXPECT_EQ(Text("try { items.Count = 1; 'none' } catch (e) { e.number }"),
            std::to_string(automation::DISP_E_MEMBERNOTFOUND));
  EXPECT_EQ(Text("try { kiv.Add = 1; 'none' } catch (e) { e.number }"),
            std::to_string(automation::DISP_E_MEMBERNOTFOUND));
  EXPECT_EQ(engine->Eval("kiv.Add(1, 1)"), Variant(2));
}

TEST_F(JsSharedMemberTest, NamesOfObjectPrototypeAreNoMembers) {
  EXPECT_EQ(engine->Eval("typeof kiv.toString + typeof kiv.hasOwnProperty + typeof kiv.constructor"),
            Variant("undefinedundefinedundefined"));
  EXPECT_EQ(engine->Eval("typeof kiv.__proto__"), Variant("undefined"));
  EXPECT_EQ(engine->Eval("typeof kiv.Add"), Variant("function"));
}

}  // namespace
}  // namespace scriptcontrol::testing
