// Where Calc and the memory engine differ, and why: each difference between the two spreadsheets
// asserted as it is, so that a change on either side shows.
#include <gtest/gtest.h>

#include <com/sun/star/frame/XModel.hpp>

#include "host/host_error.h"
#include "memory/column_units.h"
#include "memory/memory_host.h"
#include "office_for_tests.h"

namespace tezlo {
namespace {

constexpr SheetRef kSheet{1, 1};

// Calc keeps a width as whole pixels (twips, in fact) and reads back the characters those pixels
// hold, as Excel does; the memory engine keeps the characters it was given. The points agree.
TEST(CalcHostDifferences, WidthsReadBackInWholePixels) {
  MemoryHost memory;
  auto calc = NewCalcHost(1);
  for (const double chars : {4.5, 8.43, 10.0, 0.5, 30.3}) {
    memory.SetColumnWidth(kSheet, 2, 2, chars);
    calc->SetColumnWidth(kSheet, 2, 2, chars);
    EXPECT_DOUBLE_EQ(calc->ColumnWidthPoints(kSheet, 2), memory.ColumnWidthPoints(kSheet, 2))
        << chars;
    EXPECT_DOUBLE_EQ(memory.ColumnWidth(kSheet, 2), chars);
    EXPECT_DOUBLE_EQ(calc->ColumnWidth(kSheet, 2),
                     ColumnPointsToChars(memory.ColumnWidthPoints(kSheet, 2), 7))
        << chars;
  }
  // 8.43 and 10 are whole pixels already: both read them back unchanged.
  calc->SetColumnWidth(kSheet, 3, 3, 10);
  EXPECT_DOUBLE_EQ(calc->ColumnWidth(kSheet, 3), 10);
}

// A new Calc document's columns and rows have Calc's own default sizes (0.889 inch columns,
// 0.45 cm rows), not Excel's 8.43 characters and 13.5 points; heights read back in twips.
TEST(CalcHostDifferences, DefaultSizesAreCalcs) {
  MemoryHost memory;
  auto calc = NewCalcHost(1);
  EXPECT_DOUBLE_EQ(memory.ColumnWidthPoints(kSheet, 1), 48);
  EXPECT_DOUBLE_EQ(calc->ColumnWidthPoints(kSheet, 1), 64);
  EXPECT_DOUBLE_EQ(memory.RowHeight(kSheet, 1), 13.5);
  EXPECT_DOUBLE_EQ(calc->RowHeight(kSheet, 1), 12.8);
  calc->SetRowHeight(kSheet, 1, 1, 13.5);
  EXPECT_DOUBLE_EQ(calc->RowHeight(kSheet, 1), 13.5);
  calc->SetRowHeight(kSheet, 1, 1, 0);
  EXPECT_DOUBLE_EQ(calc->RowHeight(kSheet, 1), 0);
}

// Calc keeps a colour, not a palette index: an index whose colour the palette holds twice reads
// back as the first index with that colour. Index 43 (the column-block mark) is unique and goes
// both ways; so does clearing with 0.
TEST(CalcHostDifferences, ColourIndexesByTheirColour) {
  MemoryHost memory;
  auto calc = NewCalcHost(1);
  for (Host* h : {static_cast<Host*>(&memory), static_cast<Host*>(calc.get())}) {
    h->SetColorIndex(kSheet, Area::Of(1, 1, 2, 2), 43);
    h->SetColorIndex(kSheet, Area::Of(3, 1, 3, 1), 32);  // 0x0000FF, as index 5
    h->SetColorIndex(kSheet, Area::Of(4, 1, 4, 1), 5);
    h->SetColumnColorIndex(kSheet, 4, 4, 43);
    EXPECT_THROW(h->SetColorIndex(kSheet, Area::Of(1, 1, 1, 1), 57), HostError);
    EXPECT_THROW(h->SetColorIndex(kSheet, Area::Of(1, 1, 1, 1), -1), HostError);
  }
  for (const Cell c : {Cell{1, 1}, Cell{2, 2}, Cell{4, 1}, Cell{5, 3}, Cell{1000, 4}}) {
    EXPECT_EQ(calc->ColorIndex(kSheet, c), memory.ColorIndex(kSheet, c)) << c.row << "/" << c.col;
  }
  EXPECT_EQ(memory.ColorIndex(kSheet, {3, 1}), 32);
  EXPECT_EQ(calc->ColorIndex(kSheet, {3, 1}), 5);
  calc->SetColorIndex(kSheet, Area::Of(1, 1, 1, 1), 0);
  EXPECT_EQ(calc->ColorIndex(kSheet, {1, 1}), 0);
}

// Calc shows a number in a date format as a date, and Range.Value gives a Date for it as Excel
// does; the memory engine gives back the kind of value it was given. Typed dates agree.
TEST(CalcHostDifferences, NumbersInDateFormatsReadAsDates) {
  MemoryHost memory;
  auto calc = NewCalcHost(1);
  for (Host* h : {static_cast<Host*>(&memory), static_cast<Host*>(calc.get())}) {
    h->SetValue(kSheet, {1, 1}, Value::Number(29342));
    h->SetNumberFormat(kSheet, Area::Of(1, 1, 1, 1), "yyyy-mm-dd");
    h->SetValue(kSheet, {2, 1}, Value::Text("1980-05-01"));
    h->SetValue(kSheet, {3, 1}, Value::Text("TRUE"));
  }
  EXPECT_EQ(memory.GetValue(kSheet, {1, 1}), Value::Number(29342));
  EXPECT_EQ(calc->GetValue(kSheet, {1, 1}), Value::Date(29342));
  EXPECT_EQ(calc->GetValue(kSheet, {2, 1}), memory.GetValue(kSheet, {2, 1}));
  EXPECT_EQ(calc->NumberFormat(kSheet, {2, 1}), memory.NumberFormat(kSheet, {2, 1}));
  // A boolean is a number in a boolean format in Calc; read back, it is the boolean, "General".
  EXPECT_EQ(calc->GetValue(kSheet, {3, 1}), Value::Boolean(true));
  EXPECT_EQ(calc->GetValue(kSheet, {3, 1}), memory.GetValue(kSheet, {3, 1}));
  EXPECT_EQ(calc->NumberFormat(kSheet, {3, 1}), memory.NumberFormat(kSheet, {3, 1}));
}

// A selection's areas come back as given, overlapping or not, with the active cell chosen,
// while Calc still shows that selection (Calc itself joins overlapping areas).
TEST(CalcHostDifferences, OverlappingAreasOfASelectionKeptAsGiven) {
  MemoryHost memory;
  auto calc = NewCalcHost(1);
  const Selection chosen{{Area::Of(2, 2, 5, 4), Area::Of(4, 3, 6, 3)}, Cell{6, 3}};
  memory.Select(chosen);
  calc->Select(chosen);
  EXPECT_EQ(calc->GetSelection(), memory.GetSelection());
  calc->ActivateCell({3, 3});
  memory.ActivateCell({3, 3});
  EXPECT_EQ(calc->GetSelection(), memory.GetSelection());
  calc->ActivateCell({9, 9});
  memory.ActivateCell({9, 9});
  EXPECT_EQ(calc->GetSelection(), memory.GetSelection());
  EXPECT_THROW(calc->Select(Selection{{Area::Of(1, 1, 2, 2)}, Cell{3, 3}}), HostError);
}

// An empty comment exists (the tools make one and then write its text), though Calc takes an
// empty note text for a removal.
TEST(CalcHostDifferences, EmptyCommentsExist) {
  MemoryHost memory;
  auto calc = NewCalcHost(1);
  for (Host* h : {static_cast<Host*>(&memory), static_cast<Host*>(calc.get())}) {
    h->AddComment(kSheet, {2, 2}, "");
    EXPECT_TRUE(h->HasComment(kSheet, {2, 2}));
    EXPECT_EQ(h->CommentText(kSheet, {2, 2}), "");
    EXPECT_THROW(h->AddComment(kSheet, {2, 2}, "again"), HostError);
    h->SetCommentText(kSheet, {2, 2}, "line one\nline two");
    EXPECT_EQ(h->CommentText(kSheet, {2, 2}), "line one\nline two");
    h->ClearComments(kSheet, Area::Of(1, 1, 3, 3));
    EXPECT_FALSE(h->HasComment(kSheet, {2, 2}));
    EXPECT_THROW(h->SetCommentText(kSheet, {2, 2}, "x"), HostError);
  }
}

// Screen updating off locks the controllers of every open document, and of one opened while it
// is off; on again, they are unlocked.
TEST(CalcHostDifferences, ScreenUpdatingLocksTheControllers) {
  auto calc = NewCalcHost(1);
  auto locked = [&](int32_t book) {
    return css::uno::Reference<css::frame::XModel>(calc->Document(book), css::uno::UNO_QUERY_THROW)
        ->hasControllersLocked();
  };
  EXPECT_TRUE(calc->ScreenUpdating());
  EXPECT_FALSE(locked(1));
  calc->SetScreenUpdating(false);
  EXPECT_FALSE(calc->ScreenUpdating());
  EXPECT_TRUE(locked(1));
  calc->AddWorkbook();
  EXPECT_TRUE(locked(2));
  calc->SetValue({2, 1}, {1, 1}, Value::Number(5));  // work goes on while the screen is still
  EXPECT_EQ(calc->GetValue({2, 1}, {1, 1}), Value::Number(5));
  calc->SetScreenUpdating(true);
  EXPECT_FALSE(locked(1));
  EXPECT_FALSE(locked(2));
}

// Operations the adapter does not carry out yet refuse plainly rather than doing nothing.
TEST(CalcHostDifferences, NotYetAvailableOperationsRefuse) {
  auto calc = NewCalcHost(1);
  EXPECT_THROW(calc->BeginEditing(), HostError);
  EXPECT_THROW(calc->SetValue(kSheet, {1, 1}, Value::Error(ErrorCode::NA)), HostError);
}

// A copy into another workbook goes through a sheet taken into the destination for the moment:
// the cells, their formulas and comments arrive, and no sheet is left behind on either side.
TEST(CalcHostDifferences, CopyBetweenWorkbooksLeavesNoSheetBehind) {
  auto calc = NewCalcHost(1);
  calc->SetValue(kSheet, {1, 1}, Value::Text("甲"));
  calc->SetValue(kSheet, {2, 2}, Value::Number(4));
  calc->SetFormula(kSheet, {2, 1}, "=B2*2", Value::Number(8));
  calc->AddComment(kSheet, {1, 1}, "note\r\nsecond line");
  const int32_t other = calc->AddWorkbook();
  calc->Copy(kSheet, Area::Of(1, 1, 2, 2), {other, 1}, {3, 3});
  EXPECT_EQ(calc->SheetCount(1), 1);
  EXPECT_EQ(calc->SheetCount(other), 1);
  EXPECT_EQ(calc->GetValue({other, 1}, {3, 3}), Value::Text("甲"));
  EXPECT_EQ(calc->GetValue({other, 1}, {4, 4}), Value::Number(4));
  EXPECT_EQ(calc->GetFormula({other, 1}, {4, 3}), "=D4*2");
  EXPECT_EQ(calc->CommentText({other, 1}, {3, 3}), "note\r\nsecond line");
}

}  // namespace
}  // namespace tezlo
