// "*15": empty sheets go, other sheets not named "+..." are offered for deletion, the rest trimmed.
#include "topics_fixture.h"

namespace tezlo::testing {
namespace {

constexpr const char* kDeleteSheet1 = "点“确定”删除此工作表：Sheet1";

// Records whether screen updating and alerts were off while a box was shown.
class WatchingUi : public ScriptedUi {
 public:
  explicit WatchingUi(Host& host) : host_(host) {}
  Answer MessageBox(const MessageBoxRequest& request) override {
    screenOffDuringBox = !host_.ScreenUpdating();
    alertsOffDuringBox = !host_.DisplayAlerts();
    return ScriptedUi::MessageBox(request);
  }
  bool screenOffDuringBox = false;
  bool alertsOffDuringBox = false;

 private:
  Host& host_;
};

class SlimWorkbookTest : public TopicsTest {
 protected:
  // "+1" with data, "+2" empty, Sheet1 with data; "+1" active.
  void ThreeSheets() {
    host.RenameSheet(SheetRef{1, 3}, "Sheet1");
    Put({60, 1}, "甲");
    host.SetColorIndex(plus1, Area::Of(Cell{700, 30}), 6);
    Put({4, 2}, "数据", SheetRef{1, 3});
    host.SetColorIndex(SheetRef{1, 3}, Area::Of(Cell{900, 9}), 6);
  }
};

TEST_F(SlimWorkbookTest, DeletesTheEmptySheetSilentlyAndAsksForTheOther) {
  ThreeSheets();
  ui.QueueAnswer(Answer::Cancel);
  Run("*15");
  const std::vector<MessageBoxRequest> boxes = ui.MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kDeleteSheet1);
  EXPECT_EQ(boxes[0].title, "提示");
  EXPECT_EQ(boxes[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(boxes[0].icon, Icon::None);

  EXPECT_EQ(SheetNames(), (std::vector<std::string>{"+1", "Sheet1"}));
  // Both kept sheets are trimmed to their data.
  EXPECT_EQ(host.UsedRange(SheetRef{1, 1}), Area::Of(60, 1, 60, 1));
  EXPECT_EQ(host.UsedRange(SheetRef{1, 2}), Area::Of(4, 2, 4, 2));
  EXPECT_EQ(TextAt({4, 2}, SheetRef{1, 2}), "数据");
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
}

TEST_F(SlimWorkbookTest, OkDeletesTheOfferedSheet) {
  ThreeSheets();
  ui.QueueAnswer(Answer::Ok);
  Run("*15");
  EXPECT_EQ(SheetNames(), (std::vector<std::string>{"+1"}));
}

TEST_F(SlimWorkbookTest, ScreenAndAlertsAreOffWhileItWorks) {
  WatchingUi watching(host);
  Context watched(host, watching, system);
  watched.tools = AllTools();
  ThreeSheets();
  watching.QueueAnswer(Answer::Cancel);
  watched.funcCode = "*15";
  Dispatch(watched);
  EXPECT_TRUE(watching.screenOffDuringBox);
  EXPECT_TRUE(watching.alertsOffDuringBox);
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
}

TEST_F(SlimWorkbookTest, SheetsNamedWithAPlusAreNeverOffered) {
  host.RenameSheet(SheetRef{1, 3}, "+notes");
  Put({60, 1}, "甲");
  Put({2, 2}, "笔记", SheetRef{1, 3});
  Run("*15");
  EXPECT_TRUE(ui.Dialogs().empty());
  EXPECT_EQ(SheetNames(), (std::vector<std::string>{"+1", "+notes"}));
}

TEST_F(SlimWorkbookTest, DataInABottomRowStopsTheRunWithoutLoss) {
  ThreeSheets();
  Put({1048576, 1}, "底");
  Put({100, 1}, "乙");
  ui.QueueAnswer(Answer::Cancel);
  Run("*15");
  EXPECT_EQ(TextAt({1048576, 1}), "底");
  EXPECT_EQ(TextAt({100, 1}), "乙");
  // "+1" comes first and stops the run: the sheets after it are left as they were.
  EXPECT_EQ(SheetNames(), (std::vector<std::string>{"+1", "+2", "Sheet1"}));
  EXPECT_TRUE(ui.Dialogs().empty());
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
}

class SingleSheetWorkbookTest : public TopicsTest {
 protected:
  static MemorySettings OneSheet() {
    MemorySettings s = SmallGrid();
    s.sheetsInNewWorkbook = 1;
    return s;
  }
  SingleSheetWorkbookTest() : TopicsTest(OneSheet()) {}
};

TEST_F(SingleSheetWorkbookTest, TheLastEmptySheetCannotGoAndTheRunEndsCleanly) {
  // The only sheet is "+1"; the preparation adds an empty "+2" after it.
  Run("*15");
  EXPECT_EQ(host.SheetCount(host.ActiveWorkbook()), 1);
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
}

}  // namespace
}  // namespace tezlo::testing
