// Script classes: fields, properties, default members, Initialize and
// Terminate, and instances called from outside as dispatch objects.
#include "platform/automation/dispatch_call.h"
#include "vb_fixture.h"

namespace scriptcontrol::testing {
namespace {

using automation::Variant;

class VbClassTest : public VbFixture {};

constexpr const char* kCounter =
    "Dim log\n"
    "Class Counter\n"
    "  Private count_\n"
    "  Public Label\n"
    "  Private Sub Class_Initialize()\n    count_ = 10\n    log = log & \"init;\"\n  End Sub\n"
    "  Private Sub Class_Terminate()\n    log = log & \"end \" & Label & \";\"\n  End Sub\n"
    "  Public Default Property Get Value()\n    Value = count_\n  End Property\n"
    "  Public Property Let Value(v)\n    count_ = v\n  End Property\n"
    "  Public Function Bump(by)\n    count_ = count_ + by\n    Bump = count_\n  End Function\n"
    "  Public Sub Twice()\n    Bump count_\n  End Sub\n"
    "End Class\n";

TEST_F(VbClassTest, PropertiesFieldsAndMethods) {
  Run(kCounter);
  Run("Dim c\nSet c = New Counter\nc.Label = \"a\"\nc.Value = 3\nc.Bump 4\nc.Twice\n");
  EXPECT_EQ(Eval("c.Value"), Variant(int16_t{14}));
  EXPECT_EQ(Eval("c.Label"), Variant("a"));
  EXPECT_TRUE(Eval("c").Dispatch());  // the object itself
  EXPECT_EQ(Eval("c * 1"), Variant(int16_t{14}));  // its default member
  EXPECT_EQ(Eval("c + 1"), Variant(int16_t{15}));
  EXPECT_EQ(Eval("TypeName(c)"), Variant("Counter"));
}

TEST_F(VbClassTest, PrivateMembersAreHiddenOutside) {
  Run(kCounter);
  ScriptError e = Failure("Dim c\nSet c = New Counter\nx = c.count_\n");
  EXPECT_EQ(e.number, 438);
}

TEST_F(VbClassTest, TerminateRunsWhenTheLastReferenceGoes) {
  Run(kCounter);
  Run("Dim c, d\nSet c = New Counter\nc.Label = \"x\"\nSet d = c\nSet c = Nothing\n");
  EXPECT_EQ(Eval("log"), Variant("init;"));
  Run("Set d = Nothing\n");
  EXPECT_EQ(Eval("log"), Variant("init;end x;"));
  // A local instance ends with its procedure.
  Run("Sub Scoped()\n  Dim t\n  Set t = New Counter\n  t.Label = \"local\"\nEnd Sub\nScoped\n");
  EXPECT_EQ(Eval("log"), Variant("init;end x;init;end local;"));
}

TEST_F(VbClassTest, InstancesAreDispatchObjectsForTheHost) {
  Run(kCounter);
  Run("Dim c\nSet c = New Counter\n");
  Variant c = Eval("c");
  ASSERT_TRUE(c.Dispatch());
  // Integer 10 plus the Long 5 the host passes is a Long.
  EXPECT_EQ(automation::CallMethod(c.Dispatch(), "BUMP", {Variant(5)}), Variant(15));
  automation::PutProperty(c.Dispatch(), "label", Variant("from C++"));
  EXPECT_EQ(Eval("c.Label"), Variant("from C++"));
  EXPECT_THROW(automation::GetProperty(c.Dispatch(), "count_"), automation::AutomationError);
  // A failure inside a member reaches the caller as a failed call.
  Run("Class Bad\n  Public Sub Boom()\n    Err.Raise 5\n  End Sub\nEnd Class\nDim b\nSet b = New Bad\n");
  Variant b = Eval("b");
  try {
    automation::CallMethod(b.Dispatch(), "Boom");
    FAIL();
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.Code(), static_cast<int32_t>(0x800A0005u));
    EXPECT_STREQ(e.what(), "Invalid procedure call or argument");
  }
}

TEST_F(VbClassTest, InstanceOutlivingItsEngineFailsCleanly) {
  Run(kCounter);
  Run("Dim c\nSet c = New Counter\n");
  Variant c = Eval("c");
  engine.reset();
  EXPECT_THROW(automation::CallMethod(c.Dispatch(), "Bump", {Variant(1)}), automation::AutomationError);
}

TEST_F(VbClassTest, ClassWithoutDefaultMemberHasNoValue) {
  Run("Class Plain\n  Public X\nEnd Class\nDim p\nSet p = New Plain\n");
  EXPECT_EQ(Failure("Dim v\nv = p\n").number, 438);
  EXPECT_EQ(Failure("Dim q\nSet q = New Missing\n").number, 506);
}

TEST_F(VbClassTest, ArrayFieldsAndIndexedProperties) {
  Run("Class Bag\n  Private items(2)\n"
      "  Public Property Get Item(i)\n    Item = items(i)\n  End Property\n"
      "  Public Property Let Item(i, v)\n    items(i) = v\n  End Property\n"
      "End Class\nDim g\nSet g = New Bag\ng.Item(1) = \"one\"\n");
  EXPECT_EQ(Eval("g.Item(1)"), Variant("one"));
  EXPECT_EQ(Failure("g.Item(3) = 1\n").number, 9);
}

TEST_F(VbClassTest, MeInsideMethods) {
  Run("Class Node\n  Public Name\n  Public Function Self()\n    Set Self = Me\n  End Function\nEnd Class\n"
      "Dim n\nSet n = New Node\nn.Name = \"me\"\n");
  EXPECT_EQ(Eval("n.Self().Name"), Variant("me"));
  EXPECT_EQ(Eval("n.Self Is n"), Variant(true));
}

}  // namespace
}  // namespace scriptcontrol::testing
