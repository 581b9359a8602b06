// VBScript's named constants, typed as the language types them: Integer
// for the small numbers, Long for vbObjectError, the colours and the
// larger MsgBox flags, String for the characters.
#include <string>

#include "platform/scriptcontrol/vbscript/vb_builtin_support.h"

namespace scriptcontrol::vbscript {

namespace {

using automation::Variant;

Variant I(int16_t v) { return Variant(v); }
Variant L(int32_t v) { return Variant(v); }
Variant S(std::string v) { return Variant(std::move(v)); }

std::vector<NamedConstant> MakeConstants() {
  return {
      // Characters.
      {"vbCr", S("\r")},
      {"vbCrLf", S("\r\n")},
      {"vbLf", S("\n")},
      {"vbNewLine", S("\r\n")},
      {"vbTab", S("\t")},
      {"vbNullString", S("")},
      {"vbNullChar", S(std::string(1, '\0'))},
      {"vbBack", S("\b")},
      {"vbFormFeed", S("\f")},
      {"vbVerticalTab", S("\v")},
      // Tristates and comparisons.
      {"vbTrue", I(-1)},
      {"vbFalse", I(0)},
      {"vbUseDefault", I(-2)},
      {"vbBinaryCompare", I(0)},
      {"vbTextCompare", I(1)},
      {"vbDatabaseCompare", I(2)},
      // VarType's answers.
      {"vbEmpty", I(0)},
      {"vbNull", I(1)},
      {"vbInteger", I(2)},
      {"vbLong", I(3)},
      {"vbSingle", I(4)},
      {"vbDouble", I(5)},
      {"vbCurrency", I(6)},
      {"vbDate", I(7)},
      {"vbString", I(8)},
      {"vbObject", I(9)},
      {"vbError", I(10)},
      {"vbBoolean", I(11)},
      {"vbVariant", I(12)},
      {"vbDataObject", I(13)},
      {"vbDecimal", I(14)},
      {"vbByte", I(17)},
      {"vbArray", I(8192)},
      // MsgBox's buttons, icons, defaults and modality, and its answers.
      {"vbOKOnly", I(0)},
      {"vbOKCancel", I(1)},
      {"vbAbortRetryIgnore", I(2)},
      {"vbYesNoCancel", I(3)},
      {"vbYesNo", I(4)},
      {"vbRetryCancel", I(5)},
      {"vbCritical", I(16)},
      {"vbQuestion", I(32)},
      {"vbExclamation", I(48)},
      {"vbInformation", I(64)},
      {"vbDefaultButton1", I(0)},
      {"vbDefaultButton2", I(256)},
      {"vbDefaultButton3", I(512)},
      {"vbDefaultButton4", I(768)},
      {"vbApplicationModal", I(0)},
      {"vbSystemModal", I(4096)},
      {"vbMsgBoxHelpButton", I(16384)},
      {"vbMsgBoxSetForeground", L(65536)},
      {"vbMsgBoxRight", L(524288)},
      {"vbMsgBoxRtlReading", L(1048576)},
      {"vbOK", I(1)},
      {"vbCancel", I(2)},
      {"vbAbort", I(3)},
      {"vbRetry", I(4)},
      {"vbIgnore", I(5)},
      {"vbYes", I(6)},
      {"vbNo", I(7)},
      // Days and weeks.
      {"vbUseSystemDayOfWeek", I(0)},
      {"vbSunday", I(1)},
      {"vbMonday", I(2)},
      {"vbTuesday", I(3)},
      {"vbWednesday", I(4)},
      {"vbThursday", I(5)},
      {"vbFriday", I(6)},
      {"vbSaturday", I(7)},
      {"vbUseSystem", I(0)},
      {"vbFirstJan1", I(1)},
      {"vbFirstFourDays", I(2)},
      {"vbFirstFullWeek", I(3)},
      // FormatDateTime's forms.
      {"vbGeneralDate", I(0)},
      {"vbLongDate", I(1)},
      {"vbShortDate", I(2)},
      {"vbLongTime", I(3)},
      {"vbShortTime", I(4)},
      {"vbObjectError", L(static_cast<int32_t>(0x80040000u))},
      // Colours, as RGB gives them.
      {"vbBlack", L(0x000000)},
      {"vbRed", L(0x0000FF)},
      {"vbGreen", L(0x00FF00)},
      {"vbYellow", L(0x00FFFF)},
      {"vbBlue", L(0xFF0000)},
      {"vbMagenta", L(0xFF00FF)},
      {"vbCyan", L(0xFFFF00)},
      {"vbWhite", L(0xFFFFFF)},
  };
}

}  // namespace

std::span<const NamedConstant> Constants() {
  static const std::vector<NamedConstant> constants = MakeConstants();
  return constants;
}

}  // namespace scriptcontrol::vbscript
