// Every interface of the library, member by member in vtable order: name,
// kind (m method, g property get, p property put) and dispatch id. The
// object classes and scripts compiled against the library rely on exactly
// this order and these ids.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "vorel/typelib/vorel_type_library.h"

namespace {

struct ExpectedInterface {
  const char* name;
  const char* members;
};

const ExpectedInterface kExpected[] = {
    {"IVorelMain",
     "alert/m1 DeskletLabel/g2 DeskletLabel/p2 DeskletRotation/g3 DeskletRotation/p3 DeskletAlpha/g4 "
     "DeskletAlpha/p4 DeskletWidth/g5 DeskletWidth/p5 DeskletHeight/g6 DeskletHeight/p6 Refresh/m9 Redraw/m17 "
     "ConvertToValue/m22 SetSubLabel/m24 Invalidate/m25 GetMouseScrollValue/m37 GetMouseXPos/m38 "
     "GetMouseYPos/m39 DeskletXPos/g41 DeskletXPos/p41 DeskletYPos/g42 DeskletYPos/p42 MultiMedia/m43 "
     "SetMultiMediaWindow/m44 GetDroppedFileName/m45 EnableTimers/m15 Sleep/m47 OnCreate/g48 OnCreate/p48 "
     "OnDestroy/g49 OnDestroy/p49 OnBeforeFlip/g50 OnBeforeFlip/p50 OnAfterFlip/g51 OnAfterFlip/p51 "
     "OnDropFile/g52 OnDropFile/p52 OnMouseEnter/g53 OnMouseEnter/p53 OnMouseExit/g54 OnMouseExit/p54 "
     "OnMouseMove/g55 OnMouseMove/p55 OnMouseScroll/g56 OnMouseScroll/p56 OnSelect/g57 OnSelect/p57 "
     "OnDeselect/g58 OnDeselect/p58 SkinName/g59 OnKeyDown/g63 OnKeyDown/p63 GetKeyStr/m65 GetKeyVal/m66 "
     "Layers/g18 Controls/g19 XMLS/g20 Timers/g21 Parameters/g26 Sides/g27 ForceXDataFetch/m28 "
     "LockAllUpdates/m7 UnlockAllUpdates/m8 GetCurrentSide/m10 CreateObject/m11 IO/g29 UI/g30 "
     "ConnectObject/m12 DisconnectObject/m13 Menus/g14 PopupMenu/m16 GetActiveLayer/m31 GetLayerMouseXPos/m23 "
     "GetLayerMouseYPos/m32 GetChangeToSide/m33 FlipTo/m34"},
    {"IKivScriptLayer",
     "Src/g1 Src/p1 dsrc/g2 dsrc/p2 msrc/g3 msrc/p3 onMouseClick/g6 onMouseClick/p6 OnMouseEnter/g7 "
     "OnMouseEnter/p7 OnMouseExit/g8 OnMouseExit/p8 FontName/g9 FontName/p9 FontColor/g10 FontColor/p10 "
     "FontSize/g11 FontSize/p11 FontStyle/g12 FontStyle/p12 FontAlignment/g13 FontAlignment/p13 Cursor/g14 "
     "Cursor/p14 X/g15 X/p15 Y/g16 Y/p16 Data/g17 Data/p17 Width/g18 Width/p18 Height/g19 Height/p19 "
     "OffSetX/g20 OffSetX/p20 OffSetY/g21 OffSetY/p21 Slide/m25 Redraw/m5 Name/g26 LayerSide/g27 "
     "LayerSide/p27 OnMouseScroll/g28 OnMouseScroll/p28 onMouseDown/g29 onMouseDown/p29 onMouseUp/g30 "
     "onMouseUp/p30 KeyBind/g31 KeyBind/p31 Alpha/g32 Alpha/p32 Down/g22 Down/p22 OnMouseRightClick/g23 "
     "OnMouseRightClick/p23 FontAA/g24 FontAA/p24 MaskValue/g33 MaskValue/p33 Visible/g34 Visible/p34 "
     "MaskMinValue/g37 MaskMinValue/p37 Rotation/g35 Rotation/p35 SetColor/m4 ClipSource/g36 ClipSource/p36 "
     "LockUpdates/m38 UnlockUpdates/m39 Text/g40 Text/p40 Image/g41 Image/p41 SlideShow/m42 CaptureMouse/m43 "
     "UnCaptureMouse/m44 CenterSrc/g45 CenterSrc/p45 Clickable/p46 Scale/g47 Scale/p47 ScaleProportional/g48 "
     "ScaleProportional/p48 ImageHeight/g49 ImageWidth/g50 TextResize/g51 TextResize/p51"},
    {"IKivScriptControl",
     "FontColor/g1 FontColor/p1 FontName/g2 FontName/p2 FontStyle/g3 FontStyle/p3 X/g4 X/p4 Y/g5 Y/p5 "
     "Height/g7 Height/p7 Width/g8 Width/p8 CtrlType/g9 Name/g10 OnEnter/g11 OnEnter/p11 OnExit/g12 "
     "OnExit/p12 OnChange/g13 OnChange/p13 OnKeyEnter/g14 OnKeyEnter/p14 Value/g15 Value/p15 Display/g16 "
     "Display/p16 ListValues/g17 ListValues/p17 FontSize/g19 FontSize/p19 GetSelectValue/m18 CtrlSide/g20 "
     "CtrlSide/p20 FontBGColor/g21 FontBGColor/p21 Redraw/m6 ScrollBarSize/g22 ScrollBarSize/p22 ReadOnly/g26 "
     "ReadOnly/p26 PasswordMode/g27 PasswordMode/p27 Visible/g24 Visible/p24 LockUpdates/m23 "
     "UnlockUpdates/m25 GetSelDisplayValue/m28 NewIndex/g29 Index/g30 Index/p30"},
    {"IKivObjectList",
     "New/m3 Delete/m4 _NewEnum/g-4 Item/g0 Count/g2"},
    {"IVorelTimer",
     "Name/g1 Name/p1 Delay/g2 Delay/p2 TimerType/g3 TimerType/p3 OnTimer/g4 OnTimer/p4 ResetTimer/m5 "
     "StopTimer/m6"},
    {"IVorelParam",
     "Name/g1 Name/p1 Value/g4 Value/p4 OnUpdate/g5 OnUpdate/p5 Saveable/g6 Saveable/p6"},
    {"IVorelSide",
     "ID/g1 Height/g2 Height/p2 Width/g3 Width/p3 CloseX/g4 CloseX/p4 CloseY/g5 CloseY/p5 Reset/m6"},
    {"IVorelIO",
     "GetTextFile/m1 ShellExecutes/m2 GetTmpPath/m3 GetSkinResPath/m4 GetSkinPath/m5 GetUserDocumentPath/m6 "
     "GetSkinCtrlPath/m7 CreateDirectory/m8 GenerateUniqueName/m9 URLToFile/m10 GetSystemDirectory/m11"},
    {"IVorelUI",
     "InputBox/m1 FindWindow/m2 PromptColor/m3 PromptOpenFile/m4 PromptSaveFile/m5 SendWinMessage/m6 "
     "GetWindowText/m7 FormatDateTime/m8 PromptDirectory/m9"},
    {"IVorelXML",
     "ID/g1 Src/g2 Src/p2 Time/g3 Time/p3 UseWinTemp/g6 UseWinTemp/p6 OnGetData/g7 OnGetData/p7 Reset/m8 "
     "GetValue/m9 GetValueCount/m10 ForceGetData/m11 IsDataOLD/g12 WriteTextValue/m13 WriteAttribValue/m14 "
     "SaveXML/m15 ReadOnly/g16 ClearXML/m17 GetAgeOfXML/m18"},
    {"IVorelMainMenu",
     "ID/g1 ShowDefaultMenu/g2 ShowDefaultMenu/p2 OnBeforePopup/g3 OnBeforePopup/p3 OnAfterPopup/g4 "
     "OnAfterPopup/p4 SubMenu/g6"},
    {"IVorelMenuItem",
     "Name/g1 Name/p1 OnClick/g3 OnClick/p3 Enabled/g4 Enabled/p4 Checked/g5 Checked/p5 MenuType/g6 "
     "MenuType/p6 SubMenu/g2"},
};

char KindLetter(automation::MemberKind kind) {
  switch (kind) {
    case automation::MemberKind::Method: return 'm';
    case automation::MemberKind::PropertyGet: return 'g';
    case automation::MemberKind::PropertyPut: return 'p';
    case automation::MemberKind::PropertyPutRef: return 'r';
  }
  return '?';
}

std::string Signature(const automation::InterfaceInfo& info) {
  std::ostringstream out;
  for (const automation::MemberInfo& m : info.Members()) {
    if (out.tellp() > 0) out << ' ';
    out << m.name << '/' << KindLetter(m.kind) << m.id;
  }
  return out.str();
}

TEST(MemberOrderTest, EveryInterfaceListsItsMembersInVtableOrder) {
  const automation::TypeLibrary& library = vorel::VorelTypeLibrary();
  ASSERT_EQ(library.Interfaces().size(), std::size(kExpected));
  for (const ExpectedInterface& expected : kExpected) {
    const automation::InterfaceInfo* info = library.FindInterface(expected.name);
    ASSERT_NE(info, nullptr) << expected.name;
    EXPECT_EQ(Signature(*info), expected.members) << expected.name;
  }
}

TEST(MemberOrderTest, SlotsFollowTheDispatchMethods) {
  for (const auto& info : vorel::VorelTypeLibrary().Interfaces()) {
    int slot = automation::InterfaceInfo::kFirstSlot;
    for (const automation::MemberInfo& m : info->Members())
      EXPECT_EQ(m.vtableSlot, slot++) << info->Name() << "." << m.name;
  }
}

}  // namespace
