#include <gtest/gtest.h>

#include "host/host_error.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

TEST(MemoryHostCopyTest, CopiesEverythingAndOverwritesTheDestination) {
  MemoryHost h;
  const SheetRef a{1, 1};
  const SheetRef b{1, 2};
  h.SetValue(a, Cell{1, 1}, Value::Text("'007"));
  h.SetFormula(a, Cell{2, 1}, "=A1", Value::Text("007"));
  h.SetNumberFormat(a, Area::Of(Cell{1, 2}), "0.00");
  h.SetValue(a, Cell{1, 2}, Value::Number(1));
  h.AddComment(a, Cell{2, 2}, "c");
  h.SetValue(b, Cell{11, 6}, Value::Text("old"));  // under a blank source cell
  h.Copy(a, Area::Of(1, 1, 2, 2), b, Cell{10, 5});
  EXPECT_EQ(h.GetValue(b, Cell{10, 5}), Value::Text("007"));
  EXPECT_TRUE(h.GetSheet(b).Find(Cell{10, 5})->quotePrefix);
  EXPECT_EQ(h.GetFormula(b, Cell{11, 5}), "=E10");  // re-referenced 9 rows down, 4 right
  EXPECT_EQ(h.GetText(b, Cell{10, 6}), "1.00");
  EXPECT_EQ(h.CommentText(b, Cell{11, 6}), "c");
  EXPECT_EQ(h.GetValue(b, Cell{11, 6}), Value());
  // The source stays.
  EXPECT_EQ(h.GetValue(a, Cell{1, 1}), Value::Text("007"));
}

TEST(MemoryHostCopyTest, ColumnFormatsTravelAsTheCellsShowThem) {
  MemoryHost h;
  const SheetRef a{1, 1};
  const SheetRef b{1, 2};
  h.SetColumnColorIndex(a, 1, 1, 43);
  h.SetValue(a, Cell{2, 1}, Value::Number(2));
  h.SetColumnColorIndex(b, 3, 3, 6);
  h.Copy(a, Area::Of(1, 1, 3, 1), b, Cell{1, 3});
  EXPECT_EQ(h.ColorIndex(b, Cell{1, 3}), 43);
  EXPECT_EQ(h.ColorIndex(b, Cell{2, 3}), 43);
  EXPECT_EQ(h.ColorIndex(b, Cell{4, 3}), 6);
  // Whole columns carry the column format itself.
  h.Copy(a, Area::Of(1, 1, 1048576, 1), b, Cell{1, 8});
  EXPECT_EQ(h.ColorIndex(b, Cell{1000000, 8}), 43);
  EXPECT_EQ(h.GetValue(b, Cell{2, 8}), Value::Number(2));
  EXPECT_EQ(h.GetSheet(b).Column(8)->Size(), 1u);
}

TEST(MemoryHostCopyTest, OverlappingCopyOnOneSheetAndOtherWorkbooks) {
  MemoryHost h;
  const SheetRef a{1, 1};
  for (int r = 1; r <= 4; ++r) h.SetValue(a, Cell{r, 1}, Value::Number(r));
  h.Copy(a, Area::Of(1, 1, 4, 1), a, Cell{3, 1});
  for (int r = 1; r <= 6; ++r) {
    EXPECT_EQ(h.GetValue(a, Cell{r, 1}), Value::Number(r <= 2 ? r : r - 2)) << r;
  }
  h.Settings().rows = 65536;
  h.Settings().cols = 256;
  h.AddWorkbook();
  h.Copy(a, Area::Of(1, 1, 6, 1), {2, 1}, Cell{65531, 256});
  EXPECT_EQ(h.GetValue({2, 1}, Cell{65536, 256}), Value::Number(4));
  EXPECT_THROW(h.Copy(a, Area::Of(1, 1, 6, 1), {2, 1}, Cell{65532, 256}), HostError);
  EXPECT_THROW(h.Copy(a, Area::Of(1, 1, 1048576, 1), {2, 1}, Cell{1, 1}), HostError);
}

}  // namespace
}  // namespace tezlo
