#include "platform/scriptcontrol/jscript/duk_support.h"

#include <gtest/gtest.h>

namespace scriptcontrol::jscript {
namespace {

TEST(DukSupportTest, CesuRoundTrip) {
  const std::string text = "a\xC3\xBC\xF0\x9F\x98\x80z";  // a, u-umlaut, U+1F600, z
  std::string cesu = Utf8ToCesu(text);
  EXPECT_EQ(cesu, "a\xC3\xBC\xED\xA0\xBD\xED\xB8\x80z");
  EXPECT_EQ(CesuToUtf8(cesu.data(), cesu.size()), text);
  EXPECT_EQ(Utf8ToCesu("plain"), "plain");
}

TEST(DukSupportTest, LoneSurrogateBecomesReplacement) {
  const std::string lone = "\xED\xA0\xBDx";
  EXPECT_EQ(CesuToUtf8(lone.data(), lone.size()), "\xEF\xBF\xBDx");
  const std::string cut = "\xED\xA0";
  EXPECT_EQ(CesuToUtf8(cut.data(), cut.size()), cut);
}

TEST(DukSupportTest, SafeReadsSurviveThrowingGetters) {
  HeapPtr heap = CreateHeap();
  duk_context* ctx = heap.get();
  duk_eval_string(ctx, "({get bad() { throw new Error('no'); }, good: 'yes'})");
  EXPECT_EQ(SafeGetString(ctx, -1, "good"), "yes");
  EXPECT_EQ(SafeGetString(ctx, -1, "bad", "fallback"), "fallback");
  EXPECT_EQ(SafeGetString(ctx, -1, "missing", "none"), "none");
  duk_eval_string(ctx, "({toString: function() { throw 1; }})");
  EXPECT_FALSE(SafeToString(ctx, -1).empty());
  duk_pop_2(ctx);
}

}  // namespace
}  // namespace scriptcontrol::jscript
