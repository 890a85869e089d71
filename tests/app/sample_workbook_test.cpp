#include "app/sample_workbook.h"

#include <gtest/gtest.h>

#include "app/all_tools.h"
#include "dispatch/dispatch.h"
#include "memory/memory_host.h"
#include "scripted/fixed_system.h"
#include "scripted/scripted_ui.h"

namespace tezlo {
namespace {

class SampleWorkbookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildSampleWorkbook(host);
    ctx.tools = AllTools();
  }
  void Run(const std::string& code) {
    ctx.funcCode = code;
    Dispatch(ctx);
  }
  Value At(int32_t row, int32_t col) { return host.GetValue(kPlusOne, Cell{row, col}); }
  // The topic address of an index cell: its column digit and its row in two digits.
  static std::string Code(Cell c) {
    return std::to_string(c.col) + (c.row < 10 ? "0" : "") + std::to_string(c.row);
  }

  static constexpr SheetRef kPlusOne{1, 1};
  MemoryHost host;
  ScriptedUi ui;
  FixedSystem system;
  Context ctx{host, ui, system};
};

TEST_F(SampleWorkbookTest, IsAWorkingSheetWithATopicIndexOfFiftyRows) {
  EXPECT_EQ(host.SheetCount(1), 2);
  EXPECT_EQ(host.SheetName({1, 1}), "+1");
  EXPECT_EQ(host.SheetName({1, 2}), "+2");
  EXPECT_EQ(host.ActiveSheet(), kPlusOne);
  EXPECT_EQ(host.ActiveCell(), (Cell{1, 1}));
  EXPECT_EQ(At(1, 10), Value());  // J1 empty: the index ends at row 50
  EXPECT_EQ(host.CountA(kPlusOne, Area::Of(1, 1, 50, 13)), int64_t{std::size(kSampleTopics)});
  EXPECT_EQ(host.CountA(kPlusOne, Area::Of(1, 14, 1048576, 14)), 1);      // one block in N
  EXPECT_EQ(host.GetText(kPlusOne, Cell{106, 2}), "110101198503120025");  // kept as text
}

TEST_F(SampleWorkbookTest, EveryIndexedTopicLeadsToItsBlockWithoutMovingAnything) {
  for (const SampleTopic& topic : kSampleTopics) {
    if (topic.block.row == 0) continue;
    Run(Code(topic.indexCell));
    EXPECT_EQ(host.ActiveCell(), topic.block) << topic.word;
    EXPECT_EQ(At(topic.block.row, topic.block.col), Value::Text(topic.word));
    EXPECT_EQ(At(topic.block.row, topic.block.col + 1), Value::Text("0"));  // typed '0
  }
  // The blocks stand at least ten rows apart already, so no jump inserted rows.
  for (const SampleTopic& topic : kSampleTopics) {
    if (topic.block.row != 0) {
      EXPECT_EQ(At(topic.block.row, topic.block.col), Value::Text(topic.word));
    }
  }
  EXPECT_TRUE(ui.Dialogs().empty());
}

TEST_F(SampleWorkbookTest, ATopicWithoutABlockGetsOne) {
  const SampleTopic& todo = kSampleTopics[std::size(kSampleTopics) - 1];
  ASSERT_EQ(todo.block.row, 0);
  Run(Code(todo.indexCell));
  // It goes ten rows below the last topic block of the last column block in use: N1's, which
  // ends at row 7.
  EXPECT_EQ(host.ActiveCell(), (Cell{17, 14}));
  EXPECT_EQ(At(17, 14), Value::Text(todo.word));
  EXPECT_EQ(At(17, 15), Value::Text("0"));
}

TEST_F(SampleWorkbookTest, InsertingRowsInTheBudgetKeepsItsTotalsPointingAtTheMonths) {
  host.ActivateCell(Cell{86, 3});
  Run("+3");
  EXPECT_EQ(host.GetFormula(kPlusOne, Cell{98, 3}), "=SUM(C83:C97)");
  EXPECT_EQ(host.GetFormula(kPlusOne, Cell{98, 5}), "=C98-D98");
  EXPECT_EQ(host.GetFormula(kPlusOne, Cell{89, 5}), "=C89-D89");  // April's balance moved down
  EXPECT_EQ(host.GetFormula(kPlusOne, Cell{85, 5}), "=C85-D85");
  EXPECT_EQ(At(122, 1), Value::Text("Travel"));
}

}  // namespace
}  // namespace tezlo
