#include <gtest/gtest.h>

#include "host/host_error.h"
#include "memory/column_units.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

constexpr SheetRef kS{1, 1};

TEST(MemoryHostFormatsTest, ColumnWidthsInCharactersAndPoints) {
  MemoryHost h;
  EXPECT_EQ(h.ColumnWidth(kS, 1), 8.43);
  EXPECT_DOUBLE_EQ(h.ColumnWidthPoints(kS, 1), ColumnCharsToPoints(8.43, 7));
  h.SetColumnWidth(kS, 3, 5, 10.93);
  EXPECT_EQ(h.ColumnWidth(kS, 4), 10.93);
  EXPECT_DOUBLE_EQ(h.ColumnWidthPoints(kS, 4), ColumnCharsToPoints(10.93, 7));
  h.SetColumnWidth(kS, 1, 16384, 0);
  EXPECT_EQ(h.ColumnWidth(kS, 16384), 0);
  h.SetColumnWidth(kS, 2, 2, 255);
  EXPECT_THROW(h.SetColumnWidth(kS, 2, 2, 255.01), HostError);
  EXPECT_THROW(h.SetColumnWidth(kS, 2, 2, -1), HostError);
  EXPECT_THROW(h.SetColumnWidth(kS, 0, 2, 5), HostError);
  EXPECT_THROW(h.ColumnWidth(kS, 16385), HostError);
  EXPECT_EQ(h.ColumnWidth(kS, 2), 255);
}

TEST(MemoryHostFormatsTest, DigitWidthIsAWorkbookSetting) {
  MemoryHost h;
  h.Settings().maxDigitWidthPx = 8;
  h.AddWorkbook();
  EXPECT_DOUBLE_EQ(h.ColumnWidthPoints({2, 1}, 1), ColumnCharsToPoints(8.43, 8));
  EXPECT_DOUBLE_EQ(h.ColumnWidthPoints({1, 1}, 1), ColumnCharsToPoints(8.43, 7));
}

TEST(MemoryHostFormatsTest, RowHeightsInPoints) {
  MemoryHost h;
  EXPECT_EQ(h.RowHeight(kS, 1), 13.5);
  h.SetRowHeight(kS, 1, 1048576, 11.25);
  EXPECT_EQ(h.RowHeight(kS, 1048576), 11.25);
  h.SetRowHeight(kS, 7, 7, 0);
  EXPECT_EQ(h.RowHeight(kS, 7), 0);
  h.SetRowHeight(kS, 8, 8, 409);
  EXPECT_THROW(h.SetRowHeight(kS, 8, 8, 409.5), HostError);
  EXPECT_THROW(h.SetRowHeight(kS, 8, 8, -0.5), HostError);
  EXPECT_THROW(h.RowHeight(kS, 0), HostError);
  EXPECT_EQ(h.GetSheet(kS).RowHeights().Runs().size(), 4u);  // runs, not a million rows
}

TEST(MemoryHostFormatsTest, CellColourOverridesTheColumnColour) {
  MemoryHost h;
  h.SetColumnColorIndex(kS, 14, 14, 43);
  EXPECT_EQ(h.ColorIndex(kS, Cell{1048576, 14}), 43);
  EXPECT_EQ(h.ColorIndex(kS, Cell{1, 13}), 0);
  h.SetColorIndex(kS, Area::Of(2, 14, 3, 14), 0);  // no fill, against the column's
  h.SetColorIndex(kS, Area::Of(Cell{4, 14}), 6);
  EXPECT_EQ(h.ColorIndex(kS, Cell{2, 14}), 0);
  EXPECT_EQ(h.ColorIndex(kS, Cell{4, 14}), 6);
  EXPECT_EQ(h.ColorIndex(kS, Cell{5, 14}), 43);
  // Colouring the whole column again takes over every cell of it.
  h.SetColumnColorIndex(kS, 14, 14, 10);
  EXPECT_EQ(h.ColorIndex(kS, Cell{2, 14}), 10);
  EXPECT_EQ(h.ColorIndex(kS, Cell{4, 14}), 10);
  EXPECT_TRUE(h.GetSheet(kS).Columns().empty());  // stored once, not per cell
  EXPECT_THROW(h.SetColorIndex(kS, Area::Of(Cell{1, 1}), 57), HostError);
  EXPECT_THROW(h.SetColumnColorIndex(kS, 1, 1, -1), HostError);
  EXPECT_THROW(h.SetColumnColorIndex(kS, 1, 16385, 3), HostError);
}

TEST(MemoryHostFormatsTest, AWholeColumnAreaIsFormattedOnce) {
  MemoryHost h;
  h.SetColorIndex(kS, Area::Of(51, 1, 1048575, 1), 43);
  EXPECT_EQ(h.ColorIndex(kS, Cell{50, 1}), 0);
  EXPECT_EQ(h.ColorIndex(kS, Cell{51, 1}), 43);
  EXPECT_EQ(h.ColorIndex(kS, Cell{1048575, 1}), 43);
  EXPECT_EQ(h.ColorIndex(kS, Cell{1048576, 1}), 0);
  h.SetColorIndex(kS, Area::Of(1, 2, 1048576, 3), 5);
  EXPECT_EQ(h.ColorIndex(kS, Cell{77, 3}), 5);
  // Column A's band is one format run, not a million records.
  EXPECT_TRUE(h.GetSheet(kS).Columns().empty());
  EXPECT_EQ(h.GetSheet(kS).RunCount(), 1u);
  EXPECT_EQ(h.GetSheet(kS).ColumnColors().Runs().size(), 1u);
}

TEST(MemoryHostFormatsTest, NumberFormatsAndLocalNames) {
  MemoryHost h;
  EXPECT_EQ(h.NumberFormat(kS, Cell{1, 1}), "General");
  h.SetNumberFormat(kS, Area::Of(1, 1, 2, 2), "0.00");
  EXPECT_EQ(h.NumberFormat(kS, Cell{2, 2}), "0.00");
  h.SetValue(kS, Cell{1, 1}, Value::Number(3));
  EXPECT_EQ(h.GetText(kS, Cell{1, 1}), "3.00");
  h.SetNumberFormatLocal(kS, Area::Of(Cell{1, 1}), "G/通用格式");
  EXPECT_EQ(h.NumberFormat(kS, Cell{1, 1}), "General");
  EXPECT_EQ(h.GetText(kS, Cell{1, 1}), "3");
  h.SetNumberFormat(kS, Area::Of(1, 5, 1048576, 5), "@");
  EXPECT_EQ(h.NumberFormat(kS, Cell{999999, 5}), "@");
  h.SetValue(kS, Cell{9, 5}, Value::Text("007"));
  EXPECT_EQ(h.GetValue(kS, Cell{9, 5}), Value::Text("007"));
}

}  // namespace
}  // namespace tezlo
