#include <gtest/gtest.h>

#include "platform/vbscript/values/builtin_caller.h"
#include "platform/vbscript/values/value_objects.h"
#include "platform/vbscript/values/vb_test_support.h"

namespace scriptcontrol::vbscript {
namespace {

using automation::Variant;
using automation::VariantArray;
using automation::VarType;

class VbMiscBuiltins : public ::testing::Test {
 protected:
  testing::BuiltinCaller call;
  Variant Call0(std::string_view name) {
    std::vector<Variant> none;
    return call.CallWith(name, none);
  }
};

TEST_F(VbMiscBuiltins, ArraysAndTheirBounds) {
  Variant a = call("Array", 1, "two", 3.0);
  ASSERT_TRUE(a.IsArray());
  EXPECT_EQ(a.Array()->LowerBound(), 0);
  EXPECT_EQ(a.Array()->At(1), Variant("two"));
  EXPECT_EQ(Call0("Array").Array()->UpperBound(), -1);
  EXPECT_EQ(call("UBound", a), Variant(2));
  EXPECT_EQ(call("LBound", a), Variant(0));
  EXPECT_EQ(call("IsArray", a), Variant(true));
  EXPECT_EQ(call("IsArray", "a"), Variant(false));

  // Dim m(1, 4): two levels.
  std::vector<Variant> rows;
  for (int i = 0; i < 2; ++i) rows.emplace_back(VariantArray(std::vector<Variant>(5)));
  Variant m{VariantArray(std::move(rows))};
  EXPECT_EQ(call("UBound", m, 1), Variant(1));
  EXPECT_EQ(call("UBound", m, 2), Variant(4));
  EXPECT_VB_ERROR(call("UBound", m, 3), kErrSubscript);
  EXPECT_VB_ERROR(call("UBound", a, 0), kErrSubscript);
  EXPECT_VB_ERROR(call("UBound", "abc"), kErrTypeMismatch);
  // A by-reference argument (a variable) is followed.
  EXPECT_EQ(call("UBound", Variant::Ref(&a)), Variant(2));
}

TEST_F(VbMiscBuiltins, TypeInspection) {
  EXPECT_EQ(call("IsEmpty", Variant()), Variant(true));
  EXPECT_EQ(call("IsEmpty", ""), Variant(false));
  EXPECT_EQ(call("IsNull", Variant::Null()), Variant(true));
  EXPECT_EQ(call("IsNumeric", "1e3"), Variant(true));
  EXPECT_EQ(call("IsNumeric", "abc"), Variant(false));
  EXPECT_EQ(call("IsObject", Variant::Nothing()), Variant(true));
  EXPECT_EQ(call("IsObject", 1), Variant(false));
  EXPECT_EQ(call("TypeName", 1.5), Variant("Double"));
  EXPECT_EQ(call("TypeName", Variant::Nothing()), Variant("Nothing"));
  EXPECT_EQ(call("VarType", "s"), Variant(int16_t{8}));
  EXPECT_EQ(call("VarType", call("Array")), Variant(int16_t{8204}));
}

TEST_F(VbMiscBuiltins, RgbAndEngine) {
  EXPECT_EQ(call("RGB", 255, 0, 0), Variant(255));
  EXPECT_EQ(call("RGB", 1, 2, 3), Variant(0x030201));
  EXPECT_EQ(call("RGB", 300, 0, 0), Variant(255));
  EXPECT_VB_ERROR(call("RGB", -1, 0, 0), kErrInvalidCall);
  EXPECT_EQ(Call0("ScriptEngine"), Variant("VBScript"));
  EXPECT_EQ(Call0("ScriptEngineMajorVersion"), Variant(5));
  EXPECT_EQ(Call0("ScriptEngineMinorVersion"), Variant(8));
  EXPECT_EQ(Call0("ScriptEngineBuildVersion").Type(), VarType::Int32);
}

TEST_F(VbMiscBuiltins, DialogsGoThroughTheContext) {
  EXPECT_VB_ERROR(call("MsgBox", "hi"), kErrInvalidCall);
  EXPECT_VB_ERROR(call("InputBox", "name?"), kErrInvalidCall);
  std::string seen;
  call.context.messageBox = [&](const std::string& prompt, int32_t buttons, const std::string& title) {
    seen = prompt + "|" + std::to_string(buttons) + "|" + title;
    return 6;
  };
  EXPECT_EQ(call("MsgBox", "Sure?", 4, "Ask"), Variant(int16_t{6}));
  EXPECT_EQ(seen, "Sure?|4|Ask");
  call("MsgBox", 42);
  EXPECT_EQ(seen, "42|0|VBScript");

  std::optional<std::string> answer = "Ann";
  call.context.inputBox = [&](const std::string& prompt, const std::string& title, const std::string& def) {
    seen = prompt + "|" + title + "|" + def;
    return answer;
  };
  EXPECT_EQ(call("InputBox", "Name?", "Who", "Bob"), Variant("Ann"));
  EXPECT_EQ(seen, "Name?|Who|Bob");
  answer.reset();
  EXPECT_TRUE(call("InputBox", "Name?").IsEmpty());
}

TEST_F(VbMiscBuiltins, ObjectsGoThroughTheContext) {
  EXPECT_VB_ERROR(call("CreateObject", "Scripting.Dictionary"), kErrCannotCreate);
  EXPECT_VB_ERROR(Call0("GetObject"), kErrCannotCreate);
  auto label = automation::MakeObject<testing::LabelObject>();
  std::string asked;
  call.context.createObject = [&](const std::string& progId, const std::string& server) {
    asked = progId + "|" + server;
    return Variant(automation::ComPtr<automation::IDispatch>(label.Get()));
  };
  Variant made = call("CreateObject", "Kiv.Label");
  EXPECT_EQ(asked, "Kiv.Label|");
  EXPECT_EQ(made.Dispatch(), static_cast<automation::IDispatch*>(label.Get()));
  EXPECT_VB_ERROR(call("CreateObject", Variant::Null()), kErrInvalidNull);
}

TEST(VbConstants, NamesTypesAndValues) {
  ASSERT_NE(FindConstant("VBCRLF"), nullptr);
  EXPECT_EQ(*FindConstant("vbCrLf"), Variant("\r\n"));
  EXPECT_EQ(*FindConstant("vbNullChar"), Variant(std::string(1, '\0')));
  EXPECT_EQ(*FindConstant("vbTrue"), Variant(int16_t{-1}));
  EXPECT_EQ(*FindConstant("vbObjectError"), Variant(-2147221504));
  EXPECT_EQ(*FindConstant("vbWhite"), Variant(0xFFFFFF));
  EXPECT_EQ(*FindConstant("vbRed"), Variant(255));
  EXPECT_EQ(*FindConstant("vbYesNo"), Variant(int16_t{4}));
  EXPECT_EQ(*FindConstant("vbArray"), Variant(int16_t{8192}));
  EXPECT_EQ(*FindConstant("vbSaturday"), Variant(int16_t{7}));
  EXPECT_EQ(*FindConstant("vbShortTime"), Variant(int16_t{4}));
  EXPECT_EQ(FindConstant("vbNothing"), nullptr);
  EXPECT_EQ(FindConstant("Len"), nullptr);
}

}  // namespace
}  // namespace scriptcontrol::vbscript
