#include "dispatch/command_box.h"

#include <gtest/gtest.h>

#include "recording_tools.h"
#include "text/ascii.h"
#include "workbench.h"

namespace tezlo::testing {
namespace {

// A window that logs what the controller asks of it.
class FakeWindow : public CommandBoxWindow {
 public:
  void SetText(const std::string& t) override {
    log.push_back("text " + t);
    text = t;
  }
  void StartTimer(int32_t ms) override { log.push_back("start " + std::to_string(ms)); }
  void StopTimer() override { log.push_back("stop"); }
  void Close() override { log.push_back("close"); }

  std::vector<std::string> log;
  std::string text;
};

class CommandBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wb.UseWorkingSheets();
    UseRecordingTable(wb.ctx);
    wb.system.SetPointer({812, 394});
  }

  using Names = std::vector<std::string>;
  Workbench wb;
  FakeWindow window;
  CommandBox box{wb.ctx, window};
};

TEST_F(CommandBoxTest, EnterTrimsSpacesClosesAndDispatches) {
  box.OnEnter("  +3 ");
  EXPECT_EQ(wb.ctx.funcCode, "+3");
  EXPECT_EQ(window.log, (Names{"stop", "close"}));
  EXPECT_EQ(RanTools(), Names{"+"});
}

TEST_F(CommandBoxTest, OnlySpacesAreTrimmed) {
  EXPECT_EQ(TrimSpaces("\t+3 "), "\t+3");
  EXPECT_EQ(TrimSpaces("   "), "");
  EXPECT_EQ(TrimSpaces("\xE3\x80\x80*9"), "\xE3\x80\x80*9");  // ideographic space stays
}

TEST_F(CommandBoxTest, ReadoutStartsAtOnceAndKeepsTheBoxOpen) {
  box.OnEnter(" *10  ");
  EXPECT_EQ(wb.ctx.funcCode, "*10");
  EXPECT_EQ(window.log, (Names{"start 500", "text 812.394"}));
  EXPECT_EQ(wb.ctx.flowFlag, Flow::SkipNextOnce);
  EXPECT_TRUE(RanTools().empty());

  wb.system.SetPointer({-15, -3});
  box.OnTimer();
  EXPECT_EQ(window.text, "-15.-3");
  EXPECT_EQ(wb.ctx.flowFlag, Flow::SkipNextOnce);
}

TEST_F(CommandBoxTest, FirstEnterAfterTheReadoutRunsNothingTheNextRuns) {
  box.OnEnter("*10");
  box.OnEnter("+3");  // typed between two ticks: still swallowed
  EXPECT_TRUE(RanTools().empty());
  EXPECT_EQ(wb.ctx.flowFlag, Flow::GoOn);
  EXPECT_EQ(window.log.back(), "close");
  box.OnEnter("+3");
  EXPECT_EQ(RanTools(), Names{"+"});
}

TEST_F(CommandBoxTest, ReadoutCoordinatesNeverReachATool) {
  wb.system.SetPointer({1200, 900});
  box.OnEnter("*10");
  box.OnEnter(window.text);  // "1200.900" would read as a topic number
  EXPECT_TRUE(RanTools().empty());
}

TEST_F(CommandBoxTest, EmptyBoxDispatchesTheEmptyCode) {
  wb.Select("H40");
  box.OnEnter("");
  EXPECT_EQ(wb.ctx.funcCode, "");
  EXPECT_EQ(wb.host.ActiveCell(), At("A1"));
}

TEST_F(CommandBoxTest, UnreadablePointerLeavesTheBoxAlone) {
  wb.system.SetUnreadable(FixedSystem::Source::Pointer);
  box.OnEnter("*10");
  EXPECT_EQ(window.log, (Names{"start 500"}));
  EXPECT_EQ(wb.ctx.flowFlag, Flow::GoOn);
}

}  // namespace
}  // namespace tezlo::testing
