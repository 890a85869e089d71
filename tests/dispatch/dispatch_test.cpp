#include "dispatch/dispatch.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "host/host_error.h"
#include "recording_tools.h"
#include "workbench.h"

namespace tezlo::testing {
namespace {

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wb.UseWorkingSheets();
    UseRecordingTable(wb.ctx);
  }

  std::vector<std::string> RunCode(const std::string& code) {
    ToolRuns().clear();
    wb.Run(code);
    return RanTools();
  }

  using Names = std::vector<std::string>;
  Workbench wb;
};

struct Routing {
  const char* code;
  const char* tool;  // nullptr: nothing runs
};

class DispatchRoutingTest : public DispatchTest, public ::testing::WithParamInterface<Routing> {};

// Which code runs which of the program's tools is the program's table's own test; this one is
// about the dispatcher: rows are tried in order and only the first that holds runs.
TEST_P(DispatchRoutingTest, RunsTheFirstMatchingRowOnly) {
  const Routing r = GetParam();
  EXPECT_EQ(RunCode(r.code), r.tool ? Names{r.tool} : Names{}) << "code \"" << r.code << "\"";
}

INSTANTIATE_TEST_SUITE_P(RecordingTable, DispatchRoutingTest,
                         ::testing::Values(Routing{"++", "++"}, Routing{"++3", "++"},
                                           Routing{"+3", "+"}, Routing{"+", "+"},
                                           Routing{"999", "999"}, Routing{"999abc", "999"},
                                           Routing{"1e3", "above 100"}, Routing{"100", nullptr},
                                           Routing{"*5", "*5"}, Routing{"*5 ", nullptr},
                                           Routing{"*6", nullptr}, Routing{"-3", nullptr},
                                           Routing{"hello", nullptr}));

TEST_F(DispatchTest, CaptionedToolFindsItsNoteWrittenFirst) {
  wb.PutText("A60", "topic");
  wb.Select("C62");
  const Tool readNote = [](Context& ctx) {
    ToolRuns().push_back(
        {ctx.host.CommentText(ctx.host.ActiveSheet(), Cell{60, 2}), true, Flow::GoOn, 0});
  };
  const DispatchRow table[] = {{CodeTest::Exactly("*14"), "j14获取所有进程列表", readNote}};
  wb.ctx.tools = table;
  EXPECT_EQ(RunCode("*14"), Names{"*14 获取所有进程列表\r\n"});
}

TEST_F(DispatchTest, EmptyCodeScrollsToAndActivatesA1) {
  wb.Select("Z500");
  wb.host.SetScrollRow(480);
  wb.host.SetScrollColumn(20);
  EXPECT_EQ(RunCode(""), Names{});
  EXPECT_EQ(wb.host.TopLeftVisibleCell(), At("A1"));
  EXPECT_EQ(wb.host.ActiveCell(), At("A1"));
}

TEST_F(DispatchTest, EmptyCodeOnAnotherSheetOnlyShowsTheRefusal) {
  wb.host.RenameSheet(wb.host.AddSheetAfter(wb.Sheet("+3")), "数据");  // now active
  wb.Select("C3");
  EXPECT_EQ(RunCode(""), Names{});
  ASSERT_EQ(wb.ui.MessageBoxes().size(), 1u);
  EXPECT_EQ(wb.ui.MessageBoxes()[0].text,
            "活动工作表是数据不是“+1”或“+2”或“+3”表，这样可能出错。现选“+1”表并退出。");
  EXPECT_EQ(wb.host.ActiveSheet(), wb.Sheet("+1"));
  EXPECT_EQ(wb.host.TopLeftVisibleCell(), At("A1"));
  EXPECT_EQ(wb.host.ActiveCell(), At("A1"));
}

TEST_F(DispatchTest, RefusedSheetRunsNoTool) {
  wb.host.ActivateSheet(wb.host.AddSheetAfter(wb.Sheet("+3")));
  EXPECT_EQ(RunCode("*21"), Names{});
  EXPECT_EQ(RunCode("+3"), Names{"+"});  // the refusal moved to "+1"
}

TEST_F(DispatchTest, ToolStartsWithScreenUpdatingOnAndFlowFlagZero) {
  wb.host.SetScreenUpdating(false);
  wb.ctx.flowFlag = Flow::Stop;
  RunCode("*5");
  ASSERT_EQ(ToolRuns().size(), 1u);
  EXPECT_TRUE(ToolRuns()[0].screenUpdating);
  EXPECT_EQ(ToolRuns()[0].flow, Flow::GoOn);
}

TEST_F(DispatchTest, SkipAfterReadoutRunsNothingNotEvenThePreparation) {
  Workbench fresh;  // Sheet1..Sheet3: a preparation would add "+2" and "+1"
  UseRecordingTable(fresh.ctx);
  fresh.host.SetScreenUpdating(false);
  fresh.ctx.flowFlag = Flow::SkipNextOnce;
  fresh.Run("+3");
  EXPECT_TRUE(RanTools().empty());
  EXPECT_EQ(fresh.ctx.flowFlag, Flow::GoOn);
  EXPECT_EQ(fresh.SheetNames(), (Names{"Sheet1", "Sheet2", "Sheet3"}));
  EXPECT_FALSE(fresh.host.ScreenUpdating());
  fresh.Run("+3");
  EXPECT_EQ(RanTools(), Names{"+"});
}

TEST_F(DispatchTest, NewWorkbookRunsTheCommandOnTheNewPlusOne) {
  Workbench fresh;
  ToolRuns().clear();
  const Tool recordSheet = [](Context& ctx) {
    ToolRuns().push_back(
        {ctx.host.SheetName(ctx.host.ActiveSheet()), true, ctx.flowFlag, ctx.blockWidth});
  };
  const DispatchRow table[] = {{CodeTest::Exactly("*9"), nullptr, recordSheet}};
  fresh.ctx.tools = table;
  fresh.Run("*9");
  ASSERT_EQ(ToolRuns().size(), 1u);
  EXPECT_EQ(ToolRuns()[0].name, "+1");
  EXPECT_EQ(ToolRuns()[0].blockWidth, 13);
}

TEST_F(DispatchTest, AnEmptyTableRunsNothingAndWritesNoNote) {
  wb.ctx.tools = {};
  wb.PutText("A60", "topic");
  wb.Select("C62");
  EXPECT_NO_THROW(wb.Run("+3"));
  EXPECT_NO_THROW(wb.Run("*13"));
  EXPECT_FALSE(wb.host.HasComment(wb.host.ActiveSheet(), At("B60")));
  EXPECT_EQ(wb.host.GetValue(wb.host.ActiveSheet(), At("A60")), Value::Text("topic"));
  EXPECT_EQ(wb.host.ActiveCell(), At("C62"));
  wb.ctx.tools = kRecordingTable;  // the same code with a captioned row: the note is written
  wb.Run("*13");
  EXPECT_EQ(wb.host.CommentText(wb.host.ActiveSheet(), At("B60")), "*13 获取桌面文件列表\r\n");
}

// Nothing escapes the dispatcher, but only a refusal is silent: any other exception is a fault
// of ours, shown in a critical box that names it and kept for the front end until the next
// command.
TEST_F(DispatchTest, RefusalsEndSilentlyAndFaultsOfOursAreReported) {
  const DispatchRow table[] = {
      {CodeTest::StartsWith("+"), nullptr, [](Context&) { throw HostError("refused"); }},
      {CodeTest::StartsWith("-"), nullptr, [](Context&) { throw std::runtime_error("bug"); }},
      {CodeTest::NumberAbove(100), nullptr, [](Context&) { throw 42; }},
  };
  wb.ctx.tools = table;
  EXPECT_NO_THROW(wb.Run("+3"));
  EXPECT_TRUE(wb.ui.MessageBoxes().empty());
  EXPECT_FALSE(wb.ctx.internalError);

  EXPECT_NO_THROW(wb.Run("-3"));
  ASSERT_EQ(wb.ui.MessageBoxes().size(), 1u);
  const MessageBoxRequest box = wb.ui.MessageBoxes()[0];
  EXPECT_EQ(box.title, "Tezlo: internal error");
  EXPECT_EQ(box.icon, Icon::Critical);
  EXPECT_EQ(box.buttons, Buttons::Ok);
  EXPECT_EQ(
      box.text,
      "An internal error stopped the command \"-3\": bug\nThe workbook is as the command left it.");
  EXPECT_EQ(wb.ctx.internalError, "bug");

  EXPECT_NO_THROW(wb.Run("120"));
  EXPECT_EQ(wb.ctx.internalError, "an exception of unknown type");
  EXPECT_EQ(wb.ui.MessageBoxes().size(), 2u);
  wb.Run("+3");
  EXPECT_FALSE(wb.ctx.internalError);
}

TEST_F(DispatchTest, FailingToolKeepsWhatItChanged) {
  const Tool writeThree = [](Context& ctx) {
    ctx.host.SetValue(ctx.host.ActiveSheet(), Cell{2, 2}, Value::Number(1));
    ctx.host.SetValue(ctx.host.ActiveSheet(), Cell{0, 2}, Value::Number(2));  // fails
    ctx.host.SetValue(ctx.host.ActiveSheet(), Cell{3, 2}, Value::Number(3));
  };
  const DispatchRow table[] = {{CodeTest::Exactly("*2"), nullptr, writeThree}};
  wb.ctx.tools = table;
  wb.Run("*2");
  EXPECT_EQ(wb.host.GetValue(wb.host.ActiveSheet(), At("B2")), Value::Number(1));
  EXPECT_TRUE(wb.host.GetValue(wb.host.ActiveSheet(), At("B3")).IsEmpty());
}

}  // namespace
}  // namespace tezlo::testing
