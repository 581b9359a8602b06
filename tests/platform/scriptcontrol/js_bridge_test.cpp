// Calls from JScript into members that take arguments by reference or as
// variant arrays, and values that must not get past the bridge unchecked.
#include "platform/scriptcontrol/jscript/js_bridge.h"

#include <cmath>

#include "engine_fixture.h"

namespace scriptcontrol::testing {
namespace {

using automation::Variant;

class JsBridgeTest : public EngineFixture {};

TEST_F(JsBridgeTest, ByReferenceParameterReceivesAReference) {
  EXPECT_EQ(Text("byref.ConnectObject(kiv, 'ev_')"), "object|ev_");
  EXPECT_EQ(byRef->LastByRef(), (std::vector<bool>{true, false}));
  EXPECT_EQ(Text("byref.ConnectObject(null, 'p')"), "Null|p");
  EXPECT_EQ(Text("byref.ConnectObject('text', 'q')"), "text|q");
}

TEST_F(JsBridgeTest, WhatTheMemberWritesBackStaysWithTheCall) {
  EXPECT_EQ(engine->Eval("var o = kiv; byref.ConnectObject(o, 'p'); o === kiv"), Variant(true));
  EXPECT_EQ(Text("var n = 5; [byref.Bump(n), n].join(',')"), "6,5");
  EXPECT_EQ(engine->Eval("byref.Bump(41)"), Variant(42));
  // The sample's Double writes into its by-reference argument and gives nothing.
  EXPECT_EQ(engine->Eval("var m = 4; kiv.Double(m); m"), Variant(4));
  EXPECT_EQ(Text("try { kiv.Double('zz'); } catch (e) { e.description }"), "'zz' is not a valid integer value");
}

TEST_F(JsBridgeTest, ByReferenceThroughGlobalMembersAndTheDefaultMember) {
  engine->AddObject("main", byRef.Get(), true);
  EXPECT_EQ(Text("ConnectObject(kiv, 'g_')"), "object|g_");
  EXPECT_EQ(byRef->LastByRef(), (std::vector<bool>{true, false}));
  EXPECT_EQ(engine->Eval("this.Bump(1)"), Variant(2));
  EXPECT_EQ(byRef->LastByRef(), (std::vector<bool>{true}));
}

TEST_F(JsBridgeTest, TypedByReferenceParameterConvertsTheValue) {
  EXPECT_EQ(engine->Eval("byref.Twice(21)"), Variant(42));
  EXPECT_EQ(byRef->LastByRef(), (std::vector<bool>{true}));
  EXPECT_EQ(engine->Eval("byref.Twice('4')"), Variant(8));
  EXPECT_EQ(Text("try { byref.Twice('x'); } catch (e) { e.description }"), "'x' is not a valid integer value");
}

TEST_F(JsBridgeTest, OptionalByReferenceParameter) {
  EXPECT_EQ(engine->Eval("byref.Given()"), Variant(false));
  EXPECT_EQ(engine->Eval("byref.Given(0)"), Variant(true));
  EXPECT_EQ(byRef->LastByRef(), (std::vector<bool>{true}));
}

TEST_F(JsBridgeTest, ByValueParametersStayValues) {
  EXPECT_EQ(engine->Eval("items.Add('d'); items.Count"), Variant(4));
  engine->ExecuteStatement("byref.ConnectObject(1, 'x')");
  EXPECT_FALSE(byRef->LastByRef()[1]);
}

TEST_F(JsBridgeTest, ScriptArrayBecomesAVariantArrayWhereOneIsWanted) {
  EXPECT_EQ(engine->Eval("items.Sum([1, 2, 3])"), Variant(6));
  EXPECT_EQ(engine->Eval("items.Sum([])"), Variant(0));
  Variant back = engine->Eval("items.Echo([1, 'x', 2.5, kiv])");
  ASSERT_TRUE(back.IsArray());
  const automation::VariantArray& a = *back.Array();
  EXPECT_EQ(a.LowerBound(), 0);
  ASSERT_EQ(a.Count(), 4u);
  EXPECT_EQ(a.At(0), Variant(1));
  EXPECT_EQ(a.At(1), Variant("x"));
  EXPECT_EQ(a.At(2), Variant(2.5));
  EXPECT_EQ(a.At(3).Dispatch(), static_cast<automation::IDispatch*>(sample.Get()));
  EXPECT_EQ(engine->Eval("new VBArray(items.Echo(['p', 'q'])).getItem(1)"), Variant("q"));
  // Where any variant is wanted, an array stays a script object.
  EXPECT_EQ(engine->Eval("kiv.Echo([1, 2]).length"), Variant(2));
  Variant plain = engine->Eval("kiv.Echo([1, 2])");
  EXPECT_EQ(plain.Type(), automation::VarType::Dispatch);
  // A value that is no array meets the member's own conversion.
  EXPECT_EQ(Text("try { items.Sum(5); } catch (e) { e.description }"),
            "Could not convert variant of type (Integer) into type (Array)");
}

TEST_F(JsBridgeTest, HolesAndGettersOfAConvertedArray) {
  EXPECT_EQ(engine->Eval("var h = []; h[2] = 7; items.Sum(h)"), Variant(7));
  EXPECT_EQ(engine->Eval("var g = [1]; Object.defineProperty(g, 1, {get: function () { return 9; }}); items.Sum(g)"),
            Variant(10));
  EXPECT_EQ(Text("var bad = [1]; Object.defineProperty(bad, 1, {get: function () { throw new Error('bad'); }});"
                 " try { items.Sum(bad); 'none' } catch (e) { e.description }"),
            "bad");
  EXPECT_EQ(engine->Eval("var hit = false; Object.defineProperty(Array.prototype, '0', {set: function (v) {"
                         " hit = true; }, configurable: true}); var s = items.Sum([4, 5]);"
                         " delete Array.prototype[0]; hit ? -1 : s"),
            Variant(9));
}

TEST_F(JsBridgeTest, AnOverlongArrayFailsInsteadOfExhaustingMemory) {
  EXPECT_EQ(Text("var big = []; big.length = 100000000;"
                 " try { items.Sum(big); 'none' } catch (e) { e.number + '|' + e.description }"),
            "-2146828281|Out of memory");
  EXPECT_EQ(engine->Eval("items.Sum([1, 1])"), Variant(2));
}

TEST_F(JsBridgeTest, AMemberCallsBackIntoTheScriptWhileItsCallRuns) {
  EXPECT_EQ(engine->Eval("items.CallBack(function (x) { return x * 2; }, 21)"), Variant(42));
  EXPECT_EQ(engine->Eval("var o = {k: 3, times: function (x) { return x * this.k; }}; items.CallMember(o, 'times', 5)"),
            Variant(15));
  EXPECT_EQ(engine->Eval("items.CallBack(function (x) { return items.CallBack(function (y) { return y + 1; }, x); }, 1)"),
            Variant(2));
  EXPECT_EQ(Text("try { items.CallBack(function () { throw new Error('inner'); }, 0); } catch (e) { e.description }"),
            "inner");
  EXPECT_EQ(engine->Eval("var keep = 'kept'; items.CallBack(function (x) { return x; }, 0); keep"), Variant("kept"));
}

TEST_F(JsBridgeTest, ThrownNumbersThatFitNo32BitsAreNoErrorNumbers) {
  ScriptError e = ErrorOf("throw {number: NaN, message: 'odd'}");
  EXPECT_EQ(e.number, kUncaughtErrorNumber);
  e = ErrorOf("throw {number: 1e20, message: 'odd'}");
  EXPECT_EQ(e.number, kUncaughtErrorNumber);
  e = ErrorOf("throw {number: 0x800A0009, description: 'as written in hex'}");
  EXPECT_EQ(e.number, -2146828279);
  EXPECT_EQ(e.description, "as written in hex");
}

TEST_F(JsBridgeTest, AReplacedDateConstructorChangesNoConversion) {
  engine->AddCode("function year(d) { return d.getFullYear(); }");
  engine->ExecuteStatement(
      "var d = new Date(2023, 2, 15), RealDate = Date; Date = function () { throw new Error('no dates'); };"
      " RealDate.prototype.getTime = function () { throw new Error('no times'); };");
  EXPECT_EQ(engine->Run("year", {Variant(automation::Date{45000.5})}), Variant(2023));
  Variant back = engine->Eval("kiv.Echo(d)");
  EXPECT_EQ(back.Type(), automation::VarType::Date);
  EXPECT_EQ(engine->Eval("kiv.Echo(d).getMonth()"), Variant(2));
  // Dates without a value.
  EXPECT_TRUE(engine->Eval("kiv.Echo(new RealDate(NaN))").IsNull());
  engine->AddCode("function invalid(d) { return isNaN(d.valueOf()); }");
  EXPECT_EQ(engine->Run("invalid", {Variant(automation::Date{1e300})}), Variant(true));
  EXPECT_EQ(engine->Run("invalid", {Variant(automation::Date{std::nan("")})}), Variant(true));
  // Only real dates are dates.
  EXPECT_EQ(engine->Eval("var fake = Object.create(d); kiv.Echo(fake) === fake"), Variant(true));
  EXPECT_EQ(engine->Eval("var p = new Proxy({}, {getPrototypeOf: function () { throw 1; }}); kiv.Echo(p) === p"),
            Variant(true));
}

TEST_F(JsBridgeTest, ObjectsInheritingFromHoldersFreeNothing) {
  size_t withFixture = automation::LiveObjectCount();
  engine->ExecuteStatement(
      "var f = kiv.Add, a = items.Numbers();"
      " var x = Object.create(f), y = Object.create(a), z = Object.create(kiv); x = y = z = null;");
  EXPECT_EQ(automation::LiveObjectCount(), withFixture);
  EXPECT_EQ(engine->Eval("f.call(kiv, 1, 2)"), Variant(3));
  EXPECT_EQ(engine->Eval("new VBArray(a).ubound()"), Variant(3));
  EXPECT_EQ(Text("try { new VBArray(Object.create(a)); 'none' } catch (e) { e.description }"), "VBArray expected");
  engine->ExecuteStatement("f = a = null;");
  EXPECT_EQ(sample->GetName(), "sample");  // still alive and whole
}

}  // namespace
}  // namespace scriptcontrol::testing
