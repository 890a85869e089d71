#include "cli/batch_ui.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tezlo {
namespace {

MessageBoxRequest Box(Buttons buttons, std::string text = "继续吗？", std::string title = "提示") {
  MessageBoxRequest r;
  r.text = std::move(text);
  r.title = std::move(title);
  r.buttons = buttons;
  return r;
}

InputBoxRequest Input(std::string defaultValue = "") {
  InputBoxRequest r;
  r.prompt = "列数";
  r.title = "输入";
  r.defaultValue = std::move(defaultValue);
  return r;
}

TEST(BatchUi, AnswersInOrderAndWritesOneLinePerDialog) {
  std::ostringstream out;
  BatchUi ui({"OK", "cancel", "7", "ok", "cancel"}, out);
  EXPECT_EQ(ui.MessageBox(Box(Buttons::OkCancel)), Answer::Ok);
  EXPECT_EQ(ui.MessageBox(Box(Buttons::OkCancel)), Answer::Cancel);
  EXPECT_EQ(ui.InputBox(Input()), "7");
  EXPECT_EQ(ui.InputBox(Input("13")), "13");  // ok takes the preselected text
  EXPECT_EQ(ui.InputBox(Input("13")), std::nullopt);
  EXPECT_EQ(out.str(),
            "dialog\t提示\t继续吗？\tokcancel\tok\n"
            "dialog\t提示\t继续吗？\tokcancel\tcancel\n"
            "dialog\t输入\t列数\tinput\t7\n"
            "dialog\t输入\t列数\tinput\t13\n"
            "dialog\t输入\t列数\tinput\tcancel\n");
  EXPECT_EQ(ui.UnusedAnswers(), 0u);
  EXPECT_FALSE(ui.Misfit());
}

TEST(BatchUi, WithoutAnswersEscapeDecidesAndTheLineSaysSo) {
  std::ostringstream out;
  BatchUi ui({}, out);
  EXPECT_EQ(ui.MessageBox(Box(Buttons::OkCancel)), Answer::Cancel);
  EXPECT_EQ(ui.MessageBox(Box(Buttons::Ok, "完成", "")), Answer::Ok);
  EXPECT_EQ(ui.InputBox(Input("5")), std::nullopt);
  EXPECT_EQ(out.str(),
            "dialog\t提示\t继续吗？\tokcancel\tcancel (unanswered)\n"
            "dialog\tTezlo\t完成\tok\tok (unanswered)\n"
            "dialog\t输入\t列数\tinput\tcancel (unanswered)\n");
}

TEST(BatchUi, AnOkOnlyBoxTakesAnAnswerButCannotBeCancelled) {
  std::ostringstream out;
  BatchUi ui({"cancel", "ok"}, out);
  EXPECT_EQ(ui.MessageBox(Box(Buttons::Ok)), Answer::Ok);
  EXPECT_EQ(ui.MessageBox(Box(Buttons::OkCancel)), Answer::Ok);
  EXPECT_EQ(out.str(),
            "dialog\t提示\t继续吗？\tok\tok\n"
            "dialog\t提示\t继续吗？\tokcancel\tok\n");
}

TEST(BatchUi, AWordThatIsNoButtonIsRememberedAndChoosesNothingDestructive) {
  std::ostringstream out;
  BatchUi ui({"yes", "later"}, out);
  EXPECT_EQ(ui.MessageBox(Box(Buttons::OkCancel)), Answer::Cancel);
  EXPECT_EQ(ui.Misfit(), "yes");
  EXPECT_EQ(ui.InputBox(Input()), "later");  // any word is text for an input box
  EXPECT_EQ(ui.Misfit(), "yes");
}

TEST(EscapeField, KeepsEveryEventOnOneLine) {
  EXPECT_EQ(EscapeField("a\r\nb\nc\rd"), "a\\nb\\nc\\nd");
  EXPECT_EQ(EscapeField("tab\there"), "tab\\there");
  EXPECT_EQ(EscapeField("C:\\Users"), "C:\\\\Users");
  EXPECT_EQ(EscapeField("中文\r\n"), "中文\\n");
  EXPECT_EQ(EscapeField(""), "");
}

}  // namespace
}  // namespace tezlo
