#include "scripted/scripted_ui.h"

#include <gtest/gtest.h>

namespace tezlo {
namespace {

MessageBoxRequest Question(DefaultButton def = DefaultButton::First) {
  MessageBoxRequest r;
  r.text = "删除?";
  r.title = "提示";
  r.buttons = Buttons::OkCancel;
  r.defaultButton = def;
  return r;
}

MessageBoxRequest Notice() {
  MessageBoxRequest r;
  r.text = "完成";
  r.icon = Icon::Information;
  return r;
}

TEST(ScriptedUiTest, QuestionsTakeQueuedAnswersInOrderNoticesTakeNone) {
  ScriptedUi ui;
  ui.QueueAnswer(Answer::Cancel);
  ui.QueueAnswer(Answer::Ok);
  EXPECT_EQ(ui.MessageBox(Notice()), Answer::Ok);
  EXPECT_EQ(ui.MessageBox(Question()), Answer::Cancel);
  EXPECT_EQ(ui.UnusedAnswers(), 1u);
  EXPECT_EQ(ui.MessageBox(Question()), Answer::Ok);
  EXPECT_EQ(ui.UnusedAnswers(), 0u);
}

TEST(ScriptedUiTest, WithoutAnswersTheDefaultButtonIsPressed) {
  ScriptedUi ui;
  EXPECT_EQ(ui.MessageBox(Question(DefaultButton::First)), Answer::Ok);
  EXPECT_EQ(ui.MessageBox(Question(DefaultButton::Second)), Answer::Cancel);
}

TEST(ScriptedUiTest, InputBoxesTakeQueuedInputsThenCancel) {
  ScriptedUi ui;
  ui.QueueInput("3");
  ui.QueueInput(std::nullopt);
  ui.QueueInput("");
  InputBoxRequest ask{"多少行?", "", "1"};
  EXPECT_EQ(ui.InputBox(ask), std::optional<std::string>("3"));
  EXPECT_EQ(ui.InputBox(ask), std::nullopt);
  EXPECT_EQ(ui.InputBox(ask), std::optional<std::string>(""));
  EXPECT_EQ(ui.InputBox(ask), std::nullopt);
  EXPECT_EQ(ui.UnusedInputs(), 0u);
}

TEST(ScriptedUiTest, RecordsEveryDialogInTheOrderShown) {
  ScriptedUi ui;
  const InputBoxRequest ask{"主题词", "输入", "abc"};
  ui.MessageBox(Notice());
  ui.InputBox(ask);
  ui.MessageBox(Question());
  ASSERT_EQ(ui.Dialogs().size(), 3u);
  EXPECT_EQ(std::get<MessageBoxRequest>(ui.Dialogs()[0]), Notice());
  EXPECT_EQ(std::get<InputBoxRequest>(ui.Dialogs()[1]), ask);
  EXPECT_EQ(ui.MessageBoxes(), (std::vector<MessageBoxRequest>{Notice(), Question()}));
  EXPECT_EQ(ui.InputBoxes(), std::vector<InputBoxRequest>{ask});
  ui.ClearDialogs();
  EXPECT_TRUE(ui.Dialogs().empty());
}

}  // namespace
}  // namespace tezlo
