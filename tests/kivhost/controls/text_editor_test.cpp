// The editing rules of text fields and edit boxes, without drawing.
#include "kivhost/controls/text_editor.h"

#include <gtest/gtest.h>

namespace kivcontrols {
namespace {

TEST(TextEditor, TypingReplacesTheSelectionAndMovesTheCaret) {
  TextEditor e;
  e.SetText(u"hello");
  EXPECT_EQ(e.Caret(), 5u);
  e.SetCaret(1, false);
  e.SetCaret(4, true);
  EXPECT_EQ(e.SelectionStart(), 1u);
  EXPECT_EQ(e.SelectionEnd(), 4u);
  EXPECT_TRUE(e.Insert(u"EY"));
  EXPECT_EQ(e.Text(), u"hEYo");
  EXPECT_EQ(e.Caret(), 3u);
  EXPECT_FALSE(e.HasSelection());
}

TEST(TextEditor, NeverStopsInsideASurrogatePair) {
  TextEditor e;
  e.SetText(u"a\U0001D11Eb");  // a, G clef (two units), b
  e.SetCaret(2, false);          // inside the pair: snapped back
  EXPECT_EQ(e.Caret(), 1u);
  e.Right(false);
  EXPECT_EQ(e.Caret(), 3u);
  e.Left(false);
  EXPECT_EQ(e.Caret(), 1u);
  EXPECT_TRUE(e.Delete());  // the whole pair goes
  EXPECT_EQ(e.Text(), u"ab");
  e.SetText(u"x\U0001D11E");
  EXPECT_TRUE(e.Backspace());
  EXPECT_EQ(e.Text(), u"x");
}

TEST(TextEditor, EdgesDoNothing) {
  TextEditor e;
  e.SetText(u"ab");
  EXPECT_FALSE(e.Delete());  // caret at the end
  e.SetCaret(0, false);
  EXPECT_FALSE(e.Backspace());
  e.Left(false);
  EXPECT_EQ(e.Caret(), 0u);
  EXPECT_EQ(e.Text(), u"ab");
  TextEditor empty;
  EXPECT_FALSE(empty.Backspace());
  EXPECT_FALSE(empty.Delete());
  EXPECT_FALSE(empty.Insert(u""));
}

TEST(TextEditor, HomeEndAndShiftExtend) {
  TextEditor e;
  e.SetText(u"abc");
  e.SetCaret(1, false);
  e.End(true);
  EXPECT_EQ(e.SelectionStart(), 1u);
  EXPECT_EQ(e.SelectionEnd(), 3u);
  e.Home(true);  // anchor stays at 1
  EXPECT_EQ(e.SelectionStart(), 0u);
  EXPECT_EQ(e.SelectionEnd(), 1u);
  e.Right(false);  // collapses to the end of the selection
  EXPECT_EQ(e.Caret(), 1u);
  EXPECT_FALSE(e.HasSelection());
  e.SelectAll();
  EXPECT_TRUE(e.Backspace());
  EXPECT_EQ(e.Text(), u"");
}

TEST(TextEditor, ReadOnlyRefusesEditsButMoves) {
  TextEditor e;
  e.SetText(u"fixed");
  e.readOnly = true;
  EXPECT_FALSE(e.Insert(u"x"));
  EXPECT_FALSE(e.Backspace());
  EXPECT_FALSE(e.Delete());
  e.Home(false);
  e.Right(true);
  EXPECT_EQ(e.SelectionEnd(), 1u);
  EXPECT_EQ(e.Text(), u"fixed");
}

TEST(TextEditor, LinesBreakAtCrLfWhichIsOneStep) {
  TextEditor e;
  e.SetText(u"ab\r\ncd\nef");
  EXPECT_EQ(e.LineCount(), 3u);
  EXPECT_EQ(e.LineStart(1), 4u);
  EXPECT_EQ(e.LineEnd(1), 6u);
  EXPECT_EQ(e.LineOf(5), 1u);
  EXPECT_EQ(e.ColumnOf(5), 1u);
  EXPECT_FALSE(e.IsBoundary(3));  // between \r and \n
  e.SetCaret(2, false);
  e.Right(false);
  EXPECT_EQ(e.Caret(), 4u);
  EXPECT_TRUE(e.Backspace());  // takes the whole line break
  EXPECT_EQ(e.Text(), u"abcd\nef");
  e.SetText(u"abcd\r\nx\r\nlonger");
  e.SetCaret(3, false);
  e.Down(false);  // column 3 does not exist on "x": its end
  EXPECT_EQ(e.Caret(), 7u);
  e.Down(false);
  EXPECT_EQ(e.Caret(), 10u);
  e.Up(true);
  EXPECT_EQ(e.Caret(), 7u);
  EXPECT_EQ(e.Anchor(), 10u);
  e.Home(false);
  EXPECT_EQ(e.Caret(), 6u);
}

}  // namespace
}  // namespace kivcontrols
