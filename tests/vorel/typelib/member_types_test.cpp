// Parameters, optional arguments with their defaults, by-reference
// arguments and result types of members whose declarations scripts depend
// on.
#include <gtest/gtest.h>

#include <string>

#include "vorel/typelib/vorel_type_library.h"

namespace {

using automation::MemberInfo;
using automation::MemberKind;
using automation::ParamInfo;
using automation::Variant;
using automation::VarType;

const MemberInfo& Member(const char* interfaceName, const char* member, MemberKind kind) {
  const MemberInfo* m = vorel::VorelInterface(interfaceName)->FindByName(member, kind);
  if (!m) throw std::logic_error(std::string(interfaceName) + "." + member + " is not declared");
  return *m;
}

const MemberInfo& MethodOf(const char* interfaceName, const char* member) {
  return Member(interfaceName, member, MemberKind::Method);
}

void ExpectRequired(const ParamInfo& p, const char* name, VarType type) {
  EXPECT_EQ(p.name, name);
  EXPECT_EQ(p.type, type) << name;
  EXPECT_FALSE(p.optional) << name;
  EXPECT_FALSE(p.defaultValue) << name;
}

void ExpectOptional(const ParamInfo& p, const char* name, VarType type, const Variant& value) {
  EXPECT_EQ(p.name, name);
  EXPECT_EQ(p.type, type) << name;
  EXPECT_TRUE(p.optional) << name;
  ASSERT_TRUE(p.defaultValue) << name;
  EXPECT_EQ(p.defaultValue->Type(), type) << name;
  EXPECT_EQ(*p.defaultValue, value) << name;
}

TEST(MemberTypesTest, MainRedrawInvalidateAndCreateObjectDefaults) {
  const MemberInfo& redraw = MethodOf("IVorelMain", "Redraw");
  EXPECT_EQ(redraw.id, 17);
  ASSERT_EQ(redraw.params.size(), 1u);
  ExpectOptional(redraw.params[0], "XMLOnly", VarType::Bool, Variant(false));
  EXPECT_EQ(redraw.resultType, VarType::Empty);

  const MemberInfo& invalidate = MethodOf("IVorelMain", "Invalidate");
  EXPECT_EQ(invalidate.id, 25);
  ASSERT_EQ(invalidate.params.size(), 1u);
  ExpectOptional(invalidate.params[0], "Full", VarType::Bool, Variant(true));

  const MemberInfo& create = MethodOf("IVorelMain", "CreateObject");
  EXPECT_EQ(create.id, 11);
  ASSERT_EQ(create.params.size(), 3u);
  ExpectRequired(create.params[0], "ProgID", VarType::String);
  ExpectOptional(create.params[1], "EventPrefix", VarType::String, Variant(""));
  ExpectOptional(create.params[2], "AutoCreate", VarType::Bool, Variant(true));
  EXPECT_EQ(create.resultType, VarType::Variant);
  EXPECT_EQ(create.RequiredCount(), 1u);
}

TEST(MemberTypesTest, MainPropertiesAndByteArguments) {
  const MemberInfo& alphaGet = Member("IVorelMain", "DeskletAlpha", MemberKind::PropertyGet);
  EXPECT_EQ(alphaGet.id, 4);
  EXPECT_EQ(alphaGet.resultType, VarType::UInt8);
  const MemberInfo& alphaPut = Member("IVorelMain", "DeskletAlpha", MemberKind::PropertyPut);
  ASSERT_EQ(alphaPut.params.size(), 1u);
  ExpectRequired(alphaPut.params[0], "Value", VarType::UInt8);
  EXPECT_EQ(Member("IVorelMain", "DeskletLabel", MemberKind::PropertyGet).resultType, VarType::String);
  EXPECT_EQ(Member("IVorelMain", "Layers", MemberKind::PropertyGet).resultType, VarType::Variant);
  EXPECT_EQ(vorel::VorelInterface("IVorelMain")->Find(18, MemberKind::PropertyPut), nullptr);  // read-only
  EXPECT_EQ(vorel::VorelInterface("IVorelMain")->Find(59, MemberKind::PropertyPut), nullptr);  // SkinName

  const MemberInfo& sleep = MethodOf("IVorelMain", "Sleep");
  ASSERT_EQ(sleep.params.size(), 1u);
  ExpectRequired(sleep.params[0], "Value", VarType::UInt32);
  const MemberInfo& multimedia = MethodOf("IVorelMain", "MultiMedia");
  ASSERT_EQ(multimedia.params.size(), 2u);
  ExpectRequired(multimedia.params[0], "FileName", VarType::String);
  ExpectRequired(multimedia.params[1], "Command", VarType::UInt8);
  EXPECT_EQ(MethodOf("IVorelMain", "SetMultiMediaWindow").params.size(), 4u);
  EXPECT_EQ(MethodOf("IVorelMain", "GetChangeToSide").resultType, VarType::UInt8);
  EXPECT_EQ(MethodOf("IVorelMain", "GetKeyStr").resultType, VarType::String);
  EXPECT_EQ(MethodOf("IVorelMain", "GetActiveLayer").resultType, VarType::Variant);
  ExpectRequired(MethodOf("IVorelMain", "FlipTo").params.at(0), "Side", VarType::UInt8);
}

TEST(MemberTypesTest, ObjectArgumentsOfConnectAndDisconnectAreByReference) {
  const MemberInfo& connect = MethodOf("IVorelMain", "ConnectObject");
  ASSERT_EQ(connect.params.size(), 2u);
  EXPECT_EQ(connect.params[0].name, "Obj");
  EXPECT_EQ(connect.params[0].type, VarType::Variant);
  EXPECT_TRUE(connect.params[0].byRef);
  EXPECT_FALSE(connect.params[1].byRef);
  ExpectRequired(connect.params[1], "EventPrefix", VarType::String);
  const MemberInfo& disconnect = MethodOf("IVorelMain", "DisconnectObject");
  ASSERT_EQ(disconnect.params.size(), 1u);
  EXPECT_TRUE(disconnect.params[0].byRef);
}

TEST(MemberTypesTest, LayerSlideAndSlideShowDefaults) {
  const MemberInfo& slide = MethodOf("IKivScriptLayer", "Slide");
  EXPECT_EQ(slide.id, 25);
  ASSERT_EQ(slide.params.size(), 7u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(slide.params[static_cast<size_t>(i)].byRef) << i;
    EXPECT_EQ(slide.params[static_cast<size_t>(i)].type, VarType::Variant) << i;
  }
  EXPECT_EQ(slide.params[0].name, "SCoord");
  EXPECT_EQ(slide.params[1].name, "ECoord");
  EXPECT_EQ(slide.params[2].name, "ICoord");
  ExpectRequired(slide.params[3], "Delay", VarType::Int32);
  ExpectOptional(slide.params[4], "Loop", VarType::Int32, Variant(0));
  ExpectOptional(slide.params[5], "ASync", VarType::Bool, Variant(false));
  ExpectOptional(slide.params[6], "CallBack", VarType::String, Variant(""));
  EXPECT_EQ(slide.RequiredCount(), 4u);

  const MemberInfo& show = MethodOf("IKivScriptLayer", "SlideShow");
  EXPECT_EQ(show.id, 42);
  ASSERT_EQ(show.params.size(), 5u);
  ExpectRequired(show.params[0], "ImageList", VarType::String);
  ExpectRequired(show.params[1], "Delay", VarType::Int32);
  ExpectOptional(show.params[2], "Loop", VarType::Int32, Variant(-1));
  ExpectOptional(show.params[3], "ASync", VarType::Bool, Variant(true));
  ExpectOptional(show.params[4], "CallBack", VarType::String, Variant(""));
}

TEST(MemberTypesTest, LayerPropertyTypes) {
  EXPECT_EQ(Member("IKivScriptLayer", "FontSize", MemberKind::PropertyGet).resultType, VarType::Int16);
  EXPECT_EQ(Member("IKivScriptLayer", "Rotation", MemberKind::PropertyGet).resultType, VarType::Int16);
  EXPECT_EQ(Member("IKivScriptLayer", "X", MemberKind::PropertyGet).resultType, VarType::Int32);
  EXPECT_EQ(Member("IKivScriptLayer", "Alpha", MemberKind::PropertyGet).resultType, VarType::UInt8);
  EXPECT_EQ(Member("IKivScriptLayer", "LayerSide", MemberKind::PropertyGet).resultType, VarType::UInt8);
  EXPECT_EQ(Member("IKivScriptLayer", "ClipSource", MemberKind::PropertyGet).resultType, VarType::Variant);
  EXPECT_EQ(Member("IKivScriptLayer", "Visible", MemberKind::PropertyPut).params.back().type, VarType::Bool);
  // Clickable can only be set; Name, ImageWidth and ImageHeight only read.
  auto layer = vorel::VorelInterface("IKivScriptLayer");
  EXPECT_NE(layer->Find(46, MemberKind::PropertyPut), nullptr);
  EXPECT_EQ(layer->Find(46, MemberKind::PropertyGet), nullptr);
  EXPECT_EQ(layer->Find(26, MemberKind::PropertyPut), nullptr);
  EXPECT_EQ(layer->Find(49, MemberKind::PropertyPut), nullptr);
  EXPECT_EQ(layer->Find(50, MemberKind::PropertyPut), nullptr);
  ExpectRequired(MethodOf("IKivScriptLayer", "SetColor").params.at(0), "Color", VarType::String);
}

TEST(MemberTypesTest, CollectionItemIsTheDefaultMemberAndNewEnumTheEnumerator) {
  auto list = vorel::VorelInterface("IKivObjectList");
  const MemberInfo* item = list->Find(automation::DISPID_VALUE, MemberKind::PropertyGet);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->name, "Item");
  ASSERT_EQ(item->params.size(), 1u);
  ExpectRequired(item->params[0], "Name", VarType::Variant);
  EXPECT_EQ(item->resultType, VarType::Variant);

  const MemberInfo* newEnum = list->Find(automation::DISPID_NEWENUM, MemberKind::PropertyGet);
  ASSERT_NE(newEnum, nullptr);
  EXPECT_EQ(newEnum->name, "_NewEnum");
  EXPECT_TRUE(newEnum->params.empty());
  EXPECT_EQ(newEnum->resultType, VarType::Unknown);

  const MemberInfo& created = MethodOf("IKivObjectList", "New");
  EXPECT_EQ(created.id, 3);
  ASSERT_EQ(created.params.size(), 5u);
  ExpectRequired(created.params[0], "Name", VarType::Variant);
  for (size_t i = 1; i < 5; ++i) {
    EXPECT_EQ(created.params[i].name, "Value" + std::to_string(i));
    EXPECT_TRUE(created.params[i].optional);
    EXPECT_FALSE(created.params[i].defaultValue) << "an omitted value arrives as the missing marker";
  }
  EXPECT_EQ(MethodOf("IKivObjectList", "Delete").resultType, VarType::Bool);
  EXPECT_EQ(Member("IKivObjectList", "Count", MemberKind::PropertyGet).id, 2);
  EXPECT_EQ(Member("IKivObjectList", "Count", MemberKind::PropertyGet).resultType, VarType::Int32);
  EXPECT_EQ(list->Find(2, MemberKind::PropertyPut), nullptr);
}

TEST(MemberTypesTest, ControlTimerParamAndSideTypes) {
  EXPECT_EQ(Member("IKivScriptControl", "FontSize", MemberKind::PropertyGet).resultType, VarType::Int32);
  EXPECT_EQ(Member("IKivScriptControl", "CtrlSide", MemberKind::PropertyGet).resultType, VarType::UInt8);
  EXPECT_EQ(MethodOf("IKivScriptControl", "GetSelectValue").params.at(0).type, VarType::Int32);
  EXPECT_EQ(MethodOf("IKivScriptControl", "GetSelectValue").resultType, VarType::String);
  EXPECT_EQ(Member("IVorelTimer", "TimerType", MemberKind::PropertyGet).resultType, VarType::UInt8);
  EXPECT_EQ(Member("IVorelParam", "Saveable", MemberKind::PropertyGet).resultType, VarType::Bool);
  EXPECT_EQ(Member("IVorelSide", "CloseX", MemberKind::PropertyPut).params.back().type, VarType::Int32);
  EXPECT_EQ(vorel::VorelInterface("IVorelSide")->Find(1, MemberKind::PropertyPut), nullptr);
}

TEST(MemberTypesTest, XmlMembers) {
  const MemberInfo& getValue = MethodOf("IVorelXML", "GetValue");
  ASSERT_EQ(getValue.params.size(), 3u);
  ExpectRequired(getValue.params[0], "Path", VarType::String);
  ExpectOptional(getValue.params[1], "Delimiter", VarType::String, Variant(""));
  ExpectOptional(getValue.params[2], "PathIsXSL", VarType::Bool, Variant(false));
  const MemberInfo& writeAttrib = MethodOf("IVorelXML", "WriteAttribValue");
  ASSERT_EQ(writeAttrib.params.size(), 4u);
  EXPECT_EQ(writeAttrib.params[1].name, "Atribute");
  ExpectOptional(writeAttrib.params[3], "Mode", VarType::Int8, Variant(int8_t{0}));
  ExpectOptional(MethodOf("IVorelXML", "WriteTextValue").params.at(2), "Mode", VarType::Int8, Variant(int8_t{0}));
  ExpectOptional(MethodOf("IVorelXML", "SaveXML").params.at(0), "NewFileName", VarType::String, Variant(""));
  EXPECT_EQ(MethodOf("IVorelXML", "GetAgeOfXML").resultType, VarType::Date);
  EXPECT_EQ(Member("IVorelXML", "IsDataOLD", MemberKind::PropertyGet).resultType, VarType::Bool);
}

TEST(MemberTypesTest, IoAndUiDefaults) {
  const MemberInfo& shell = MethodOf("IVorelIO", "ShellExecutes");
  ASSERT_EQ(shell.params.size(), 5u);
  ExpectRequired(shell.params[0], "FileName", VarType::String);
  ExpectOptional(shell.params[1], "Parameters", VarType::String, Variant(""));
  ExpectOptional(shell.params[2], "Directory", VarType::String, Variant(""));
  ExpectOptional(shell.params[3], "ShowCMD", VarType::Int32, Variant(1));
  ExpectOptional(shell.params[4], "Operation", VarType::String, Variant("OPEN"));
  EXPECT_EQ(shell.resultType, VarType::Empty);

  const MemberInfo& input = MethodOf("IVorelUI", "InputBox");
  ASSERT_EQ(input.params.size(), 3u);
  ExpectOptional(input.params[2], "Default", VarType::String, Variant(""));
  for (const char* dialog : {"PromptOpenFile", "PromptSaveFile"}) {
    const MemberInfo& m = MethodOf("IVorelUI", dialog);
    ASSERT_EQ(m.params.size(), 4u) << dialog;
    EXPECT_EQ(m.RequiredCount(), 0u) << dialog;
    ExpectOptional(m.params[3], "Title", VarType::String, Variant(""));
  }
  const MemberInfo& format = MethodOf("IVorelUI", "FormatDateTime");
  ASSERT_EQ(format.params.size(), 8u);
  EXPECT_EQ(format.params[6].name, "MS");
  EXPECT_EQ(format.params[6].type, VarType::Variant);
  ExpectRequired(format.params[7], "Format", VarType::String);
  EXPECT_EQ(MethodOf("IVorelUI", "SendWinMessage").params.at(0).type, VarType::UInt32);
  EXPECT_EQ(MethodOf("IVorelUI", "FindWindow").resultType, VarType::Variant);
}

TEST(MemberTypesTest, MenuMembers) {
  EXPECT_EQ(Member("IVorelMainMenu", "ID", MemberKind::PropertyGet).resultType, VarType::UInt8);
  EXPECT_EQ(Member("IVorelMainMenu", "SubMenu", MemberKind::PropertyGet).id, 6);
  EXPECT_EQ(Member("IVorelMenuItem", "SubMenu", MemberKind::PropertyGet).id, 2);
  EXPECT_EQ(Member("IVorelMenuItem", "MenuType", MemberKind::PropertyPut).params.back().type, VarType::String);
}

}  // namespace
