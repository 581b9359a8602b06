#include "platform/scriptcontrol/jscript/js_vbarray.h"

#include "engine_fixture.h"

namespace scriptcontrol::testing {
namespace {

using automation::Variant;

class VBArrayTest : public EngineFixture {
 protected:
  // What a failing expression raised: "kind|number|description".
  std::string Failure(const std::string& expression) {
    return Text("try { " + expression +
                "; 'none' } catch (e) { [e.name, e.number, e.description].join('|') }");
  }
};

constexpr const char* kOutOfRange = "RangeError|-2146828279|Subscript out of range";
constexpr const char* kNotAVBArray = "TypeError|-2146823275|VBArray expected";

TEST_F(VBArrayTest, ReadsAReturnedArrayOfFourIntegers) {
  engine->ExecuteStatement("var a = new VBArray(items.Numbers());");
  EXPECT_EQ(Text("a.toArray().join(',')"), "10,20,30,40");
  EXPECT_EQ(engine->Eval("a.toArray() instanceof Array"), Variant(true));
  EXPECT_EQ(engine->Eval("a.getItem(0)"), Variant(10));
  EXPECT_EQ(engine->Eval("a.getItem(3)"), Variant(40));
  EXPECT_EQ(engine->Eval("a.lbound()"), Variant(0));
  EXPECT_EQ(engine->Eval("a.ubound()"), Variant(3));
  EXPECT_EQ(engine->Eval("a.lbound(1)"), Variant(0));
  EXPECT_EQ(engine->Eval("a.ubound(1)"), Variant(3));
  EXPECT_EQ(engine->Eval("a.dimensions()"), Variant(1));
  EXPECT_EQ(engine->Eval("a instanceof VBArray"), Variant(true));
}

TEST_F(VBArrayTest, BoundsOtherThanZero) {
  engine->ExecuteStatement("var a = new VBArray(items.Numbers(1));");
  EXPECT_EQ(engine->Eval("a.lbound()"), Variant(1));
  EXPECT_EQ(engine->Eval("a.ubound()"), Variant(4));
  EXPECT_EQ(engine->Eval("a.getItem(1) + a.getItem(4)"), Variant(50));
  EXPECT_EQ(Text("a.toArray().join(',')"), "10,20,30,40");
  EXPECT_EQ(Failure("a.getItem(0)"), kOutOfRange);
  EXPECT_EQ(Failure("a.getItem(5)"), kOutOfRange);
}

TEST_F(VBArrayTest, IndicesOutsideTheBoundsFail) {
  engine->ExecuteStatement("var a = new VBArray(items.Numbers());");
  for (const char* call : {"a.getItem(4)", "a.getItem(-1)", "a.getItem()", "a.getItem(0, 0)", "a.getItem('x')",
                           "a.getItem(NaN)", "a.getItem(1e12)", "a.lbound(2)", "a.ubound(0)", "a.lbound('z')"}) {
    SCOPED_TRACE(call);
    EXPECT_EQ(Failure(call), kOutOfRange);
  }
  ScriptError e = ErrorOf("a.getItem(9)");
  EXPECT_EQ(e.number, -2146828279);
  EXPECT_EQ(e.description, "Subscript out of range");
  // Whole numbers in other forms are indices.
  EXPECT_EQ(engine->Eval("a.getItem('2') + a.getItem(1.0)"), Variant(50));
}

TEST_F(VBArrayTest, OnlyVariantArraysAreAccepted) {
  for (const char* value : {"[1, 2]", "5", "kiv", "{}", "undefined", "null", "'text'"}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(Failure(std::string("new VBArray(") + value + ")"), kNotAVBArray);
  }
  EXPECT_EQ(Failure("new VBArray()"), kNotAVBArray);
  for (const char* member : {"toArray", "getItem", "lbound", "ubound", "dimensions"}) {
    SCOPED_TRACE(member);
    EXPECT_EQ(Failure(std::string("VBArray.prototype.") + member + ".call({})"), kNotAVBArray);
  }
}

TEST_F(VBArrayTest, CallableWithoutNewAndOverAnotherVBArray) {
  EXPECT_EQ(engine->Eval("VBArray(items.Numbers()).ubound()"), Variant(3));
  EXPECT_EQ(engine->Eval("new VBArray(new VBArray(items.Numbers(2))).lbound()"), Variant(2));
}

TEST_F(VBArrayTest, ElementsOfEveryKindConvert) {
  engine->ExecuteStatement("var m = new VBArray(items.Mixed()).toArray();");
  EXPECT_EQ(engine->Eval("m.length"), Variant(4));
  EXPECT_EQ(Text("m[0]"), "text");
  EXPECT_EQ(engine->Eval("m[1]"), Variant(2.5));
  EXPECT_EQ(engine->Eval("m[2].Count"), Variant(3));
  EXPECT_EQ(engine->Eval("m[3] === undefined"), Variant(true));
  EXPECT_EQ(engine->Eval("new VBArray(items.Mixed()).getItem(2).Item(1)"), Variant("b"));
}

TEST_F(VBArrayTest, AnEmptyArray) {
  engine->ExecuteStatement("var a = new VBArray(items.Echo([]));");
  EXPECT_EQ(engine->Eval("a.lbound()"), Variant(0));
  EXPECT_EQ(engine->Eval("a.ubound()"), Variant(-1));
  EXPECT_EQ(engine->Eval("a.toArray().length"), Variant(0));
  EXPECT_EQ(Failure("a.getItem(0)"), kOutOfRange);
}

TEST_F(VBArrayTest, EveryToArrayIsAFreshArray) {
  engine->ExecuteStatement("var a = new VBArray(items.Numbers()); var first = a.toArray(); first[0] = 99;");
  EXPECT_EQ(engine->Eval("a.toArray()[0]"), Variant(10));
  EXPECT_EQ(engine->Eval("a.getItem(0)"), Variant(10));
}

TEST_F(VBArrayTest, TheOpaqueValueStillGoesBackIntoMembers) {
  EXPECT_EQ(engine->Eval("items.Sum(items.Numbers())"), Variant(100));
  Variant back = engine->Eval("items.Numbers(3)");
  ASSERT_TRUE(back.IsArray());
  EXPECT_EQ(back.Array()->LowerBound(), 3);
  EXPECT_EQ(back.Array()->Count(), 4u);
}

TEST_F(VBArrayTest, ASetterOnArrayPrototypeDoesNotRun) {
  engine->ExecuteStatement(
      "var hit = false; Object.defineProperty(Array.prototype, '0', {set: function (v) { hit = true; },"
      " configurable: true}); var r = new VBArray(items.Numbers()).toArray(); delete Array.prototype[0];");
  EXPECT_EQ(engine->Eval("hit"), Variant(false));
  EXPECT_EQ(engine->Eval("r[0]"), Variant(10));
}

TEST_F(VBArrayTest, AThrowingValueOfIsTheScriptsOwnError) {
  EXPECT_EQ(Text("var a = new VBArray(items.Numbers()); try { a.getItem({valueOf: function () {"
                 " throw new Error('boom'); }}); } catch (e) { e.message }"),
            "boom");
  EXPECT_EQ(engine->Eval("a.getItem({valueOf: function () { return 2; }})"), Variant(30));
}

}  // namespace
}  // namespace scriptcontrol::testing
