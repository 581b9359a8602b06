#include <gtest/gtest.h>

#include "platform/vbscript/values/builtin_caller.h"
#include "platform/vbscript/values/vb_test_support.h"

namespace scriptcontrol::vbscript {
namespace {

using automation::Variant;
using automation::VariantArray;

const char* const kEmoji = "\xF0\x9F\x98\x80";  // U+1F600, two UTF-16 units
const char* const kReplacement = "\xEF\xBF\xBD";

class VbStringBuiltins : public ::testing::Test {
 protected:
  testing::BuiltinCaller call;
  Variant Null() { return Variant::Null(); }
  Variant Missing() { return Variant::Missing(); }
};

TEST_F(VbStringBuiltins, LengthsCountUtf16Units) {
  EXPECT_EQ(call("Len", "\xC3\xA9"), Variant(1));
  EXPECT_EQ(call("Len", kEmoji), Variant(2));
  EXPECT_EQ(call("Len", std::string("a") + kEmoji + "b"), Variant(4));
  EXPECT_EQ(call("Len", 123), Variant(3));
  EXPECT_EQ(call("Len", Variant()), Variant(0));
  EXPECT_TRUE(call("Len", Null()).IsNull());
}

TEST_F(VbStringBuiltins, LeftRightMid) {
  EXPECT_EQ(call("Left", "hello", 2), Variant("he"));
  EXPECT_EQ(call("Left", "hello", 99), Variant("hello"));
  EXPECT_EQ(call("Right", "hello", 3), Variant("llo"));
  EXPECT_EQ(call("Mid", "hello", 2, 3), Variant("ell"));
  EXPECT_EQ(call("Mid", "hello", 4), Variant("lo"));
  EXPECT_EQ(call("Mid", "hello", 9), Variant(""));
  EXPECT_EQ(call("Mid", "hello", 1, 0), Variant(""));
  EXPECT_TRUE(call("Left", Null(), 1).IsNull());
  EXPECT_TRUE(call("Mid", Null(), 1).IsNull());
  EXPECT_VB_ERROR(call("Mid", "hello", 0), kErrInvalidCall);
  EXPECT_VB_ERROR(call("Mid", "hello", 1, -1), kErrInvalidCall);
  EXPECT_VB_ERROR(call("Left", "hello", -1), kErrInvalidCall);
  EXPECT_VB_ERROR(call("Left", "hello", Null()), kErrInvalidNull);
  EXPECT_VB_ERROR(call("Right", "hello", "x"), kErrTypeMismatch);
}

TEST_F(VbStringBuiltins, CutsThroughASurrogatePairLeaveReplacementCharacters) {
  std::string s = std::string("a") + kEmoji;
  EXPECT_EQ(call("Left", s, 3), Variant(s));
  EXPECT_EQ(call("Left", s, 2), Variant(std::string("a") + kReplacement));
  EXPECT_EQ(call("Mid", s, 3, 1), Variant(kReplacement));
  EXPECT_EQ(call("InStr", s + "b", "b"), Variant(4));
  EXPECT_EQ(call("StrReverse", s), Variant(std::string(kEmoji) + "a"));
}

TEST_F(VbStringBuiltins, InStrAndInStrRev) {
  EXPECT_EQ(call("InStr", "abcabc", "c"), Variant(3));
  EXPECT_EQ(call("InStr", 4, "abcabc", "c"), Variant(6));
  EXPECT_EQ(call("InStr", 1, "ABC", "b", 1), Variant(2));
  EXPECT_EQ(call("InStr", 1, "ABC", "b", 0), Variant(0));
  EXPECT_EQ(call("InStr", "abc", ""), Variant(1));
  EXPECT_EQ(call("InStr", "", "a"), Variant(0));
  EXPECT_EQ(call("InStr", 9, "abc", "a"), Variant(0));
  EXPECT_TRUE(call("InStr", "abc", Null()).IsNull());
  EXPECT_VB_ERROR(call("InStr", 0, "abc", "a"), kErrInvalidCall);
  EXPECT_VB_ERROR(call("InStr", 1, "abc", "a", 3), kErrInvalidCall);
  EXPECT_EQ(call("InStrRev", "abcabc", "b"), Variant(5));
  EXPECT_EQ(call("InStrRev", "abcabc", "b", 4), Variant(2));
  EXPECT_EQ(call("InStrRev", "abcabc", "bc", 2), Variant(0));
  EXPECT_EQ(call("InStrRev", "abcABC", "b", -1, 1), Variant(5));
  EXPECT_EQ(call("InStrRev", "abc", "a", 9), Variant(0));
  EXPECT_VB_ERROR(call("InStrRev", "abc", "a", 0), kErrInvalidCall);
}

TEST_F(VbStringBuiltins, CaseAndTrimming) {
  EXPECT_EQ(call("UCase", "abc \xC3\xA9\xC3\xBF"), Variant("ABC \xC3\x89\xC5\xB8"));
  EXPECT_EQ(call("LCase", "\xD0\x96X"), Variant("\xD0\xB6x"));
  EXPECT_TRUE(call("UCase", Null()).IsNull());
  EXPECT_EQ(call("Trim", "  a b  "), Variant("a b"));
  EXPECT_EQ(call("LTrim", "  a  "), Variant("a  "));
  EXPECT_EQ(call("RTrim", "  a  "), Variant("  a"));
  EXPECT_EQ(call("Trim", "\ta\t"), Variant("\ta\t"));
}

TEST_F(VbStringBuiltins, Replace) {
  EXPECT_EQ(call("Replace", "abcabc", "b", "XY"), Variant("aXYcaXYc"));
  EXPECT_EQ(call("Replace", "abcabc", "B", "-", 1, -1, 1), Variant("a-ca-c"));
  EXPECT_EQ(call("Replace", "abcabc", "b", "-", 3), Variant("ca-c"));
  EXPECT_EQ(call("Replace", "abcabc", "b", "-", 1, 1), Variant("a-cabc"));
  EXPECT_EQ(call("Replace", "abc", "", "-"), Variant("abc"));
  EXPECT_EQ(call("Replace", "aaa", "a", "aa"), Variant("aaaaaa"));
  EXPECT_EQ(call("Replace", "abc", "b", "-", 9), Variant(""));
  EXPECT_TRUE(call("Replace", Null(), "a", "b").IsNull());
  EXPECT_VB_ERROR(call("Replace", "abc", "a", "b", 0), kErrInvalidCall);
  EXPECT_VB_ERROR(call("Replace", "abc", "a", "b", 1, -2), kErrInvalidCall);
  EXPECT_VB_ERROR(call("Replace", "abc", Null(), "b"), kErrInvalidNull);
}

TEST_F(VbStringBuiltins, SpaceStringReverseCompare) {
  EXPECT_EQ(call("Space", 3), Variant("   "));
  EXPECT_VB_ERROR(call("Space", -1), kErrInvalidCall);
  EXPECT_EQ(call("String", 3, "xy"), Variant("xxx"));
  EXPECT_EQ(call("String", 2, 65), Variant("AA"));
  EXPECT_EQ(call("String", 2, 321), Variant("AA"));  // 321 Mod 256
  EXPECT_EQ(call("String", 2, kEmoji), Variant(std::string(kEmoji) + kEmoji));
  EXPECT_VB_ERROR(call("String", 2, ""), kErrInvalidCall);
  EXPECT_TRUE(call("String", 2, Null()).IsNull());
  EXPECT_EQ(call("StrReverse", "abc"), Variant("cba"));
  EXPECT_VB_ERROR(call("StrReverse", Null()), kErrInvalidNull);
  EXPECT_EQ(call("StrComp", "a", "B"), Variant(int16_t{1}));
  EXPECT_EQ(call("StrComp", "a", "B", 1), Variant(int16_t{-1}));
  EXPECT_EQ(call("StrComp", "abc", "ABC", 1), Variant(int16_t{0}));
  EXPECT_TRUE(call("StrComp", Null(), "a").IsNull());
}

TEST_F(VbStringBuiltins, CharacterCodes) {
  EXPECT_EQ(call("Asc", "A"), Variant(int16_t{65}));
  EXPECT_EQ(call("Asc", "\xE2\x82\xAC"), Variant(int16_t{128}));  // the euro sign in Windows-1252
  EXPECT_EQ(call("Asc", "\xE4\xB8\x80"), Variant(int16_t{63}));   // no Windows-1252 code: "?"
  EXPECT_EQ(call("AscW", "\xE4\xB8\x80"), Variant(int16_t{0x4E00}));
  EXPECT_EQ(call("AscW", "\xEF\xBF\xBF"), Variant(int16_t{-1}));
  EXPECT_VB_ERROR(call("Asc", ""), kErrInvalidCall);
  EXPECT_VB_ERROR(call("Asc", Null()), kErrInvalidNull);
  EXPECT_EQ(call("Chr", 65), Variant("A"));
  EXPECT_EQ(call("Chr", 128), Variant("\xE2\x82\xAC"));
  EXPECT_EQ(call("Chr", 233), Variant("\xC3\xA9"));
  EXPECT_VB_ERROR(call("Chr", -1), kErrInvalidCall);
  EXPECT_VB_ERROR(call("Chr", 256), kErrInvalidCall);
  EXPECT_EQ(call("ChrW", 0x4E00), Variant("\xE4\xB8\x80"));
  EXPECT_EQ(call("ChrW", -1), Variant("\xEF\xBF\xBF"));
  EXPECT_VB_ERROR(call("ChrW", 65536), kErrInvalidCall);
}

TEST_F(VbStringBuiltins, HexAndOct) {
  EXPECT_EQ(call("Hex", 255), Variant("FF"));
  EXPECT_EQ(call("Hex", int16_t{-1}), Variant("FFFF"));
  EXPECT_EQ(call("Hex", -1), Variant("FFFFFFFF"));
  EXPECT_EQ(call("Hex", 2.5), Variant("2"));
  EXPECT_EQ(call("Hex", Variant()), Variant("0"));
  EXPECT_EQ(call("Oct", 8), Variant("10"));
  EXPECT_TRUE(call("Hex", Null()).IsNull());
  EXPECT_VB_ERROR(call("Hex", 5e9), kErrOverflow);
}

TEST_F(VbStringBuiltins, SplitJoinFilter) {
  Variant parts = call("Split", "a,b,,c", ",");
  ASSERT_TRUE(parts.IsArray());
  EXPECT_EQ(parts.Array()->Count(), 4u);
  EXPECT_EQ(parts.Array()->At(3), Variant("c"));
  EXPECT_EQ(call("Split", "a b c").Array()->Count(), 3u);
  EXPECT_EQ(call("Split", "").Array()->UpperBound(), -1);
  Variant limited = call("Split", "a,b,c", ",", 2);
  EXPECT_EQ(limited.Array()->At(1), Variant("b,c"));
  EXPECT_EQ(call("Split", "aXbxc", "x", -1, 1).Array()->Count(), 3u);
  EXPECT_EQ(call("Split", "abc", "").Array()->Count(), 1u);
  EXPECT_VB_ERROR(call("Split", "a", ",", -2), kErrInvalidCall);

  EXPECT_EQ(call("Join", parts, "-"), Variant("a-b--c"));
  EXPECT_EQ(call("Join", VariantArray({Variant(1), Variant(true)})), Variant("1 True"));
  EXPECT_EQ(call("Join", VariantArray()), Variant(""));
  EXPECT_VB_ERROR(call("Join", "abc"), kErrTypeMismatch);

  Variant words(VariantArray({Variant("apple"), Variant("Banana"), Variant("cherry")}));
  Variant kept = call("Filter", words, "an");
  ASSERT_EQ(kept.Array()->Count(), 1u);
  EXPECT_EQ(kept.Array()->At(0), Variant("Banana"));
  EXPECT_EQ(call("Filter", words, "A", false, 1).Array()->Count(), 1u);
  EXPECT_VB_ERROR(call("Filter", "x", "a"), kErrTypeMismatch);
}

TEST_F(VbStringBuiltins, EscapeAndUnescape) {
  EXPECT_EQ(call("Escape", "a b+c/\xC3\xA9"), Variant("a%20b+c/%E9"));
  EXPECT_EQ(call("Escape", kEmoji), Variant("%uD83D%uDE00"));
  EXPECT_EQ(call("Unescape", "a%20b%uD83D%uDE00%zz%4"), Variant(std::string("a b") + kEmoji + "%zz%4"));
  EXPECT_TRUE(call("Escape", Null()).IsNull());
}

TEST_F(VbStringBuiltins, NamesIgnoreCase) {
  ASSERT_NE(FindBuiltin("instr"), nullptr);
  EXPECT_EQ(FindBuiltin("INSTR"), FindBuiltin("InStr"));
  EXPECT_EQ(FindBuiltin("Eval"), nullptr);
  EXPECT_EQ(FindBuiltin(""), nullptr);
}

}  // namespace
}  // namespace scriptcontrol::vbscript
