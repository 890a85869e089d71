#include <gtest/gtest.h>

#include "host/host_error.h"
#include "memory/display_text.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

constexpr SheetRef kS{1, 1};
const Area kColumnA = Area::Of(1, 1, 1048576, 1);

TEST(MemoryHostQueriesTest, CountAOverAreasAndWholeColumns) {
  MemoryHost h;
  EXPECT_EQ(h.CountA(kS, kColumnA), 0);
  h.SetValue(kS, Cell{1, 1}, Value::Number(0));
  h.SetValue(kS, Cell{1048576, 1}, Value::Text("end"));
  h.SetValue(kS, Cell{5, 2}, Value::Boolean(false));
  h.SetValue(kS, Cell{6, 2}, Value::Error(ErrorCode::Div0));
  h.SetColorIndex(kS, Area::Of(7, 2, 9, 2), 3);
  EXPECT_EQ(h.CountA(kS, kColumnA), 2);
  EXPECT_EQ(h.CountA(kS, Area::Of(1, 1, 1048576, 16384)), 4);
  EXPECT_EQ(h.CountA(kS, Area::Of(2, 1, 1048575, 16384)), 2);
  EXPECT_EQ(h.CountA(kS, Area::Of(1, 3, 1048576, 16384)), 0);
}

TEST(MemoryHostQueriesTest, MatchTextWithoutCaseAndWithWildcards) {
  MemoryHost h;
  h.SetValue(kS, Cell{2, 1}, Value::Number(123));
  h.SetValue(kS, Cell{3, 1}, Value::Text("Apple pie"));
  h.SetValue(kS, Cell{4, 1}, Value::Text("主题二"));
  h.SetValue(kS, Cell{5, 1}, Value::Text("Ärger"));
  h.SetValue(kS, Cell{6, 1}, Value::Text("a*c"));
  h.SetValue(kS, Cell{7, 1}, Value::Text("abc"));
  EXPECT_EQ(h.Match(kS, Value::Text("APPLE PIE"), kColumnA), 3);
  EXPECT_EQ(h.Match(kS, Value::Text("主题二"), kColumnA), 4);
  EXPECT_EQ(h.Match(kS, Value::Text("äRGER"), kColumnA), 5);
  EXPECT_EQ(h.Match(kS, Value::Text("app*"), kColumnA), 3);
  EXPECT_EQ(h.Match(kS, Value::Text("主题?"), kColumnA), 4);
  EXPECT_EQ(h.Match(kS, Value::Text("a~*c"), kColumnA), 6);
  EXPECT_EQ(h.Match(kS, Value::Text("a?c"), kColumnA), 6);
  // Positions count from the area's first cell.
  EXPECT_EQ(h.Match(kS, Value::Text("abc"), Area::Of(5, 1, 9, 1)), 3);
  // Text never equals a number and the other way round.
  EXPECT_THROW(h.Match(kS, Value::Text("123"), kColumnA), HostError);
  EXPECT_EQ(h.Match(kS, Value::Number(123), kColumnA), 2);
  EXPECT_THROW(h.Match(kS, Value::Text("Apple"), kColumnA), HostError);
}

TEST(MemoryHostQueriesTest, MatchNumbersDatesBooleansAndRows) {
  MemoryHost h;
  h.SetValue(kS, Cell{1, 3}, Value::Boolean(true));
  h.SetValue(kS, Cell{1, 5}, Value::Date(DateToSerial(2020, 1, 1)));
  h.SetValue(kS, Cell{1, 9}, Value::Number(1));
  const Area row1 = Area::Of(1, 2, 1, 16384);
  EXPECT_EQ(h.Match(kS, Value::Boolean(true), row1), 2);
  EXPECT_EQ(h.Match(kS, Value::Number(DateToSerial(2020, 1, 1)), row1), 4);
  EXPECT_EQ(h.Match(kS, Value::Number(1), row1), 8);  // TRUE is not 1
  EXPECT_THROW(h.Match(kS, Value::Boolean(false), row1), HostError);
  EXPECT_THROW(h.Match(kS, Value::Number(1), Area::Of(1, 1, 2, 9)), HostError);  // not 1-D
  EXPECT_THROW(h.Match(kS, Value(), row1), HostError);
}

TEST(MemoryHostQueriesTest, UsedRangeCoversContentFormatsAndComments) {
  MemoryHost h;
  EXPECT_EQ(h.UsedRange(kS), Area::Of(Cell{1, 1}));
  h.SetValue(kS, Cell{5, 3}, Value::Number(1));
  EXPECT_EQ(h.UsedRange(kS), Area::Of(Cell{5, 3}));
  h.SetColorIndex(kS, Area::Of(Cell{9, 2}), 4);
  h.AddComment(kS, Cell{3, 7}, "c");
  EXPECT_EQ(h.UsedRange(kS), Area::Of(3, 2, 9, 7));
  // Formats set once per column do not stretch it down the sheet.
  h.SetColumnColorIndex(kS, 20, 20, 43);
  EXPECT_EQ(h.UsedRange(kS), Area::Of(3, 2, 9, 7));
  // Recomputed after deletions.
  h.DeleteRows(kS, 6, 1048576);
  EXPECT_EQ(h.UsedRange(kS), Area::Of(3, 3, 5, 7));
  h.DeleteColumns(kS, 4, 16384);
  EXPECT_EQ(h.UsedRange(kS), Area::Of(Cell{5, 3}));
}

}  // namespace
}  // namespace tezlo
