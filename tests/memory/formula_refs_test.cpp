#include "memory/formula_refs.h"

#include <gtest/gtest.h>

#include "memory/memory_host.h"

namespace tezlo {
namespace {

const GridSize kGrid;

std::vector<std::string> RefTexts(std::string_view f, GridSize grid = kGrid) {
  std::vector<std::string> out;
  for (const FormulaRef& r : FindFormulaRefs(f, grid)) {
    out.push_back((r.sheet ? *r.sheet + "!" : "") +
                  std::string(f.substr(r.begin, r.end - r.begin)));
  }
  return out;
}

using Texts = std::vector<std::string>;

TEST(FindFormulaRefs, ReadsCellsAreasWholeColumnsAndRowsWithTheirDollars) {
  EXPECT_EQ(RefTexts("=A1+$B$2*C$3-$D4"), (Texts{"A1", "$B$2", "C$3", "$D4"}));
  EXPECT_EQ(RefTexts("=SUM(A1:B5,A:A,$C:$D,3:5,$7:$9)"),
            (Texts{"A1:B5", "A:A", "$C:$D", "3:5", "$7:$9"}));
  const std::vector<FormulaRef> refs = FindFormulaRefs("=$B$2:c5");
  ASSERT_EQ(refs.size(), 1u);
  EXPECT_EQ(refs[0].kind, FormulaRef::Kind::Area);
  EXPECT_EQ(refs[0].first, (RefEnd{2, 2, true, true}));
  EXPECT_EQ(refs[0].last, (RefEnd{5, 3, false, false}));
  EXPECT_EQ(FormatRef(refs[0]), "$B$2:C5");
}

TEST(FindFormulaRefs, LeavesStringsFunctionsNamesNumbersAndErrorsAlone) {
  EXPECT_EQ(RefTexts("=LOG10(A1)&\"B2 \"\"C3\"\"\""), (Texts{"A1"}));
  EXPECT_EQ(RefTexts("=LOG10"), (Texts{"LOG10"}));  // without a call it is a cell
  EXPECT_EQ(RefTexts("=TRUE+Rate2024x+_xlfn.STDEV(A2)+1.5E+3+#REF!+#DIV/0!+#N/A"), (Texts{"A2"}));
  EXPECT_EQ(RefTexts("=XFD1+XFE1+A1048576+A1048577+A0"), (Texts{"XFD1", "A1048576"}));
  EXPECT_EQ(RefTexts("=IV1+IW1", GridSize{65536, 256}), (Texts{"IV1"}));
  EXPECT_EQ(RefTexts("=Table1[[#This Row],[A1]]+B1"), (Texts{"B1"}));
  EXPECT_EQ(RefTexts("=A1 :B2"), (Texts{"A1", "B2"}));  // a space is not the range operator
}

TEST(FindFormulaRefs, ReadsSheetPrefixesQuotedAndNot) {
  EXPECT_EQ(RefTexts("='Sheet 1'!A1+'It''s'!B2:C3+Data!$D$4+'+1'!E:E+主题!F6"),
            (Texts{"Sheet 1!A1", "It's!B2:C3", "Data!$D$4", "+1!E:E", "主题!F6"}));
  const std::vector<FormulaRef> refs =
      FindFormulaRefs("=Sheet1:Sheet3!A1+[1]Sheet1!B2+'[Book.xlsx]Sheet1'!C3+Sheet1!D4");
  ASSERT_EQ(refs.size(), 4u);
  EXPECT_TRUE(refs[0].foreign);
  EXPECT_TRUE(refs[1].foreign);
  EXPECT_TRUE(refs[2].foreign);
  EXPECT_FALSE(refs[3].foreign);
  EXPECT_EQ(RefTexts("=Sheet1!MyName+Sheet1!#REF!"), Texts{});
}

std::optional<std::string> Insert(std::string_view f, int r1, int c1, int r2, int c2,
                                  bool here = true) {
  return ShiftFormulaRefs(f, here, InsertDownShift("Data", kGrid, r1, c1, r2, c2));
}
std::optional<std::string> Delete(std::string_view f, int r1, int c1, int r2, int c2,
                                  bool here = true) {
  return ShiftFormulaRefs(f, here, DeleteUpShift("Data", kGrid, r1, c1, r2, c2));
}

TEST(ShiftFormulaRefs, InsertMovesReferencesInTheBandAtAndBelowTheInsertion) {
  // Band B..D, three rows at row 4.
  EXPECT_EQ(Insert("=B4+$C$10+D3+A4+E4", 4, 2, 6, 4), "=B7+$C$13+D3+A4+E4");
  EXPECT_EQ(Insert("=B3", 4, 2, 6, 4), std::nullopt);
  // Ranges inside the band: moved when at or below, grown when the insertion falls inside.
  EXPECT_EQ(Insert("=SUM(B4:D5)+SUM(B2:C8)+SUM(B1:B3)", 4, 2, 6, 4),
            "=SUM(B7:D8)+SUM(B2:C11)+SUM(B1:B3)");
  // A range straddling the band's edge columns stays as it is.
  EXPECT_EQ(Insert("=SUM(A5:B9)+SUM(D5:E9)", 4, 2, 6, 4), std::nullopt);
  // Whole columns have no rows to move; whole rows straddle a partial band.
  EXPECT_EQ(Insert("=SUM(B:B)+SUM(5:6)", 4, 2, 6, 4), std::nullopt);
  // A cell pushed past the last row is lost; a range's end stops at the last row.
  EXPECT_EQ(Insert("=B1048575+SUM(B10:B1048575)", 4, 2, 6, 4), "=#REF!+SUM(B13:B1048576)");
}

TEST(ShiftFormulaRefs, DeleteMovesUpShrinksAndLosesDeletedCells) {
  EXPECT_EQ(Delete("=B4+C6+D7+B3+A5", 4, 2, 6, 4), "=#REF!+#REF!+D4+B3+A5");
  EXPECT_EQ(Delete("=SUM(B2:B9)+SUM(B5:C9)+SUM(B2:B5)+SUM(B4:D6)", 4, 2, 6, 4),
            "=SUM(B2:B6)+SUM(B4:C6)+SUM(B2:B3)+SUM(#REF!)");
  EXPECT_EQ(Delete("=SUM(A4:B9)", 4, 2, 6, 4), std::nullopt);
}

TEST(ShiftFormulaRefs, OnlyReferencesIntoTheShiftedSheetMove) {
  // On another sheet unqualified references point there; qualified ones are compared without
  // regard to case.
  EXPECT_EQ(Insert("=B5+data!B5+'Data'!B5:B6+Other!B5", 4, 2, 6, 4, false),
            "=B5+data!B8+'Data'!B8:B9+Other!B5");
  EXPECT_EQ(Delete("=Data!B5*2&\"Data!B5\"", 4, 2, 6, 4, false), "=Data!#REF!*2&\"Data!B5\"");
  EXPECT_EQ(Insert("=Sheet1:Data!B5+[1]Data!B5", 4, 2, 6, 4, false), std::nullopt);
}

TEST(ShiftFormulaRefs, WholeRowsAndColumnsDeleted) {
  const RefShift rows = DeleteRowsShift("Data", kGrid, 3, 4);
  EXPECT_EQ(ShiftFormulaRefs("=A2+A3+A5+SUM(A:A)+SUM(2:6)+SUM(3:4)+SUM(A1:A1048576)", true, rows),
            "=A2+#REF!+A3+SUM(A:A)+SUM(2:4)+SUM(#REF!)+SUM(A1:A1048576)");
  const RefShift cols = DeleteColumnsShift("Data", kGrid, 2, 3);
  EXPECT_EQ(ShiftFormulaRefs("=A1+B1+$D$1+SUM(A:E)+SUM(1:1)+SUM(B:C)+SUM(A1:XFD1)", true, cols),
            "=A1+#REF!+$B$1+SUM(A:C)+SUM(1:1)+SUM(#REF!)+SUM(A1:XFD1)");
}

TEST(ShiftFormulaRefs, KeepsEveryOtherCharacterAsTyped) {
  EXPECT_EQ(Insert("=  sum( b5 , \"x\" )  ", 4, 2, 6, 4), "=  sum( B8 , \"x\" )  ");
  // Reversed ends come out in order, row and column each keeping its own dollar.
  EXPECT_EQ(Insert("=SUM($B$9:B5)", 4, 2, 6, 4), "=SUM($B8:B$12)");
  EXPECT_EQ(Insert("=SUM(C9:$B5)", 4, 2, 6, 4), "=SUM($B8:C12)");
}

// ---- Through the memory host: every sheet of the workbook follows ----

class WorkbookFormulaShiftTest : public ::testing::Test {
 protected:
  static constexpr SheetRef kData{1, 1};
  static constexpr SheetRef kOther{1, 2};
  void SetUp() override {
    h.RenameSheet(kData, "Data 1");
    for (int r = 1; r <= 10; ++r) h.SetValue(kData, Cell{r, 2}, Value::Number(r));
  }
  MemoryHost h;
};

TEST_F(WorkbookFormulaShiftTest, FormulasOnEverySheetFollowTheirCells) {
  h.SetFormula(kData, Cell{1, 5}, "=SUM(B2:B6)", Value::Number(20));
  h.SetFormula(kOther, Cell{1, 1}, "='Data 1'!B5+B5", Value::Number(10));
  h.InsertShiftDown(kData, Area::Of(3, 2, 4, 2));
  EXPECT_EQ(h.GetFormula(kData, Cell{1, 5}), "=SUM(B2:B8)");
  EXPECT_EQ(h.GetFormula(kOther, Cell{1, 1}), "='Data 1'!B7+B5");
  EXPECT_EQ(h.GetValue(kData, Cell{1, 5}), Value::Number(20));  // the last value stays
  h.DeleteRows(kData, 7, 7);
  EXPECT_EQ(h.GetFormula(kOther, Cell{1, 1}), "='Data 1'!#REF!+B5");
  h.DeleteColumns(kData, 1, 1);
  EXPECT_EQ(h.GetFormula(kData, Cell{1, 4}), "=SUM(A2:A7)");
}

TEST_F(WorkbookFormulaShiftTest, AFormulaMovedByTheShiftIsAdjustedWhereItLands) {
  h.SetFormula(kData, Cell{8, 2}, "=B9-B1", Value::Number(8));
  h.DeleteShiftUp(kData, Area::Of(2, 2, 3, 2));
  EXPECT_EQ(h.GetFormula(kData, Cell{6, 2}), "=B7-B1");
}

TEST_F(WorkbookFormulaShiftTest, TheFormulaCountStaysAnUpperBound) {
  Sheet& data = h.GetSheet(kData);
  EXPECT_EQ(data.FormulaCountBound(), 0);
  h.SetFormula(kData, Cell{1, 3}, "=B1", Value());
  h.SetFormula(kData, Cell{2, 3}, "=B2", Value());
  EXPECT_EQ(data.FormulaCountBound(), 2);
  h.SetValue(kData, Cell{1, 3}, Value::Number(1));  // typing over a formula
  EXPECT_EQ(data.FormulaCountBound(), 1);
  // A copy brings its formulas along; a sort keeps the count.
  h.Copy(kData, Area::Of(1, 3, 2, 3), kOther, Cell{1, 1});
  EXPECT_EQ(h.GetSheet(kOther).FormulaCountBound(), 1);
  h.Sort(kData, Area::Of(1, 2, 10, 3), 2, true);
  EXPECT_EQ(data.FormulaCountBound(), 1);
  // A writer taking the stores makes the count unknown; the next shift counts again and still
  // adjusts the formula.
  data.Columns();
  EXPECT_EQ(data.FormulaCountBound(), std::nullopt);
  h.InsertShiftDown(kData, Area::Of(1, 2, 1, 2));
  EXPECT_EQ(data.FormulaCountBound(), 1);
  // The sort had moved =B2 to row 9 as =B9; the insertion moved B9 to B10.
  EXPECT_EQ(h.GetFormula(kData, Cell{9, 3}), "=B10");
}

}  // namespace
}  // namespace tezlo

namespace tezlo {
namespace {

TEST(RenameSheetRefs, RenamesEveryReferenceToTheSheetQuotingAsNeeded) {
  EXPECT_EQ(RenameSheetRefs("=Data!A1+'data'!B2:C3+Other!C3+D4+SUM(Data:Other!A1)", "Data",
                            "My Data"),
            "='My Data'!A1+'My Data'!B2:C3+Other!C3+D4+SUM('My Data:Other'!A1)");
  EXPECT_EQ(RenameSheetRefs("='Sheet 1'!A:A+Sheet1!B1", "Sheet 1", "主题"), "=主题!A:A+Sheet1!B1");
  // Names that would read as something else are quoted; inner quotes doubled.
  EXPECT_EQ(RenameSheetRefs("=S!A1", "S", "A1"), "='A1'!A1");
  EXPECT_EQ(RenameSheetRefs("=S!A1", "S", "R2C3"), "='R2C3'!A1");
  EXPECT_EQ(RenameSheetRefs("=S!A1", "S", "2024"), "='2024'!A1");
  EXPECT_EQ(RenameSheetRefs("=S!A1", "S", "It's"), "='It''s'!A1");
  EXPECT_EQ(RenameSheetRefs("=S!A1", "S", "Q1_2024.x"), "=Q1_2024.x!A1");
  // Text, other workbooks and names are left alone.
  EXPECT_EQ(RenameSheetRefs("=\"S!A1\"&[1]S!A1&'[Book.xlsx]S'!A1&S!Rate", "S", "T"), std::nullopt);
  EXPECT_EQ(SheetPrefix("+1"), "'+1'!");
  EXPECT_EQ(SheetPrefix("Data"), "Data!");
}

TEST(MoveRelativeRefs, RelativePartsMoveDollarPartsStayOffTheGridIsRefError) {
  EXPECT_EQ(MoveRelativeRefs("=A1+$B$1+C$2+$D3+SUM(A:B)+SUM(1:$2)+Other!E5", 2, 1),
            "=B3+$B$1+D$2+$D5+SUM(B:C)+SUM(3:$2)+Other!F7");
  EXPECT_EQ(MoveRelativeRefs("=A2+B1&\"A2\"+Data!C3:D4", -1, -1), "=#REF!+#REF!&\"A2\"+Data!B2:C3");
  EXPECT_EQ(MoveRelativeRefs("=$A$1", 5, 5), std::nullopt);
  EXPECT_EQ(MoveRelativeRefs("=A1", 0, 0), std::nullopt);
  EXPECT_EQ(MoveRelativeRefs("=A1048576", 1, 0), "=#REF!");
  EXPECT_EQ(MoveRelativeRefs("=IV1", 0, 1, GridSize{65536, 256}), "=#REF!");
}

}  // namespace
}  // namespace tezlo
