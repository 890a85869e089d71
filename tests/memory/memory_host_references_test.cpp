// References following their cells through the memory host: tables and pivot tables that a
// shift may not cut, sheet renames, copies and sorts re-referencing formulas.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "host/host_error.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

class MemoryHostReferencesTest : public ::testing::Test {
 protected:
  static constexpr SheetRef kData{1, 1};
  static constexpr SheetRef kOther{1, 2};
  void SetUp() override {
    for (int r = 1; r <= 12; ++r) {
      for (int c = 1; c <= 6; ++c) h.SetValue(kData, Cell{r, c}, Value::Number(r * 10 + c));
    }
  }
  Sheet& Data() { return h.GetSheet(kData); }
  std::string Refused(const std::function<void()>& f) {
    try {
      f();
    } catch (const HostError& e) {
      return e.what();
    }
    return "";
  }
  MemoryHost h;
};

TEST_F(MemoryHostReferencesTest, AShiftCuttingATableIsRefusedBeforeAnythingMoves) {
  Data().SetProtectedAreas(
      {ProtectedArea{ProtectedArea::Kind::Table, "Sales", Area::Of(2, 2, 10, 4)}});
  h.SetFormula(kOther, Cell{1, 1}, "=Data!C5", Value());
  EXPECT_EQ(Refused([&] { h.InsertShiftDown(kData, Area::Of(5, 3, 6, 5)); }),
            "cannot shift part of the table Sales");
  EXPECT_EQ(Refused([&] { h.DeleteShiftUp(kData, Area::Of(1, 1, 1, 2)); }),
            "cannot shift part of the table Sales");
  EXPECT_EQ(h.GetValue(kData, Cell{5, 3}), Value::Number(53));
  EXPECT_EQ(h.GetValue(kData, Cell{2, 2}), Value::Number(22));
  EXPECT_EQ(h.GetFormula(kOther, Cell{1, 1}), "=Data!C5");
  EXPECT_EQ(Data().ProtectedAreas()[0].area, Area::Of(2, 2, 10, 4));
  // Shifts over all its columns are allowed: the table grows, moves and shrinks with its cells.
  h.InsertShiftDown(kData, Area::Of(5, 1, 6, 4));
  EXPECT_EQ(Data().ProtectedAreas()[0].area, Area::Of(2, 2, 12, 4));
  h.DeleteRows(kData, 1, 1);
  EXPECT_EQ(Data().ProtectedAreas()[0].area, Area::Of(1, 2, 11, 4));
  h.DeleteColumns(kData, 3, 3);
  EXPECT_EQ(Data().ProtectedAreas()[0].area, Area::Of(1, 2, 11, 3));
  h.DeleteShiftUp(kData, Area::Of(1, 2, 11, 3));  // every cell of it: it goes
  EXPECT_TRUE(Data().ProtectedAreas().empty());
}

TEST_F(MemoryHostReferencesTest, APivotTableOnlyMovesWhole) {
  Data().SetProtectedAreas(
      {ProtectedArea{ProtectedArea::Kind::PivotTable, "Pivot 1", Area::Of(4, 2, 6, 3)},
       ProtectedArea{ProtectedArea::Kind::Table, "T", Area::Of(1, 5, 2, 6)}});
  EXPECT_EQ(Refused([&] { h.DeleteRows(kData, 5, 5); }),
            "cannot shift part of the pivot table Pivot 1");
  EXPECT_EQ(Refused([&] { h.InsertShiftDown(kData, Area::Of(5, 1, 5, 4)); }),
            "cannot shift part of the pivot table Pivot 1");
  EXPECT_EQ(h.GetValue(kData, Cell{5, 1}), Value::Number(51));
  h.InsertShiftDown(kData, Area::Of(1, 1, 2, 4));
  EXPECT_EQ(Data().ProtectedAreas()[0].area, Area::Of(6, 2, 8, 3));
  EXPECT_EQ(Data().ProtectedAreas()[1].area, Area::Of(1, 5, 2, 6));  // beside the band
  h.DeleteRows(kData, 5, 9);
  ASSERT_EQ(Data().ProtectedAreas().size(), 1u);
  EXPECT_EQ(Data().ProtectedAreas()[0].name, "T");
}

TEST_F(MemoryHostReferencesTest, RenamingASheetRewritesTheFormulasNamingIt) {
  h.SetFormula(kData, Cell{1, 7}, "=Sheet2!A1+A1", Value());
  h.SetFormula(kOther, Cell{2, 2}, "=SUM(sheet1!A1:B2)+Sheet1!C3*A1", Value());
  h.RenameSheet(kData, "My data");
  EXPECT_EQ(h.GetFormula(kOther, Cell{2, 2}), "=SUM('My data'!A1:B2)+'My data'!C3*A1");
  h.RenameSheet(kOther, "A1");
  EXPECT_EQ(h.GetFormula(kData, Cell{1, 7}), "='A1'!A1+A1");
  // The rewritten references still follow their cells.
  h.InsertShiftDown(kData, Area::Of(1, 1, 1, 3));
  EXPECT_EQ(h.GetFormula(kOther, Cell{2, 2}), "=SUM('My data'!A2:B3)+'My data'!C4*A1");
}

TEST_F(MemoryHostReferencesTest, CopiesReReferenceRelativeFormulas) {
  h.SetFormula(kData, Cell{2, 7}, "=A2*$B$1+C$1+Sheet2!$A1", Value());
  h.SetFormula(kData, Cell{3, 7}, "=A2", Value());
  h.Copy(kData, Area::Of(2, 7, 3, 7), kData, Cell{5, 8});
  EXPECT_EQ(h.GetFormula(kData, Cell{5, 8}), "=B5*$B$1+D$1+Sheet2!$A4");
  EXPECT_EQ(h.GetFormula(kData, Cell{6, 8}), "=B5");
  h.Copy(kData, Area::Of(3, 7, 3, 7), kOther, Cell{1, 1});  // up and left past A1
  EXPECT_EQ(h.GetFormula(kOther, Cell{1, 1}), "=#REF!");
  EXPECT_EQ(h.GetFormula(kData, Cell{3, 7}), "=A2");  // the source stays
  // A sheet copied whole (the same place on another sheet) keeps its formulas as they are.
  h.Copy(kData, Area::Of(1, 1, 1048576, 16384), kOther, Cell{1, 1});
  EXPECT_EQ(h.GetFormula(kOther, Cell{2, 7}), "=A2*$B$1+C$1+Sheet2!$A1");
}

TEST_F(MemoryHostReferencesTest, SortedFormulasAreReReferencedByTheRowsTheyMove) {
  // Keys 3, 1, 2 in column A of rows 1..3; formulas in G refer to H outside the area.
  h.SetValue(kData, Cell{1, 1}, Value::Number(3));
  h.SetValue(kData, Cell{2, 1}, Value::Number(1));
  h.SetValue(kData, Cell{3, 1}, Value::Number(2));
  h.SetFormula(kData, Cell{1, 7}, "=H1*$H$1+A1", Value());
  h.SetFormula(kData, Cell{2, 7}, "=H2+Sheet2!B2", Value());
  h.SetFormula(kData, Cell{3, 7}, "=H2-H1", Value());
  h.Sort(kData, Area::Of(1, 1, 3, 7), 1, false);
  EXPECT_EQ(h.GetFormula(kData, Cell{1, 7}), "=H1+Sheet2!B1");  // was row 2
  EXPECT_EQ(h.GetFormula(kData, Cell{2, 7}), "=H1-#REF!");      // was row 3: H0 is off the sheet
  EXPECT_EQ(h.GetFormula(kData, Cell{3, 7}), "=H3*$H$1+A3");    // was row 1
}

}  // namespace
}  // namespace tezlo
