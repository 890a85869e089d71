#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_error.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

constexpr SheetRef kS{1, 1};

class MemoryHostSortTest : public ::testing::Test {
 protected:
  // Column A the key, column B a label naming the row's original position.
  void Rows(const std::vector<Value>& keys) {
    for (size_t i = 0; i < keys.size(); ++i) {
      const auto r = static_cast<int32_t>(i) + 1;
      h.SetValue(kS, Cell{r, 1}, keys[i]);
      h.SetValue(kS, Cell{r, 2}, Value::Text("r" + std::to_string(r)));
    }
  }
  std::vector<std::string> Labels(int32_t n) {
    std::vector<std::string> out;
    for (int32_t r = 1; r <= n; ++r) {
      const Value v = h.GetValue(kS, Cell{r, 2});
      out.push_back(v.IsText() ? v.AsText() : "-");
    }
    return out;
  }
  MemoryHost h;
};

// A coloured column whose colour runs around a filled cell: the format-only cells on both sides
// become records for the sort without colliding with the filled one, and every colour and text
// moves with its row.
TEST_F(MemoryHostSortTest, FormatRunsSplitByAFilledCellSortWithTheirRows) {
  h.SetColorIndex(kS, Area::Of(1, 2, 6, 2), 6);
  for (int32_t r = 1; r <= 6; ++r) h.SetValue(kS, Cell{r, 1}, Value::Number(7 - r));  // keys 6..1
  h.SetValue(kS, Cell{3, 2}, Value::Text("r3"));  // B1:B2 and B4:B6 hold only the colour
  h.SetColorIndex(kS, Area::Of(5, 2, 5, 2), 4);
  h.Sort(kS, Area::Of(1, 1, 6, 2), 1, false);
  EXPECT_EQ(Labels(6), (std::vector<std::string>{"-", "-", "-", "r3", "-", "-"}));
  EXPECT_EQ(h.ColorIndex(kS, Cell{2, 2}), 4);  // from row 5
  for (int32_t r : {1, 3, 4, 5, 6}) EXPECT_EQ(h.ColorIndex(kS, Cell{r, 2}), 6) << r;
}

TEST_F(MemoryHostSortTest, AscendingNumbersTextBooleansErrorsThenBlanks) {
  Rows({Value::Boolean(true), Value(), Value::Text("b"), Value::Number(2),
        Value::Error(ErrorCode::NA), Value::Text("A"), Value::Number(-1)});
  h.Sort(kS, Area::Of(1, 1, 7, 2), 1, false);
  EXPECT_EQ(Labels(7), (std::vector<std::string>{"r7", "r4", "r6", "r3", "r1", "r5", "r2"}));
  EXPECT_EQ(h.GetValue(kS, Cell{1, 1}), Value::Number(-1));
  EXPECT_EQ(h.GetValue(kS, Cell{7, 1}), Value());
}

TEST_F(MemoryHostSortTest, DescendingKeepsBlanksLastAndEqualKeysInOrder) {
  Rows({Value::Number(1), Value(), Value::Number(3), Value::Number(1), Value::Number(3)});
  h.Sort(kS, Area::Of(1, 1, 5, 2), 1, true);
  EXPECT_EQ(Labels(5), (std::vector<std::string>{"r3", "r5", "r1", "r4", "r2"}));
}

TEST_F(MemoryHostSortTest, FullyBlankRowsKeepTheirPlaceAmongBlankKeys) {
  h.SetValue(kS, Cell{1, 1}, Value::Number(5));
  h.SetValue(kS, Cell{3, 2}, Value::Text("x"));  // blank key, label only
  h.SetValue(kS, Cell{4, 1}, Value::Number(1));
  h.Sort(kS, Area::Of(1, 1, 4, 2), 1, false);
  EXPECT_EQ(h.GetValue(kS, Cell{1, 1}), Value::Number(1));
  EXPECT_EQ(h.GetValue(kS, Cell{2, 1}), Value::Number(5));
  EXPECT_EQ(h.GetValue(kS, Cell{3, 2}), Value());  // the blank row 2 comes first
  EXPECT_EQ(h.GetValue(kS, Cell{4, 2}), Value::Text("x"));
}

TEST_F(MemoryHostSortTest, WholeRowsOfTheAreaMoveWithFormatsAndComments) {
  Rows({Value::Number(2), Value::Number(1)});
  h.SetFormula(kS, Cell{1, 3}, "=A1", Value::Number(2));
  h.SetColorIndex(kS, Area::Of(Cell{1, 2}), 6);
  h.AddComment(kS, Cell{1, 1}, "two");
  h.SetValue(kS, Cell{1, 4}, Value::Text("outside"));
  h.Sort(kS, Area::Of(1, 1, 2, 3), 1, false);
  EXPECT_EQ(h.GetFormula(kS, Cell{2, 3}), "=A2");  // re-referenced with its row
  EXPECT_EQ(h.ColorIndex(kS, Cell{2, 2}), 6);
  EXPECT_EQ(h.ColorIndex(kS, Cell{1, 2}), 0);
  EXPECT_EQ(h.CommentText(kS, Cell{2, 1}), "two");
  EXPECT_EQ(h.GetValue(kS, Cell{1, 4}), Value::Text("outside"));
}

TEST_F(MemoryHostSortTest, KeyOutsideTheAreaIsRefused) {
  Rows({Value::Number(2), Value::Number(1)});
  EXPECT_THROW(h.Sort(kS, Area::Of(1, 1, 2, 2), 3, false), HostError);
  EXPECT_EQ(Labels(2), (std::vector<std::string>{"r1", "r2"}));
}

TEST_F(MemoryHostSortTest, ChineseSortsByPinyinAndWholeColumnsCostWhatIsStored) {
  Rows({Value::Text("张"), Value::Text("李"), Value::Text("王")});  // zhang, li, wang
  h.Sort(kS, Area::Of(1, 1, 1048576, 2), 1, false);
  EXPECT_EQ(Labels(3), (std::vector<std::string>{"r2", "r3", "r1"}));
}

}  // namespace
}  // namespace tezlo
