#include "memory/reference_shift.h"

#include <gtest/gtest.h>

namespace tezlo {
namespace {

const GridSize kGrid;

RefShift Insert(int r1, int c1, int r2, int c2) {
  return InsertDownShift("S", kGrid, r1, c1, r2, c2);
}
RefShift Delete(int r1, int c1, int r2, int c2) {
  return DeleteUpShift("S", kGrid, r1, c1, r2, c2);
}
RefShift InsertRows(int first, int last) { return Insert(first, 1, last, kGrid.cols); }
// Cells inserted with a shift to the right (columns first..last in rows r1..r2).
RefShift InsertRight(int r1, int first, int r2, int last) {
  return RefShift{RefShift::Axis::Cols, true, first, last - first + 1, r1, r2, "S", kGrid};
}

std::string Sqref(std::string_view sqref, const RefShift& s) { return ShiftSqref(sqref, s); }

TEST(ShiftSqref, InsertedCellsMoveGrowOrExtendAnAreaInsideTheBand) {
  const RefShift s = Insert(4, 2, 5, 4);  // two rows at row 4, columns B..D
  EXPECT_EQ(Sqref("B4:D6", s), "B6:D8");  // at the insertion: moves
  EXPECT_EQ(Sqref("B2:C6", s), "B2:C8");  // across it: grows
  EXPECT_EQ(Sqref("C2:D3", s), "C2:D5");  // just before it: the new cells take its format
  EXPECT_EQ(Sqref("B1:D2", s), "B1:D2");  // further before: stays
  EXPECT_EQ(Sqref("C7", s), "C9");
  // Crossing the band's edge: the area stays; new cells under its part in the band join it.
  EXPECT_EQ(Sqref("A5:C9", s), "A5:C9");
  EXPECT_EQ(Sqref("C1:F3", s), "C1:F3 C4:D5");
  EXPECT_EQ(Sqref("E1:F3", s), "E1:F3");  // beside the band: nothing joins
  // Across the sheet's end: what is pushed off is lost.
  EXPECT_EQ(Sqref("B1048570:B1048576", s), "B1048572:B1048576");
  EXPECT_EQ(Sqref("B1048575:C1048576", s), "");
  // Whole columns stay whole.
  EXPECT_EQ(Sqref("B1:B1048576", s), "B1:B1048576");
}

TEST(ShiftSqref, DeletedCellsAreLostAndWhatFollowsClosesUp) {
  const RefShift s = Delete(4, 2, 5, 4);  // rows 4..5 of columns B..D
  EXPECT_EQ(Sqref("B2:D9", s), "B2:D7");
  EXPECT_EQ(Sqref("B4:D5", s), "");
  EXPECT_EQ(Sqref("B4:D5 C9", s), "C7");
  // An area losing cells across the band's edge follows its cells: the part in the band closes
  // up, the rest stays, in several areas.
  EXPECT_EQ(Sqref("A2:E9", s), "A2:A9 B2:D7 E2:E9");
  EXPECT_EQ(Sqref("C4:E5", s), "E4:E5");
  // One losing no cell moves as a reference: inside the band only.
  EXPECT_EQ(Sqref("A7:C9", s), "A7:C9");
  EXPECT_EQ(Sqref("C7:D9", s), "C5:D7");
  EXPECT_EQ(Sqref("A1:A1048576 B1:B1048576", s),
            "A1:A1048576 B1:B1048576");  // whole columns stay whole
}

TEST(ShiftSqref, AlongColumnsAndWholeRowsAndColumns) {
  // Two columns inserted at C in rows 2..4; then whole columns C..D deleted; then whole rows.
  EXPECT_EQ(Sqref("C2:D4 A2:B3 B5", InsertRight(2, 3, 4, 4)), "E2:F4 A2:D3 B5");
  const RefShift cols = DeleteColumnsShift("S", kGrid, 3, 4);
  EXPECT_EQ(Sqref("A1:F2 C5:D9 G7", cols), "A1:D2 E7");
  EXPECT_EQ(Sqref("2:3", cols), "A2:XFD3");  // whole rows stay whole
  EXPECT_EQ(Sqref("A:A", InsertRows(1, 2)), "A1:A1048576");
  EXPECT_EQ(Sqref("B5:C6", InsertRows(5, 5)), "B6:C7");
  // Each area moves on its own; pieces that are not areas are kept.
  EXPECT_EQ(Sqref("A1:B2 A5:B6", DeleteRowsShift("S", kGrid, 3, 4)), "A1:B2 A3:B4");
  EXPECT_EQ(Sqref("  $A$5  junk!  Sheet1!B2", DeleteRowsShift("S", kGrid, 1, 1)),
            "A4 junk! Sheet1!B2");
  EXPECT_EQ(Sqref("", InsertRows(1, 1)), "");
}

TEST(ShiftSqref, ValidationsFollowEveryCell) {
  const SqrefRule cells = SqrefRule::CellAttribute;
  const RefShift s = Insert(4, 2, 5, 4);  // two rows at row 4, columns B..D
  // Crossing the band's edge: the part in the band moves, and so splits from the rest.
  EXPECT_EQ(ShiftSqref("A5:C9", s, cells), "A5:A9 B7:C11");
  EXPECT_EQ(ShiftSqref("C1:F3", s, cells), "C1:D5 E1:F3");
  EXPECT_EQ(ShiftSqref("B2:C6", s, cells), "B2:C8");
  EXPECT_EQ(ShiftSqref("B4:D6", s, cells), "B6:D8");
  // At the first row the new cells take the validation of the cell after them.
  EXPECT_EQ(ShiftSqref("A1:B2 C2", InsertRows(1, 1), cells), "A1:B3 C3");
  // Before column A new cells take nothing (LibreOffice; found by the comparison test).
  EXPECT_EQ(ShiftSqref("A1:A3", InsertRight(1, 1, 2, 1), cells), "B1:B2 A3");
  EXPECT_EQ(ShiftSqref("A10:A15", InsertRight(1, 1, 1048576, 1), cells), "B10:B15");
  EXPECT_EQ(ShiftSqref("A4:D10", InsertRight(6, 1, 8, 4), cells), "A4:D5 E6:H8 A9:D10");
  const RefShift d = Delete(4, 2, 5, 4);
  EXPECT_EQ(ShiftSqref("A7:C9", d, cells), "A7:A9 B5:C7");
  EXPECT_EQ(ShiftSqref("A2:E9", d, cells), "A2:A9 B2:D7 E2:E9");
  EXPECT_EQ(ShiftSqref("B4:D5", d, cells), "");
  EXPECT_EQ(ShiftSqref("B1:B1048576", d, cells), "B1:B1048576");  // a whole column stays whole
  EXPECT_EQ(ShiftSqref("B1048575:C1048576", s, cells), "");       // pushed off the sheet
}

TEST(ShiftRangeFormula, RelativeReferencesFollowTheRangesNewTopLeftCell) {
  // A rule on A5:A10 reading "=A5>B$1": rows 5..6 deleted. A7 now heads the range at A5, and
  // its own reading, A7>B$1, follows its cells to A5>B$1.
  const RefShift rows = DeleteRowsShift("S", kGrid, 5, 6);
  EXPECT_EQ(ShiftRangeFormula("=A5>B$1", Cell{5, 1}, Cell{5, 1}, rows), std::nullopt);
  EXPECT_EQ(ShiftRangeFormula("=A5>$B$7", Cell{5, 1}, Cell{5, 1}, rows), "=A5>$B$5");
  // Rows inserted above move the range and its references alike.
  EXPECT_EQ(ShiftRangeFormula("=A5>B$1+$C$9", Cell{5, 1}, Cell{7, 1}, InsertRows(2, 3)),
            "=A7>B$1+$C$11");
  // Whole columns deleted before it: it moves left, and so do its references.
  EXPECT_EQ(ShiftRangeFormula("=C5=D5", Cell{5, 3}, Cell{5, 1},
                              DeleteColumnsShift("S", kGrid, 1, 2)),
            "=A5=B5");
  // A range whose first column went: the rule reads from its next column.
  EXPECT_EQ(ShiftRangeFormula("=B2<>\"\"", Cell{2, 2}, Cell{2, 2},
                              DeleteColumnsShift("S", kGrid, 2, 2)),
            std::nullopt);
  EXPECT_EQ(ShiftRangeFormula("=$A2=B2", Cell{2, 2}, Cell{2, 1},
                              DeleteColumnsShift("S", kGrid, 1, 1)),
            "=#REF!=A2");
  EXPECT_EQ(ShiftRangeFormula("=B2=B1", Cell{2, 2}, Cell{1, 2}, DeleteRowsShift("S", kGrid, 1, 1)),
            "=B1=#REF!");
}

// The ordinary moves of ShiftCell, ShiftArea, ShiftCellArea and ShiftRange are compared with
// LibreOffice in reference_shift_libreoffice_test.cpp; these are the edges it does not reach.
TEST(ShiftCell, PushedOffTheSheetOrDeletedWithItsColumn) {
  EXPECT_EQ(ShiftCell(Cell{1048575, 3}, Insert(4, 2, 5, 4)), std::nullopt);
  EXPECT_EQ(ShiftCell(Cell{1048574, 3}, Insert(4, 2, 5, 4)), (Cell{1048576, 3}));
  EXPECT_EQ(ShiftCell(Cell{9, 4}, DeleteColumnsShift("S", kGrid, 1, 2)), (Cell{9, 2}));
  EXPECT_EQ(ShiftCell(Cell{9, 2}, DeleteColumnsShift("S", kGrid, 1, 2)), std::nullopt);
}

// A picture over B4:C8 (0-based rows 3..7, columns 1..2) with offsets inside both corners.
DrawingAnchor Picture(AnchorMode mode = AnchorMode::TwoCell) {
  return DrawingAnchor{mode, AnchorMarker{1, 1000, 3, 2000}, AnchorMarker{2, 3000, 7, 4000}};
}

TEST(ShiftAnchor, ACellAnchoredDrawingMovesAndSizesWithItsCells) {
  DrawingAnchor moved = Picture();
  moved.from.row = 5;
  moved.to.row = 9;
  EXPECT_EQ(ShiftAnchor(Picture(), InsertRows(2, 3)), moved);  // rows inserted above
  DrawingAnchor grown = Picture();
  grown.to.row = 9;
  EXPECT_EQ(ShiftAnchor(Picture(), InsertRows(6, 7)), grown);        // inside: it grows
  EXPECT_EQ(ShiftAnchor(Picture(), Insert(6, 2, 7, 3)), grown);      // the band holds it
  EXPECT_EQ(ShiftAnchor(Picture(), InsertRows(10, 12)), Picture());  // after it
  // Deleted rows inside shrink it; a corner in deleted rows goes to the start of what follows.
  DrawingAnchor shrunk = Picture();
  shrunk.to.row = 5;
  EXPECT_EQ(ShiftAnchor(Picture(), DeleteRowsShift("S", kGrid, 6, 7)), shrunk);
  DrawingAnchor topCut{AnchorMode::TwoCell, AnchorMarker{1, 1000, 2, 0},
                       AnchorMarker{2, 3000, 4, 4000}};
  EXPECT_EQ(ShiftAnchor(Picture(), DeleteRowsShift("S", kGrid, 3, 5)), topCut);
  DrawingAnchor bottomCut{AnchorMode::TwoCell, AnchorMarker{1, 1000, 3, 2000},
                          AnchorMarker{2, 3000, 6, 0}};
  EXPECT_EQ(ShiftAnchor(Picture(), DeleteRowsShift("S", kGrid, 7, 10)), bottomCut);
  // All its rows deleted: kept with no height at the start of what follows, as Excel keeps it
  // (LibreOffice deletes the drawing; in the two cases above it keeps the cut corner's row).
  DrawingAnchor flat{AnchorMode::TwoCell, AnchorMarker{1, 1000, 2, 0}, AnchorMarker{2, 3000, 2, 0}};
  EXPECT_EQ(ShiftAnchor(Picture(), DeleteRowsShift("S", kGrid, 3, 9)), flat);
}

TEST(ShiftAnchor, TheBandMovesTheCornersInItEditAsDecidesTheRest) {
  // Band C..D holds the bottom-right corner only: it stretches (LibreOffice does the same).
  DrawingAnchor stretched = Picture();
  stretched.to.row = 9;
  EXPECT_EQ(ShiftAnchor(Picture(), Insert(2, 3, 3, 4)), stretched);
  // Band B only, cells deleted above: the top corner passes the bottom one: no height left.
  DrawingAnchor flat = Picture();
  flat.to = AnchorMarker{2, 3000, 3, 2000};
  EXPECT_EQ(ShiftAnchor(Picture(), Delete(1, 2, 3, 2)).from.row, 0);
  EXPECT_EQ(ShiftAnchor(Picture(), Delete(1, 2, 3, 2)).to.row, 7);  // to is in column C
  EXPECT_EQ(ShiftAnchor(Picture(), Delete(1, 3, 9, 3)), flat);
  EXPECT_EQ(ShiftAnchor(Picture(), Insert(2, 5, 3, 6)), Picture());  // band beside it
  // editAs="oneCell": moves with its top-left cell and keeps its size.
  DrawingAnchor one = Picture(AnchorMode::OneCell);
  one.from.row = 5;
  one.to.row = 9;
  EXPECT_EQ(ShiftAnchor(Picture(AnchorMode::OneCell), InsertRows(1, 2)), one);
  EXPECT_EQ(ShiftAnchor(Picture(AnchorMode::OneCell), InsertRows(6, 7)),
            Picture(AnchorMode::OneCell));
  // editAs="absolute": stays.
  EXPECT_EQ(ShiftAnchor(Picture(AnchorMode::Absolute), InsertRows(1, 2)),
            Picture(AnchorMode::Absolute));
  // Along columns: whole column A deleted.
  DrawingAnchor left = Picture();
  left.from.col = 0;
  left.to.col = 1;
  EXPECT_EQ(ShiftAnchor(Picture(), DeleteColumnsShift("S", kGrid, 1, 1)), left);
}

TEST(ShiftAnchor, ACornerCarriedPastTheOtherChangesPlacesWithItAsInLibreOffice) {
  // Five rows deleted above in column C only: the bottom-right corner (C, 0-based row 7) rises
  // to row 2, above the top-left one (B, row 3): the drawing spans rows 2..3, each corner keeping
  // its column, the offsets going with the rows.
  const DrawingAnchor raised{AnchorMode::TwoCell, AnchorMarker{1, 1000, 2, 4000},
                             AnchorMarker{2, 3000, 3, 2000}};
  EXPECT_EQ(ShiftAnchor(Picture(), Delete(1, 3, 5, 3)), raised);
  // Six rows inserted in column B only: the top-left corner sinks to row 9, below row 7.
  const DrawingAnchor sunk{AnchorMode::TwoCell, AnchorMarker{1, 1000, 7, 4000},
                           AnchorMarker{2, 3000, 9, 2000}};
  EXPECT_EQ(ShiftAnchor(Picture(), Insert(1, 2, 6, 2)), sunk);
  // A case the comparison with LibreOffice found: F13:J13 (0-based), rows 2..5 deleted in J:O.
  const DrawingAnchor flat{AnchorMode::TwoCell, AnchorMarker{5, 0, 12, 0},
                           AnchorMarker{9, 0, 12, 0}};
  const DrawingAnchor after = ShiftAnchor(flat, Delete(2, 10, 5, 15));
  EXPECT_EQ(after.from.row, 8);
  EXPECT_EQ(after.to.row, 12);
  // Along columns: cells A:D deleted in row 5 only carry the bottom-right corner (G5) left of
  // the top-left one (D1).
  const DrawingAnchor wide{AnchorMode::TwoCell, AnchorMarker{3, 10, 0, 0},
                           AnchorMarker{6, 20, 4, 0}};
  const DrawingAnchor crossed =
      ShiftAnchor(wide, RefShift{RefShift::Axis::Cols, false, 1, 4, 5, 5, "S", kGrid});
  EXPECT_EQ(crossed, (DrawingAnchor{AnchorMode::TwoCell, AnchorMarker{2, 20, 0, 0},
                                    AnchorMarker{3, 10, 4, 0}}));
}

TEST(ShiftPageBreak, RowBreaksMoveWithWholeRowsOnly) {
  // id 5: the next page starts at row 6. LibreOffice saves the same ids after the same shifts.
  EXPECT_EQ(ShiftPageBreak(5, true, InsertRows(3, 4)), 7);
  EXPECT_EQ(ShiftPageBreak(5, true, InsertRows(6, 6)), 6);
  EXPECT_EQ(ShiftPageBreak(5, true, InsertRows(7, 9)), 5);
  EXPECT_EQ(ShiftPageBreak(5, true, Insert(3, 1, 4, 100)), 5);  // a band, not whole rows
  EXPECT_EQ(ShiftPageBreak(5, true, DeleteRowsShift("S", kGrid, 6, 6)), std::nullopt);
  EXPECT_EQ(ShiftPageBreak(5, true, DeleteRowsShift("S", kGrid, 5, 5)), 4);
  EXPECT_EQ(ShiftPageBreak(5, true, DeleteRowsShift("S", kGrid, 2, 5)), 1);
  EXPECT_EQ(ShiftPageBreak(5, true, DeleteColumnsShift("S", kGrid, 1, 3)), 5);
  EXPECT_EQ(ShiftPageBreak(3, false, DeleteColumnsShift("S", kGrid, 1, 3)), 0);
  EXPECT_EQ(ShiftPageBreak(3, false, DeleteColumnsShift("S", kGrid, 4, 4)), std::nullopt);
  EXPECT_EQ(ShiftPageBreak(3, false, InsertRows(1, 1)), 3);
  EXPECT_EQ(ShiftPageBreak(1048574, true, InsertRows(1, 2)), std::nullopt);  // off the sheet
}

TEST(ReferenceShifts, PositionsOutsideTheSheetFromADamagedFileAreLeftAlone) {
  const int32_t huge = 2147483647;
  const DrawingAnchor wild{AnchorMode::TwoCell, AnchorMarker{huge, 0, huge, 0},
                           AnchorMarker{-5, 0, -7, 0}};
  EXPECT_EQ(ShiftAnchor(wild, InsertRows(1, 3)), wild);
  EXPECT_EQ(ShiftAnchor(wild, DeleteColumnsShift("S", kGrid, 1, 3)), wild);
  EXPECT_EQ(ShiftPageBreak(huge, true, InsertRows(1, 3)), huge);
  EXPECT_EQ(ShiftPageBreak(-3, true, InsertRows(1, 3)), -3);
  EXPECT_EQ(ShiftCell(Cell{huge, huge}, InsertRows(1, 3)), (Cell{huge, huge}));
  EXPECT_EQ(ShiftRangeFormula("=A2", Cell{huge, -huge}, Cell{1, 1}, InsertRows(1, 3)), "=A5");
}

TEST(CutsThrough, ATableMovesWithAllItsColumnsOrNotAtAll) {
  const Area table = Area::Of(2, 2, 10, 4);                // B2:D10
  EXPECT_FALSE(CutsThrough(table, Insert(5, 2, 5, 4)));    // its columns: it grows
  EXPECT_FALSE(CutsThrough(table, Insert(5, 1, 5, 6)));    // wider band: it grows
  EXPECT_FALSE(CutsThrough(table, Insert(1, 2, 1, 4)));    // above it: it moves
  EXPECT_TRUE(CutsThrough(table, Insert(5, 3, 5, 5)));     // part of its columns
  EXPECT_TRUE(CutsThrough(table, Insert(1, 1, 1, 2)));     // above it, part of its columns
  EXPECT_FALSE(CutsThrough(table, Insert(11, 3, 11, 5)));  // after it
  EXPECT_FALSE(CutsThrough(table, Insert(5, 5, 5, 6)));    // beside it
  EXPECT_TRUE(CutsThrough(table, Delete(10, 4, 12, 4)));   // its last row in column D
  EXPECT_FALSE(CutsThrough(table, DeleteRowsShift("S", kGrid, 4, 20)));
  EXPECT_FALSE(CutsThrough(table, DeleteColumnsShift("S", kGrid, 3, 3)));
  EXPECT_TRUE(CutsThrough(table, InsertRight(5, 1, 5, 1)));  // part of its rows moving right
}

TEST(MovesPartOf, APivotTableMovesWholeOrGoesWhole) {
  const Area pivot = Area::Of(2, 2, 10, 4);
  EXPECT_FALSE(MovesPartOf(pivot, InsertRows(1, 3)));
  EXPECT_TRUE(MovesPartOf(pivot, InsertRows(3, 3)));
  EXPECT_FALSE(MovesPartOf(pivot, InsertRows(11, 11)));
  EXPECT_TRUE(MovesPartOf(pivot, Insert(1, 3, 1, 3)));
  EXPECT_FALSE(MovesPartOf(pivot, DeleteRowsShift("S", kGrid, 1, 1)));
  EXPECT_TRUE(MovesPartOf(pivot, DeleteRowsShift("S", kGrid, 1, 2)));
  EXPECT_FALSE(MovesPartOf(pivot, DeleteRowsShift("S", kGrid, 1, 12)));
  EXPECT_TRUE(MovesPartOf(pivot, DeleteColumnsShift("S", kGrid, 4, 4)));
  EXPECT_FALSE(MovesPartOf(pivot, DeleteColumnsShift("S", kGrid, 5, 5)));
}

// Defined names hold sheet-qualified formulas: they move with onShiftedSheet false.
TEST(DefinedNames, MoveAsFormulasOnNoSheetAndBecomeRefErrorsWhenDeleted) {
  auto name = [](std::string_view f, const RefShift& s) {
    return ShiftFormulaRefs(f, false, s).value_or(std::string(f));
  };
  const RefShift rows = DeleteRowsShift("Data", kGrid, 1, 3);
  EXPECT_EQ(name("Data!$A$1:$C$3", rows), "Data!#REF!");
  EXPECT_EQ(name("Data!$A$1:$C$9", rows), "Data!$A$1:$C$6");
  EXPECT_EQ(name("Data!$4:$5", rows), "Data!$1:$2");  // print titles
  EXPECT_EQ(name("'数据 1'!$A$4", DeleteRowsShift("数据 1", kGrid, 1, 3)), "'数据 1'!$A$1");
  EXPECT_EQ(name("Data!$A$1:$B$2,Data!$D$1:$E$2", DeleteColumnsShift("Data", kGrid, 4, 5)),
            "Data!$A$1:$B$2,Data!#REF!");
  EXPECT_EQ(name("Other!$A$1:$C$9", rows), "Other!$A$1:$C$9");
  EXPECT_EQ(name("A1", rows), "A1");  // unqualified: on no sheet
  EXPECT_EQ(name("Data!$A$2:$D$20", InsertDownShift("Data", kGrid, 5, 1, 5, 4)),
            "Data!$A$2:$D$21");  // a filter range grows with rows inserted inside
}

}  // namespace
}  // namespace tezlo
