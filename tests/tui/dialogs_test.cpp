// The modal dialogs as state machines: which button Enter and Escape press, what an input box
// answers, and how they are drawn.
#include <gtest/gtest.h>

#include "tui/dialogs.h"
#include "tui/line_editor.h"

namespace tezlo {
namespace {

TEST(MessageDialog, EnterPressesTheDefaultButtonEscapeTheCancelOne) {
  MessageBoxRequest ask{"删除吗？", "提示", Buttons::OkCancel, Icon::None, DefaultButton::First};
  MessageDialog first = MessageDialog::For(ask);
  EXPECT_EQ(first.Handle(KeyEvent::Of(Key::Enter)), std::optional<size_t>(0));
  MessageDialog again = MessageDialog::For(ask);
  EXPECT_EQ(again.Handle(KeyEvent::Of(Key::Escape)), std::optional<size_t>(1));
  ask.defaultButton = DefaultButton::Second;
  MessageDialog second = MessageDialog::For(ask);
  EXPECT_EQ(second.Focus(), 1u);
  EXPECT_FALSE(second.Handle(KeyEvent::Of(Key::Left)).has_value());
  EXPECT_EQ(second.Handle(KeyEvent::Of(Key::Enter)), std::optional<size_t>(0));
  MessageDialog ok =
      MessageDialog::For(MessageBoxRequest{"done", "", Buttons::Ok, Icon::Information});
  EXPECT_EQ(ok.Handle(KeyEvent::Of(Key::Escape)), std::optional<size_t>(0));
  EXPECT_FALSE(ok.Handle(KeyEvent::Character(U'x')).has_value());
}

TEST(MessageDialog, DrawsTitleIconTextAndButtonsCentred) {
  ScreenBuffer out(50, 12);
  MessageDialog d = MessageDialog::For(
      MessageBoxRequest{"第一行\nsecond line", "", Buttons::OkCancel, Icon::Question});
  d.Render(out);
  std::string all;
  for (int y = 0; y < out.Height(); ++y) all += out.RowText(y) + "\n";
  EXPECT_NE(all.find(" Tezlo "), std::string::npos);  // the default title
  EXPECT_NE(all.find("(?) 第一行"), std::string::npos);
  EXPECT_NE(all.find("    second line"), std::string::npos);
  EXPECT_NE(all.find("[ OK ]  [ Cancel ]"), std::string::npos);
  // The focused (default) button is highlighted.
  const std::string okRow = out.RowText(7);
  EXPECT_NE(okRow.find("[ OK ]"), std::string::npos);
}

TEST(InputDialog, TypingReplacesThePreselectedDefaultEnterAnswersEscapeCancels) {
  InputDialog d(InputBoxRequest{"几行？", "", "3"});
  EXPECT_EQ(d.Text(), "3");
  EXPECT_EQ(d.Handle(KeyEvent::Character(U'1')), InputDialog::Outcome::Open);
  EXPECT_EQ(d.Handle(KeyEvent::Character(U'2')), InputDialog::Outcome::Open);
  EXPECT_EQ(d.Text(), "12");
  EXPECT_EQ(d.Handle(KeyEvent::Of(Key::Enter)), InputDialog::Outcome::Ok);
  InputDialog keep(InputBoxRequest{"?", "", "abc"});
  keep.Handle(KeyEvent::Of(Key::End));  // moving the caret keeps the default
  keep.Handle(KeyEvent::Character(U'd'));
  EXPECT_EQ(keep.Text(), "abcd");
  EXPECT_EQ(keep.Handle(KeyEvent::Of(Key::Escape)), InputDialog::Outcome::Cancel);
  ScreenBuffer out(60, 14);
  const Caret caret = keep.Render(out);
  EXPECT_GE(caret.x, 0);
  EXPECT_NE(out.RowText(caret.y).find("abcd"), std::string::npos);
}

TEST(LineEditor, EditsByCharacterNotByByte) {
  LineEditor e("主题");
  e.Handle(KeyEvent::Of(Key::Left));
  e.Insert(U'x');
  EXPECT_EQ(e.Text(), "主x题");
  e.Handle(KeyEvent::Of(Key::Backspace));
  e.Handle(KeyEvent::Of(Key::Backspace));
  EXPECT_EQ(e.Text(), "题");
  e.Handle(KeyEvent::Of(Key::Home));
  e.Handle(KeyEvent::Of(Key::Delete));
  EXPECT_EQ(e.Text(), "");
  e.Handle(KeyEvent::Of(Key::Backspace));
  EXPECT_EQ(e.Cursor(), 0u);
  EXPECT_FALSE(e.Handle(KeyEvent::Of(Key::Enter)));
  EXPECT_FALSE(e.Handle(KeyEvent::Character(U's', true)));  // Ctrl+S is not text
}

TEST(CommandBoxDrawing, IsOneCentredLineThatScrollsWithTheCaret) {
  ScreenBuffer out(40, 11);
  LineEditor field("+3");
  const Caret caret = RenderCommandBox(out, field);
  EXPECT_EQ(caret.y, 5);
  EXPECT_EQ(out.RowText(5).find("│+3          │"), 13u);
  LineEditor longer("12345678901234567890");
  const Caret end = RenderCommandBox(out, longer);
  EXPECT_LT(end.x, 27);
  EXPECT_NE(out.RowText(5).find("890"), std::string::npos);
}

TEST(WrapText, BreaksAtLineBreaksAndAtTheWidthWithoutSplittingWideCharacters) {
  EXPECT_EQ(WrapText("ab\ncd", 10), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(WrapText("主题词表", 5), (std::vector<std::string>{"主题", "词表"}));
  EXPECT_EQ(WrapText("", 5), (std::vector<std::string>{""}));
  EXPECT_EQ(WrapText("a\r\nb", 5), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace tezlo
