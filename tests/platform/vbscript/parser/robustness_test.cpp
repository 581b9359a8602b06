// Mutated scripts must give a program or a placed VbError, nothing else:
// no other exception, no crash, no hang.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/scriptcontrol/vbscript/vb_parser.h"

namespace {

using namespace scriptcontrol::vbscript;

const char* const kSamples[] = {
    "Option Explicit\n"
    "Dim a, b(3), c(2, 3)\n"
    "Const k = &HFF, s = \"a \"\"b\"\"\", d = #1/2/2003 10:00 PM#\n"
    "a = -2 ^ 2 + 3 * (4 - 5) \\ 2 Mod 3 & \"x\"\n"
    "If a > 1 And Not b Is Nothing Then a = 1: b = 2 Else c = 3\n"
    "Select Case a\n  Case 1, 2: x\n  Case 3 To 5\n  Case Is >= 6\n  Case Else\nEnd Select\n",

    "Class Shape\n"
    "  Private w_, h_\n"
    "  Public Default Property Get Area()\n    Area = w_ * h_\n  End Property\n"
    "  Public Property Let Width(v): w_ = v: End Property\n"
    "  Sub Class_Initialize(): w_ = 1: h_ = 1: End Sub\n"
    "  Function Grow(ByVal n, ByRef m, list())\n"
    "    For i = 1 To n Step 2\n      If i = 3 Then Exit For\n    Next\n"
    "    Grow = Me.Area\n"
    "  End Function\n"
    "End Class\n"
    "Set s = New Shape\n"
    "s.Width = 5\n",

    "On Error Resume Next\n"
    "With CreateObject(\"Scripting.Dictionary\")\n"
    "  .Add \"k\", 1\n"
    "  MsgBox .Item(\"k\"), , \"title\"\n"
    "End With\n"
    "Do While x < 10: x = x + 1: Loop\n"
    "Do\n  x = x - 1\n  If x = 0 Then Exit Do\nLoop Until x < -5\n"
    "While y: y = False: Wend\n"
    "For Each v In Array(1, 2.5, .5, 1e3)\n  f (v) + 1, (v)\nNext\n"
    "ReDim Preserve b(10)\nErase b\n"
    "Call obj.Method(1, , 3)\n"
    "total = total + _\n  1 ' comment\n"
    "Rem end\n",
};

// A splice of bytes the grammar cares about.
const char* const kFragments[] = {"(", ")", "\"", "#", "_\n", "\n", ":", ".", ",", "&H", "End ", "If ", "Then ",
                                  "Sub ", "Class ", "Property Get ", "Default ", "=", " ", "'", "[", "]", "Next",
                                  "Loop", "Wend", "Else ", "Case ", "Me", "New ", "1e", "&", "\0", "\xff", "\xc3"};

void ExpectProgramOrVbError(const std::string& text) {
  const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n')) +
                    static_cast<int>(std::count(text.begin(), text.end(), '\r'));
  try {
    ParseProgram(text);
  } catch (const VbError& e) {
    EXPECT_TRUE(e.Placed()) << text;
    EXPECT_GE(e.Line(), 1) << text;
    EXPECT_LE(e.Line(), lines) << text;
    EXPECT_GE(e.Column(), 1) << text;
  }
  try {
    ParseExpression(text);
  } catch (const VbError& e) {
    EXPECT_TRUE(e.Placed()) << text;
  }
}

TEST(VbParserRobustness, SamplesParse) {
  for (const char* sample : kSamples) EXPECT_NO_THROW(ParseProgram(sample)) << sample;
}

TEST(VbParserRobustness, MutatedSamplesGiveAProgramOrAVbError) {
  std::mt19937 random(20261208);
  auto below = [&](size_t n) { return n == 0 ? 0 : static_cast<size_t>(random() % n); };
  for (int round = 0; round < 4000; ++round) {
    std::string text = kSamples[round % std::size(kSamples)];
    const int edits = 1 + static_cast<int>(below(4));
    for (int e = 0; e < edits; ++e) {
      switch (below(5)) {
        case 0:  // flip a byte
          if (!text.empty()) text[below(text.size())] = static_cast<char>(random() & 0xFF);
          break;
        case 1:  // cut the end off
          text.resize(below(text.size() + 1));
          break;
        case 2:  // drop a stretch
          if (!text.empty()) {
            const size_t at = below(text.size());
            text.erase(at, below(20));
          }
          break;
        case 3: {  // splice in a fragment
          const std::string_view f = kFragments[below(std::size(kFragments))];
          text.insert(below(text.size() + 1), f.empty() ? std::string(1, '\0') : std::string(f));
          break;
        }
        default: {  // repeat a stretch
          const size_t at = below(text.size() + 1);
          text.insert(at, text.substr(at, below(40)));
          break;
        }
      }
    }
    ExpectProgramOrVbError(text);
  }
}

TEST(VbParserRobustness, OddWholeInputs) {
  for (std::string text : {std::string(""), std::string("_"), std::string(" _ "), std::string("_\n"),
                           std::string("\0", 1), std::string("x = \"\0\"", 7), std::string("\xff\xfe"),
                           std::string(100000, '('), std::string(100000, '"'), std::string(100000, '#'),
                           std::string(100000, '9'), std::string(30, '9'), std::string(1000000, '\n'),
                           std::string(100000, '-'), std::string("x = ") + std::string(100000, '.'),
                           std::string("If a Then ") + std::string(50000, ':')})
    ExpectProgramOrVbError(text);
}

}  // namespace
