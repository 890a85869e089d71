#include "memory/sheet.h"

#include <gtest/gtest.h>

#include <vector>

#include "host/host_error.h"
#include "memory/workbook.h"

namespace tezlo {
namespace {

void Put(Sheet& s, Cell c, double v) {
  s.Edit(c, [v](CellRecord& r) { r.value = Value::Number(v); });
}

TEST(SheetTest, CellsAreVisitedRowByRowLeftToRight) {
  Sheet s("S", 100, 100);
  Put(s, Cell{3, 1}, 1);
  Put(s, Cell{1, 9}, 2);
  Put(s, Cell{1, 2}, 3);
  Put(s, Cell{3, 4}, 4);
  std::vector<Cell> seen;
  s.ForEachCellByRow([&](Cell c, const CellRecord&) { seen.push_back(c); });
  EXPECT_EQ(seen, (std::vector<Cell>{{1, 2}, {1, 9}, {3, 1}, {3, 4}}));
}

TEST(SheetTest, EditAreaMakesAndDropsRecords) {
  Sheet s("S", 100, 100);
  Put(s, Cell{2, 2}, 7);
  s.EditArea(Area::Of(1, 1, 3, 2), [](Cell, CellRecord& r) { r.colorIndex = 4; });
  EXPECT_EQ(s.Column(1)->Size(), 3u);
  EXPECT_EQ(s.Find(Cell{2, 2})->value, Value::Number(7));
  s.EditArea(Area::Of(1, 1, 3, 2), [](Cell, CellRecord& r) { r.colorIndex = kInheritColor; });
  EXPECT_EQ(s.Column(1), nullptr);
  EXPECT_EQ(s.Column(2)->Size(), 1u);
}

TEST(WorkbookTest, GridLimitsAndReaderSheets) {
  EXPECT_THROW(Workbook("B", 1048577, 10, 7, 1), HostError);
  EXPECT_THROW(Workbook("B", 10, 16385, 7, 1), HostError);
  EXPECT_THROW(Workbook("B", 0, 10, 7, 1), HostError);
  Workbook b("B", 65536, 256, 7, 0);
  EXPECT_EQ(b.SheetCount(), 1);
  b.AppendSheet("+1");
  EXPECT_THROW(b.AppendSheet("SHEET1"), HostError);
  EXPECT_THROW(b.AppendSheet("a/b"), HostError);
  EXPECT_EQ(b.FindSheet("+1"), 2);
  EXPECT_EQ(b.GetSheet(2).Rows(), 65536);
}

}  // namespace
}  // namespace tezlo
