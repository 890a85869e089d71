#include <gtest/gtest.h>

#include "host/host_error.h"
#include "memory/display_text.h"
#include "memory/memory_host.h"
#include "memory/typed_entry.h"

namespace tezlo {
namespace {

constexpr SheetRef kS{1, 1};

TEST(MemoryHostCellsTest, TextIsTakenAsTyped) {
  MemoryHost h;
  h.SetValue(kS, Cell{1, 1}, Value::Text("00123"));
  h.SetValue(kS, Cell{2, 1}, Value::Text("'0"));
  h.SetValue(kS, Cell{3, 1}, Value::Text("TRUE"));
  h.SetValue(kS, Cell{4, 1}, Value::Text("#N/A"));
  h.SetValue(kS, Cell{5, 1}, Value::Text("主题"));
  EXPECT_EQ(h.GetValue(kS, Cell{1, 1}), Value::Number(123));
  EXPECT_EQ(h.GetValue(kS, Cell{2, 1}), Value::Text("0"));
  EXPECT_TRUE(h.GetSheet(kS).Find(Cell{2, 1})->quotePrefix);
  EXPECT_EQ(h.GetText(kS, Cell{2, 1}), "0");
  EXPECT_EQ(h.GetValue(kS, Cell{3, 1}), Value::Boolean(true));
  EXPECT_EQ(h.GetValue(kS, Cell{4, 1}), Value::Error(ErrorCode::NA));
  EXPECT_EQ(h.GetValue(kS, Cell{5, 1}), Value::Text("主题"));
  // Writing again drops the apostrophe that an earlier entry had.
  h.SetValue(kS, Cell{2, 1}, Value::Text("7"));
  EXPECT_FALSE(h.GetSheet(kS).Find(Cell{2, 1})->quotePrefix);
}

TEST(MemoryHostCellsTest, TextFormattedCellsKeepText) {
  MemoryHost h;
  h.SetNumberFormat(kS, Area::Of(1, 1, 2, 1), "@");
  h.SetValue(kS, Cell{1, 1}, Value::Text("00123"));
  EXPECT_EQ(h.GetValue(kS, Cell{1, 1}), Value::Text("00123"));
  EXPECT_EQ(h.GetText(kS, Cell{1, 1}), "00123");
  // A number assigned as a number stays a number.
  h.SetValue(kS, Cell{2, 1}, Value::Number(5));
  EXPECT_EQ(h.GetValue(kS, Cell{2, 1}), Value::Number(5));
}

TEST(MemoryHostCellsTest, TypedDateSetsItsFormatOnAGeneralCellOnly) {
  MemoryHost h;
  h.SetValue(kS, Cell{1, 1}, Value::Text("1980-05-01"));
  const Value v = h.GetValue(kS, Cell{1, 1});
  ASSERT_TRUE(v.IsDate());
  EXPECT_EQ(v.AsNumber(), DateToSerial(1980, 5, 1));
  const std::string implied = ParseTypedText("1980-05-01", "General").impliedFormat;
  ASSERT_NE(implied, "");
  EXPECT_EQ(h.NumberFormat(kS, Cell{1, 1}), implied);
  EXPECT_EQ(h.GetText(kS, Cell{1, 1}), DisplayText(v, implied));
  EXPECT_NE(h.GetText(kS, Cell{1, 1}), GeneralText(v));

  h.SetNumberFormat(kS, Area::Of(Cell{2, 1}), "0.00");
  h.SetValue(kS, Cell{2, 1}, Value::Text("1980-05-01"));
  EXPECT_EQ(h.NumberFormat(kS, Cell{2, 1}), "0.00");

  h.SetValue(kS, Cell{3, 1}, Value::Date(DateToSerial(2024, 2, 29)));
  EXPECT_EQ(h.NumberFormat(kS, Cell{3, 1}), "yyyy/m/d");
  EXPECT_EQ(h.GetFormula(kS, Cell{3, 1}), "2024/2/29");
}

TEST(MemoryHostCellsTest, GeneralTextAndFormulaTextOfConstants) {
  MemoryHost h;
  h.SetValue(kS, Cell{1, 1}, Value::Number(110105199003077000.0));
  EXPECT_EQ(h.GetText(kS, Cell{1, 1}), "1.10105E+17");
  EXPECT_EQ(h.GetFormula(kS, Cell{1, 1}), "1.10105199003077E+17");
  h.SetValue(kS, Cell{2, 1}, Value::Number(13.5));
  EXPECT_EQ(h.GetFormula(kS, Cell{2, 1}), "13.5");
  h.SetValue(kS, Cell{3, 1}, Value::Boolean(false));
  EXPECT_EQ(h.GetText(kS, Cell{3, 1}), "FALSE");
  EXPECT_EQ(h.GetText(kS, Cell{4, 1}), "");
  EXPECT_EQ(h.GetFormula(kS, Cell{4, 1}), "");
}

TEST(MemoryHostCellsTest, FormulasKeepTheirLastValueUntilAValueReplacesThem) {
  MemoryHost h;
  h.SetFormula(kS, Cell{1, 2}, "=A1*2", Value::Number(4));
  EXPECT_TRUE(h.HasFormula(kS, Cell{1, 2}));
  EXPECT_EQ(h.GetFormula(kS, Cell{1, 2}), "=A1*2");
  EXPECT_EQ(h.GetValue(kS, Cell{1, 2}), Value::Number(4));
  h.SetFormula(kS, Cell{2, 2}, "=\"\"", Value::Text(""));
  EXPECT_EQ(h.CountA(kS, Area::Of(1, 2, 10, 2)), 2);  // "" from a formula counts
  h.SetValue(kS, Cell{1, 2}, Value::Number(9));
  EXPECT_FALSE(h.HasFormula(kS, Cell{1, 2}));
  EXPECT_EQ(h.GetFormula(kS, Cell{1, 2}), "9");
  // Without "=", a formula is a constant typed in.
  h.SetFormula(kS, Cell{3, 2}, "0042", Value());
  EXPECT_EQ(h.GetValue(kS, Cell{3, 2}), Value::Number(42));
  EXPECT_FALSE(h.HasFormula(kS, Cell{3, 2}));
}

TEST(MemoryHostCellsTest, ClearContentsKeepsFormatsAndComments) {
  MemoryHost h;
  h.SetValue(kS, Cell{1, 1}, Value::Number(1));
  h.SetColorIndex(kS, Area::Of(Cell{1, 1}), 6);
  h.AddComment(kS, Cell{1, 1}, "note");
  h.SetFormula(kS, Cell{2, 1}, "=1", Value::Number(1));
  h.SetValue(kS, Cell{3, 1}, Value::Number(3));
  h.ClearContents(kS, Area::Of(1, 1, 2, 1));
  EXPECT_EQ(h.GetValue(kS, Cell{1, 1}), Value());
  EXPECT_FALSE(h.HasFormula(kS, Cell{2, 1}));
  EXPECT_EQ(h.GetValue(kS, Cell{2, 1}), Value());
  EXPECT_EQ(h.ColorIndex(kS, Cell{1, 1}), 6);
  EXPECT_EQ(h.CommentText(kS, Cell{1, 1}), "note");
  EXPECT_EQ(h.GetValue(kS, Cell{3, 1}), Value::Number(3));
  EXPECT_EQ(h.CountA(kS, Area::Of(1, 1, 1048576, 1)), 1);
}

TEST(MemoryHostCellsTest, BlockTransfersReadAndWriteEveryCell) {
  MemoryHost h;
  Matrix m(2, 3);
  m.At(0, 0) = Value::Text("00123");
  m.At(0, 2) = Value::Number(2.5);
  m.At(1, 1) = Value::Text("x");
  h.SetValues(kS, Cell{4, 2}, m);
  const Matrix back = h.GetValues(kS, Area::Of(4, 2, 5, 4));
  EXPECT_EQ(back.At(0, 0), Value::Number(123));
  EXPECT_EQ(back.At(0, 1), Value());
  EXPECT_EQ(back.At(0, 2), Value::Number(2.5));
  EXPECT_EQ(back.At(1, 1), Value::Text("x"));
  EXPECT_THROW(h.SetValues(kS, Cell{1048576, 1}, m), HostError);
  EXPECT_EQ(h.GetValue(kS, Cell{1048576, 1}), Value());  // nothing written
  EXPECT_THROW(h.GetValues(kS, Area::Of(1, 1, 1048576, 16384)), HostError);
}

TEST(MemoryHostCellsTest, AddressesOutsideTheSheetAreRefused) {
  MemoryHost h;
  EXPECT_THROW(h.GetValue(kS, Cell{0, 1}), HostError);
  EXPECT_THROW(h.GetValue(kS, Cell{1, 16385}), HostError);
  EXPECT_THROW(h.SetValue(kS, Cell{1048577, 1}, Value::Number(1)), HostError);
  EXPECT_THROW(h.ClearContents(kS, Area::Of(2, 1, 1, 1)), HostError);
  EXPECT_THROW(h.GetValue({1, 4}, Cell{1, 1}), HostError);
  EXPECT_THROW(h.GetValue({2, 1}, Cell{1, 1}), HostError);
}

TEST(MemoryHostCellsTest, CommentsFollowTheirRules) {
  MemoryHost h;
  const Cell c{2, 2};
  EXPECT_FALSE(h.HasComment(kS, c));
  EXPECT_THROW(h.CommentText(kS, c), HostError);
  EXPECT_THROW(h.SetCommentText(kS, c, "x"), HostError);
  h.AddComment(kS, c, "");
  EXPECT_TRUE(h.HasComment(kS, c));
  EXPECT_THROW(h.AddComment(kS, c, "again"), HostError);
  h.SetCommentText(kS, c, "54,54\n13.5");
  EXPECT_EQ(h.CommentText(kS, c), "54,54\n13.5");
  h.ClearComments(kS, Area::Of(1, 1, 5, 5));
  EXPECT_FALSE(h.HasComment(kS, c));
  EXPECT_EQ(h.UsedRange(kS), Area::Of(Cell{1, 1}));  // nothing left of the cell
}

}  // namespace
}  // namespace tezlo
