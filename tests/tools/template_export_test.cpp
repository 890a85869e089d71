#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "host/host_error.h"
#include "tools/data_tools.h"
#include "tools/data_tools_fixture.h"

namespace tezlo::testing {
namespace {

// What the save hook saw of a saved workbook.
struct SavedBook {
  std::string path;
  std::vector<std::string> sheets;
  std::vector<std::pair<Cell, Value>> cells;  // of the first sheet, row by row
};

class TemplateExportTest : public DataToolsTest {
 protected:
  TemplateExportTest() {
    system.SetTemplateFolder("/home/u/Documents/1/44");
    host.SetSaver([this](const Workbook& book, const std::string& path) {
      if (failSaving) throw HostError("cannot write " + path);
      SavedBook saved;
      saved.path = path;
      for (int32_t i = 1; i <= book.SheetCount(); ++i)
        saved.sheets.push_back(book.GetSheet(i).Name());
      book.GetSheet(1).ForEachCellByRow([&](Cell cell, const CellRecord& record) {
        saved.cells.emplace_back(cell, record.value);
      });
      saves.push_back(std::move(saved));
    });
  }

  std::vector<SavedBook> saves;
  bool failSaving = false;
};

TEST_F(TemplateExportTest, TheUsedRangeOfPlus1LandsAtA1OfAOneSheetTemplate) {
  PutText(Cell{3, 2}, "top-left");
  Put(Cell{20, 6}, N(42));
  host.ActivateSheet(SheetRef{1, 2});  // run from "+2": the source is "+1" all the same
  host.ActivateCell(Cell{5, 5});
  Run("*780");

  ASSERT_FALSE(saves.empty());
  const SavedBook& saved = saves.back();
  EXPECT_EQ(saved.path, "/home/u/Documents/1/44/ExcelVarelto.xls");
  EXPECT_EQ(saved.sheets, std::vector<std::string>{"+1"});
  const std::vector<std::pair<Cell, Value>> expected = {{Cell{1, 1}, T("top-left")},
                                                        {Cell{18, 5}, N(42)}};
  EXPECT_EQ(saved.cells, expected);

  EXPECT_EQ(host.WorkbookCount(), 1);  // the template is closed again
  EXPECT_EQ(host.ActiveWorkbook(), 1);
  EXPECT_EQ(host.ActiveSheet(), (SheetRef{1, 2}));
  EXPECT_EQ(At(Cell{3, 2}), T("top-left"));  // the source stays
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
  EXPECT_TRUE(ui.Dialogs().empty());
}

TEST_F(TemplateExportTest, RunningTwiceSavesAgainWithoutAQuestion) {
  PutText(Cell{1, 1}, "a");
  Run("*780");
  Run("*780");
  ASSERT_GE(saves.size(), 2u);
  EXPECT_EQ(saves.back().path, saves.front().path);
  EXPECT_TRUE(ui.Dialogs().empty());
  EXPECT_EQ(host.WorkbookCount(), 1);
}

TEST_F(TemplateExportTest, TheTemplateHasOneSheetWhateverANewWorkbookHolds) {
  host.Settings().sheetsInNewWorkbook = 1;
  PutText(Cell{1, 1}, "a");
  Run("*780");
  ASSERT_FALSE(saves.empty());
  EXPECT_EQ(saves.back().sheets, std::vector<std::string>{"+1"});

  host.Settings().sheetsInNewWorkbook = 5;
  Run("*780");
  EXPECT_EQ(saves.back().sheets, std::vector<std::string>{"+1"});
}

TEST_F(TemplateExportTest, AFolderThatCannotBeWrittenLeavesTheTemplateOpenUnsaved) {
  failSaving = true;
  PutText(Cell{1, 1}, "a");
  Run("*780");
  EXPECT_TRUE(saves.empty());
  ASSERT_EQ(host.WorkbookCount(), 2);
  EXPECT_EQ(host.ActiveWorkbook(), 2);
  EXPECT_EQ(host.SheetName(SheetRef{2, 1}), "+1");
  EXPECT_EQ(host.GetValue(SheetRef{2, 1}, Cell{1, 1}), T("a"));
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
}

TEST_F(TemplateExportTest, WithoutAPlus1SheetNothingIsCreated) {
  // The preparation recreates "+1" when it is missing, so call the tool itself: its failure goes
  // to the caller.
  host.RenameSheet(plus1, "data");
  EXPECT_THROW(CopyTemplateSheets(ctx), HostError);
  EXPECT_EQ(host.WorkbookCount(), 1);
  EXPECT_TRUE(saves.empty());
  EXPECT_TRUE(host.ScreenUpdating());
  EXPECT_TRUE(host.DisplayAlerts());
}

TEST_F(TemplateExportTest, AnotherOpenWorkbookOfTheTemplatesNameStaysOpen) {
  PutText(Cell{1, 1}, "a");
  Run("*780");  // saves; the template is closed
  ASSERT_FALSE(saves.empty());
  // A workbook already carrying the template's name is open next to the user's.
  const int32_t other = host.AddWorkbook();
  host.SaveWorkbookAs(other, "/elsewhere/ExcelVarelto.xls");
  host.ActivateWorkbook(1);
  Run("*780");
  EXPECT_EQ(host.WorkbookCount(), 2);
  EXPECT_EQ(host.WorkbookName(2), "ExcelVarelto.xls");
  EXPECT_EQ(host.ActiveWorkbook(), 1);
}

}  // namespace
}  // namespace tezlo::testing
