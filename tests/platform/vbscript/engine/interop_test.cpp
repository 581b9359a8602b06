// VBScript calling automation objects: names without regard to case,
// optional and by-reference arguments, default members, enumeration, and
// the objects' failures as Err.
#include "platform/automation/prog_id_registry.h"
#include "vb_fixture.h"

namespace scriptcontrol::testing {
namespace {

using automation::Variant;

class VbInteropTest : public VbFixture {};

TEST_F(VbInteropTest, MembersWithoutRegardToCaseAndOptionalArguments) {
  EXPECT_EQ(Eval("KIV.add(1, 2)"), Variant(3));
  EXPECT_EQ(Eval("kiv.Add(5)"), Variant(15));
  EXPECT_EQ(Eval("kiv.Greet(\"Ann\")"), Variant("Hello, Ann"));
  EXPECT_EQ(Eval("kiv.greet(\"Ann\", \"Hi\")"), Variant("Hi, Ann"));
  Run("kiv.Name = \"set from VBScript\"");
  EXPECT_EQ(sample->GetName(), "set from VBScript");
  EXPECT_EQ(Eval("kiv.NAME"), Variant("set from VBScript"));
}

TEST_F(VbInteropTest, OmittedArgumentInTheMiddle) {
  EXPECT_EQ(Eval("byref.Given()"), Variant(false));
  Run("Dim v\nv = 3\nDim r\nr = byref.Given(v)\n");
  EXPECT_EQ(Eval("r"), Variant(true));
}

TEST_F(VbInteropTest, VariablesGoByReferenceAndComeBackChanged) {
  Run("Dim n\nn = 41\nDim r\nr = byref.Bump(n)\n");
  EXPECT_EQ(Eval("n"), Variant(42));
  EXPECT_EQ(Eval("r"), Variant(42));
  EXPECT_EQ(byRef->LastByRef(), std::vector<bool>{true});
  // Parentheses around an argument make a copy: the variable stays.
  Run("Dim m\nm = 1\nbyref.Bump (m)\n");
  EXPECT_EQ(Eval("m"), Variant(int16_t{1}));
  EXPECT_EQ(byRef->LastByRef(), std::vector<bool>{false});
}

TEST_F(VbInteropTest, DefaultMemberReadAndWritten) {
  sample->SetItem(0, "zero");
  EXPECT_EQ(Eval("kiv(0)"), Variant("zero"));
  Run("kiv(1) = \"one\"");
  EXPECT_EQ(sample->GetItem(1), "one");
  Run("Dim o\nSet o = kiv\no(2) = \"two\"\n");
  EXPECT_EQ(sample->GetItem(2), "two");
}

TEST_F(VbInteropTest, ForEachWalksACollection) {
  Run("Dim s, x\nFor Each x In items\n  s = s & x & \";\"\nNext\n");
  EXPECT_EQ(Eval("s"), Variant("a;b;c;"));
}

TEST_F(VbInteropTest, ForEachOverSomethingThatIsNoCollection) {
  ScriptError e = Failure("Dim x\nFor Each x In kiv\nNext\n");
  EXPECT_EQ(e.number, 451);
  ScriptError n = Failure("Dim x\nFor Each x In 5\nNext\n");
  EXPECT_EQ(n.number, 451);
}

TEST_F(VbInteropTest, AnObjectsFailureBecomesErr) {
  Run("On Error Resume Next\nkiv.Fail \"it broke\"\nDim n, d\nn = Err.Number\nd = Err.Description\n"
      "Err.Clear\nDim after\nafter = Err.Number\n");
  EXPECT_EQ(Eval("n"), Variant(static_cast<int32_t>(0x80004005u)));
  EXPECT_EQ(Eval("d"), Variant("it broke"));
  EXPECT_EQ(Eval("after"), Variant(0));
}

TEST_F(VbInteropTest, UnknownMemberIsError438) {
  ScriptError e = Failure("kiv.NoSuchMember 1\n");
  EXPECT_EQ(e.number, 438);
  EXPECT_EQ(e.description, "Object doesn't support this property or method: 'NoSuchMember'");
}

TEST_F(VbInteropTest, MemberOfSomethingThatIsNoObject) {
  ScriptError e = Failure("Dim s\ns = 5\ns.Foo\n");
  EXPECT_EQ(e.number, 424);
  ScriptError n = Failure("Dim o\nSet o = Nothing\no.Foo\n");
  EXPECT_EQ(n.number, 91);
}

TEST_F(VbInteropTest, SetNeedsAnObject) {
  ScriptError e = Failure("Dim o\nSet o = 5\n");
  EXPECT_EQ(e.number, 424);
  Run("Dim p\nSet p = kiv\nDim same\nsame = p Is kiv\n");
  EXPECT_EQ(Eval("same"), Variant(true));
}

TEST_F(VbInteropTest, GlobalMembersOfAnObjectAddedWithItsMembers) {
  auto global = automation::MakeObject<automation::testing::SampleObject>();
  engine->AddObject("host", global.Get(), true);
  Run("Name = \"global\"\nDim r\nr = Add(2, 3)\n");
  EXPECT_EQ(global->GetName(), "global");
  EXPECT_EQ(Eval("r"), Variant(5));
  // A script's own variable of the same name wins over the member.
  Run("Dim Count\nCount = 99\n");
  EXPECT_EQ(global->GetCount(), 0);
  EXPECT_EQ(Eval("Count"), Variant(int16_t{99}));
}

TEST_F(VbInteropTest, ArraysFromObjectsAreIndexedAndWalked) {
  Run("Dim a, x, s\na = items.Numbers(0)\nFor Each x In a\n  s = s + x\nNext\n");
  EXPECT_EQ(Eval("s"), Variant(100));
  EXPECT_EQ(Eval("a(2)"), Variant(30));
  EXPECT_EQ(Failure("Dim b\nb = items.Numbers(0)\nb(9) = 1\n").number, 9);
}

TEST_F(VbInteropTest, CreateObjectByProgIdFromTheClassRegistry) {
  automation::ProgIdRegistry::Instance().Register("VbTest.Sample", [] {
    return automation::ComPtr<automation::IDispatch>(automation::MakeObject<automation::testing::SampleObject>());
  });
  Run("Dim o\nSet o = CreateObject(\"vbtest.SAMPLE\")\nDim r\nr = o.Add(2, 2)\n"
      "Dim g\nSet g = GetObject(, \"VbTest.Sample\")\n");
  EXPECT_EQ(Eval("r"), Variant(4));
  EXPECT_EQ(Eval("TypeName(g)"), Variant("Sample"));
  ScriptError e = Failure("Set o = CreateObject(\"No.SuchClass\")\n");
  EXPECT_EQ(e.number, 429);
  EXPECT_EQ(e.description, "ActiveX component can't create object: 'No.SuchClass'");
  EXPECT_EQ(Failure("Set o = GetObject(\"C:\\some.doc\")\n").number, 429);
  Run("Set o = Nothing\nSet g = Nothing\n");
}

}  // namespace
}  // namespace scriptcontrol::testing
