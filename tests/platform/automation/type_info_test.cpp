#include "platform/automation/type_info.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/automation/type_library.h"

namespace automation {
namespace {

constexpr Guid kLib{0xAAAA0001, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
constexpr Guid kIid{0xAAAA0002, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};
constexpr Guid kClsid{0xAAAA0003, 0, 0, {0, 0, 0, 0, 0, 0, 0, 3}};

InterfaceInfo MakeInfo() {
  InterfaceInfo info("IThing", kIid, "Dispatch interface for Thing Object");
  info.Method("alert", 1, {Param("strMsg", VarType::String)})
      .Property("DeskletLabel", 2, VarType::String)
      .Doc("the label")
      .Method("Redraw", 17, {OptionalParam("XMLOnly", VarType::Bool, false)})
      .Get("Item", DISPID_VALUE, VarType::Variant, {Param("Name")});
  return info;
}

TEST(TypeInfoTest, MembersKeepOrderAndSlots) {
  InterfaceInfo info = MakeInfo();
  ASSERT_EQ(info.Members().size(), 5u);
  EXPECT_EQ(info.Members()[0].vtableSlot, 7);
  EXPECT_EQ(info.Members()[1].kind, MemberKind::PropertyGet);
  EXPECT_EQ(info.Members()[2].kind, MemberKind::PropertyPut);
  EXPECT_EQ(info.Members()[2].doc, "the label");
  EXPECT_EQ(info.Members()[4].vtableSlot, 11);
  EXPECT_EQ(info.Members()[2].params.back().type, VarType::String);
}

TEST(TypeInfoTest, NamesIgnoreCase) {
  InterfaceInfo info = MakeInfo();
  EXPECT_EQ(info.IdOfName("deskletlabel"), 2);
  EXPECT_EQ(info.IdOfName("ALERT"), 1);
  EXPECT_FALSE(info.IdOfName("nothing"));
  EXPECT_EQ(info.NameOf(17), "Redraw");
  EXPECT_EQ(info.NameOf(99), "");
  EXPECT_EQ(info.ParamIdOfName(17, "xmlonly"), 0);
  EXPECT_FALSE(info.ParamIdOfName(17, "other"));
  ASSERT_NE(info.FindByName("redraw", MemberKind::Method), nullptr);
  EXPECT_EQ(info.FindByName("redraw", MemberKind::Method)->RequiredCount(), 0u);
  EXPECT_EQ(info.Find(2, MemberKind::Method), nullptr);
}

TEST(TypeInfoTest, OptionalDefaultsAreKept) {
  InterfaceInfo info = MakeInfo();
  const MemberInfo* redraw = info.Find(17, MemberKind::Method);
  ASSERT_NE(redraw, nullptr);
  ASSERT_TRUE(redraw->params[0].defaultValue);
  EXPECT_EQ(*redraw->params[0].defaultValue, Variant(false));
}

TEST(TypeInfoTest, ContradictionsAreRejected) {
  InterfaceInfo info = MakeInfo();
  EXPECT_THROW(info.Method("Other", 1), std::logic_error);
  EXPECT_THROW(info.Method("alert", 1), std::logic_error);
  EXPECT_THROW(info.Method("Alert", 5), std::logic_error);
  EXPECT_THROW(info.Method("Bad", 6, {OptionalParam("a", VarType::Int32), Param("b")}), std::logic_error);
  EXPECT_THROW(info.Method("Bad2", 7, {ParamInfo{"a", VarType::Int32, false, false, Variant(1)}}), std::logic_error);
}

TEST(TypeLibraryTest, DualClassesCarryTheirDocumentation) {
  TypeLibrary lib("Vorel", "Vorel Library", kLib, 1, 0);
  auto info = lib.AddDualClass("VorelMain", kIid, kClsid);
  EXPECT_EQ(info->Name(), "IVorelMain");
  EXPECT_EQ(info->Doc(), "Dispatch interface for VorelMain Object");
  const CoClassInfo* cls = lib.FindCoClass(kClsid);
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(cls->name, "VorelMain");
  EXPECT_EQ(cls->doc, "VorelMain Object");
  EXPECT_EQ(cls->interfaces.front().get(), lib.FindInterface(kIid));
  EXPECT_EQ(lib.FindInterface("ivorelmain"), info.get());
  EXPECT_EQ(lib.HelpString(), "Vorel Library");
  EXPECT_THROW(lib.AddDualClass("VorelMain", kIid, kClsid), std::logic_error);
  EXPECT_EQ(lib.FindCoClass(kLib), nullptr);
}

}  // namespace
}  // namespace automation
