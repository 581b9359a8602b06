#include "platform/automation/dispatch_table.h"

#include <gtest/gtest.h>

#include "platform/automation/dispatch_call.h"
#include "platform/automation/error_info.h"
#include "platform/automation/sample_object.h"

namespace automation {
namespace {

using testing::SampleObject;

// The description the failing call f leaves, with its code.
template <class F>
std::pair<HRESULT, std::string> Failure(F f) {
  try {
    f();
  } catch (const AutomationError& e) {
    return {e.Code(), e.what()};
  }
  return {S_OK, "(no failure)"};
}

class DispatchTableTest : public ::testing::Test {
 protected:
  ComPtr<SampleObject> object = MakeObject<SampleObject>();
  IDispatch* d = object.Get();
};

TEST_F(DispatchTableTest, NamesIgnoreCase) {
  EXPECT_EQ(GetDispId(d, "greet"), 2);
  EXPECT_EQ(GetDispId(d, "GREET"), 2);
  EXPECT_EQ(Failure([&] { GetDispId(d, "nope"); }).first, DISP_E_UNKNOWNNAME);
}

TEST_F(DispatchTableTest, MethodWithArgumentsAndDefaults) {
  EXPECT_EQ(CallMethod(d, "Add", {Variant(2), Variant(3)}), Variant(5));
  EXPECT_EQ(CallMethod(d, "add", {Variant(2)}), Variant(12));
  EXPECT_EQ(CallMethod(d, "Add", {Variant(2), Variant::Missing()}), Variant(12));
  EXPECT_EQ(CallMethod(d, "Greet", {Variant("Ann")}), Variant("Hello, Ann"));
  EXPECT_EQ(CallMethod(d, "Add", {Variant("4"), Variant(2.5)}), Variant(6));
}

TEST_F(DispatchTableTest, OptionalWithoutDefaultReceivesTheMarker) {
  EXPECT_EQ(CallMethod(d, "Optional"), Variant(true));
  EXPECT_EQ(CallMethod(d, "Optional", {Variant(1)}), Variant(false));
}

TEST_F(DispatchTableTest, ArgumentCountIsChecked) {
  EXPECT_EQ(Failure([&] { CallMethod(d, "Add"); }).first, DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Failure([&] { CallMethod(d, "Add", {Variant(1), Variant(2), Variant(3)}); }).first,
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Failure([&] { CallMethod(d, "Add", {Variant::Missing()}); }).first, DISP_E_PARAMNOTOPTIONAL);
}

TEST_F(DispatchTableTest, ConversionFailuresKeepTheirTexts) {
  auto f = Failure([&] { CallMethod(d, "Add", {Variant("x1")}); });
  EXPECT_EQ(f.first, E_UNEXPECTED);
  EXPECT_EQ(f.second, "'x1' is not a valid integer value");
  EXPECT_EQ(Failure([&] { PutProperty(d, "Alpha", Variant(300)); }).second, "Range check error");
  EXPECT_EQ(Failure([&] { CallMethod(d, "Add", {Variant::Null()}); }).second,
            "Could not convert variant of type (Null) into type (Integer)");
  EXPECT_EQ(Failure([&] { CallMethod(d, "Double", {Variant(2000000000)}); }).second, "Integer overflow");
}

TEST_F(DispatchTableTest, MemberFailureBecomesErrorInfo) {
  auto f = Failure([&] { CallMethod(d, "Fail", {Variant("it broke")}); });
  EXPECT_EQ(f.first, E_FAIL);
  EXPECT_EQ(f.second, "it broke");
}

TEST_F(DispatchTableTest, ErrorInfoCarriesTheSource) {
  std::string names[1] = {"Fail"};
  DispId ids[1];
  ASSERT_EQ(d->GetIDsOfNames(names, ids), S_OK);
  Variant args[1] = {Variant("bad")};
  DispParams params{args, {}};
  EXPECT_EQ(d->Invoke(ids[0], DISPATCH_METHOD, params, nullptr), E_FAIL);
  std::optional<ErrorInfo> info = TakeErrorInfo();
  ASSERT_TRUE(info);
  EXPECT_EQ(info->source, "ISample");
  EXPECT_EQ(info->description, "bad");
}

TEST_F(DispatchTableTest, PropertiesGetAndPut) {
  EXPECT_EQ(GetProperty(d, "name"), Variant("sample"));
  PutProperty(d, "NAME", Variant("other"));
  EXPECT_EQ(GetProperty(d, "Name"), Variant("other"));
  PutProperty(d, "Count", Variant(7.5));  // rounds half to even
  EXPECT_EQ(GetProperty(d, "Count"), Variant(8));
  EXPECT_EQ(GetProperty(d, "Alpha"), Variant(uint8_t{255}));
}

TEST_F(DispatchTableTest, ParameterisedDefaultMember) {
  EXPECT_EQ(InvokeMember(d, DISPID_VALUE, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {Variant(1)}), Variant("one"));
  EXPECT_EQ(GetProperty(d, "Item", {Variant(2)}), Variant("two"));
  // Call syntax on a property reaches its getter.
  EXPECT_EQ(InvokeMember(d, DISPID_VALUE, DISPATCH_METHOD, {Variant(0)}), Variant("zero"));
  PutProperty(d, "item", Variant("EINS"), {Variant(1)});
  EXPECT_EQ(GetProperty(d, "Item", {Variant(1)}), Variant("EINS"));
  EXPECT_EQ(Failure([&] { GetProperty(d, "Item", {Variant(9)}); }).second, "Range check error");
}

TEST_F(DispatchTableTest, NamedArguments) {
  std::string names[3] = {"Greet", "greeting", "NAME"};
  DispId ids[3];
  ASSERT_EQ(d->GetIDsOfNames(names, ids), S_OK);
  EXPECT_EQ(ids[1], 1);
  EXPECT_EQ(ids[2], 0);
  Variant args[2] = {Variant("Hi"), Variant("Bo")};
  DispId named[2] = {1, 0};
  DispParams params{args, named};
  Variant result;
  ASSERT_EQ(d->Invoke(ids[0], DISPATCH_METHOD, params, &result), S_OK);
  EXPECT_EQ(result, Variant("Hi, Bo"));

  std::string bad[2] = {"Greet", "nonsense"};
  EXPECT_EQ(d->GetIDsOfNames(bad, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
}

TEST_F(DispatchTableTest, ByReferenceArgumentChangesTheCallersVariable) {
  Variant value(21);
  CallMethod(d, "Double", {Variant::Ref(&value)});
  EXPECT_EQ(value, Variant(42));
}

TEST_F(DispatchTableTest, WrongKindIsMemberNotFound) {
  EXPECT_EQ(Failure([&] { GetProperty(d, "Add"); }).first, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Failure([&] { PutProperty(d, "Add", Variant(1)); }).first, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Failure([&] { InvokeMember(d, 555, DISPATCH_METHOD); }).first, DISP_E_MEMBERNOTFOUND);
}

TEST_F(DispatchTableTest, ObjectResultsAreDispatchAndReleased) {
  size_t before = LiveObjectCount();
  {
    Variant child = CallMethod(d, "Child");
    EXPECT_EQ(child.Type(), VarType::Dispatch);
    ASSERT_NE(child.Dispatch(), nullptr);
    EXPECT_EQ(CallMethod(child.Dispatch(), "Add", {Variant(1), Variant(1)}), Variant(2));
    EXPECT_EQ(LiveObjectCount(), before + 1);
  }
  EXPECT_EQ(LiveObjectCount(), before);
}

TEST_F(DispatchTableTest, UnboundObjectFailsClearly) {
  object->bound = false;
  auto f = Failure([&] { GetProperty(d, "Name"); });
  EXPECT_EQ(f.first, E_UNEXPECTED);
  EXPECT_EQ(f.second, kUnboundMessage);
  // Unknown members stay unknown.
  EXPECT_EQ(Failure([&] { InvokeMember(d, 555, DISPATCH_METHOD); }).first, DISP_E_MEMBERNOTFOUND);
}

TEST_F(DispatchTableTest, TypeInformationComesFromTheTable) {
  uint32_t count = 0;
  EXPECT_EQ(d->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  const InterfaceInfo* info = nullptr;
  ASSERT_EQ(d->GetTypeInfo(0, &info), S_OK);
  EXPECT_EQ(info->Name(), "ISample");
  const MemberInfo* add = info->Find(1, MemberKind::Method);
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add->params[0].type, VarType::Int32);
  EXPECT_EQ(add->resultType, VarType::Int32);
  EXPECT_EQ(*add->params[1].defaultValue, Variant(10));
  const MemberInfo* dbl = info->Find(6, MemberKind::Method);
  EXPECT_TRUE(dbl->params[0].byRef);
  const MemberInfo* alphaPut = info->Find(5, MemberKind::PropertyPut);
  EXPECT_EQ(alphaPut->params.back().type, VarType::UInt8);
  EXPECT_TRUE(object.As<IDispatch>());
  void* out = nullptr;
  ASSERT_EQ(d->QueryInterface(testing::kIidSample, &out), S_OK);
  ComPtr<IDispatch>::Attach(static_cast<IDispatch*>(out));
}

// A class whose interface is declared apart from the code, with one member
// not yet written and one that succeeds when unbound.
class Partial : public DispatchObject<Partial> {
 public:
  static const DispatchTable<Partial>& Table() {
    static const DispatchTable<Partial> table = [] {
      auto info = std::make_shared<InterfaceInfo>("IPartial", Guid{0x9, 0, 0, {}});
      info->Method("Done", 1, {Param("x", VarType::Int32)}, VarType::Int32)
          .Method("Later", 2)
          .Get("Label", 3, VarType::String);
      DispatchTable<Partial> t(info);
      t.Implement("done", MemberKind::Method, &Partial::Done)
          .Implement("Label", MemberKind::PropertyGet, &Partial::Label)
          .Unbound(UnboundRule::SucceedEmpty);
      return t;
    }();
    return table;
  }
  bool bound = true;
  bool IsBound() const { return bound; }
  int32_t Done(int32_t x) { return x * 3; }
  std::string Label() { return "label"; }
};

TEST(DispatchTableDeclaredApartTest, ImplementsAndReportsNotImplemented) {
  ComPtr<Partial> p = MakeObject<Partial>();
  EXPECT_EQ(CallMethod(p.Get(), "DONE", {Variant(4)}), Variant(12));
  auto f = Failure([&] { CallMethod(p.Get(), "Later"); });
  EXPECT_EQ(f.first, E_NOTIMPL);
  EXPECT_EQ(f.second, "Later: Not implemented");
  p->bound = false;
  EXPECT_EQ(GetProperty(p.Get(), "Label"), Variant(""));
}

TEST(DispatchTableDeclaredApartTest, SignatureMismatchIsCaughtAtDeclaration) {
  struct Bad : DispatchObject<Bad> {
    static const DispatchTable<Bad>& Table();
    int32_t Two(int32_t, int32_t) { return 0; }
  };
  auto info = std::make_shared<InterfaceInfo>("IBad", Guid{0xA, 0, 0, {}});
  info->Method("Two", 1, {Param("a", VarType::Int32)});
  DispatchTable<Bad> t(info);
  EXPECT_THROW(t.Implement("Two", MemberKind::Method, &Bad::Two), std::logic_error);
  EXPECT_THROW(t.Implement("Missing", MemberKind::Method, &Bad::Two), std::logic_error);
  DispatchTable<Bad> fresh("IBad2", Guid{0xB, 0, 0, {}});
  EXPECT_THROW(fresh.Method("Two", 1, &Bad::Two, {Param("a", VarType::String)}), std::logic_error);
}

}  // namespace
}  // namespace automation
