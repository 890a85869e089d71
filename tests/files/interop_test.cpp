// Workbooks written by another program (openpyxl) are read correctly, and workbooks Tezlo writes
// read back in openpyxl with the same values, comments, sizes, fills, formats and formulas.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "files/workbook_file.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::ScratchDir;

std::string Script(const std::string& name) {
  return (std::filesystem::path(TEZLO_TEST_DIR) / name).string();
}

// Debian's interpreter, where the python3-openpyxl package installs openpyxl (a python3 found
// first on PATH may be another one).
int RunPython(const std::string& script, const std::string& arg, const std::string& log) {
  const std::string command =
      "/usr/bin/python3 '" + Script(script) + "' '" + arg + "' > '" + log + "' 2>&1";
  return std::system(command.c_str());
}

TEST(Interop, AWorkbookWrittenByOpenpyxlIsReadCorrectly) {
  ScratchDir dir;
  const std::string path = dir.Path("openpyxl.xlsx");
  ASSERT_EQ(RunPython("make_openpyxl_book.py", path, dir.Path("log")), 0)
      << testing::ReadFileBytes(dir.Path("log"));
  const auto wb = LoadWorkbook(path);
  ASSERT_EQ(wb->SheetCount(), 2);
  EXPECT_EQ(wb->GetSheet(1).Name(), "+1");
  EXPECT_EQ(wb->GetSheet(2).Name(), "数据");
  EXPECT_EQ(wb->ActiveSheetIndex(), 2);
  const Sheet& s = wb->GetSheet(1);
  auto value = [&s](int32_t row, int32_t col) {
    const CellRecord* r = s.Find({row, col});
    return r ? r->value : Value();
  };
  EXPECT_EQ(value(1, 1), Value::Number(42.5));
  EXPECT_EQ(value(1, 2), Value::Text("主题词"));
  EXPECT_EQ(value(1, 3), Value::Boolean(true));
  EXPECT_EQ(s.Find({1, 4})->extras->formula, "=SUM(A1,1)");
  EXPECT_EQ(value(1, 5), Value::Date(29342));
  EXPECT_EQ(s.NumberFormatAt({1, 5}), "yyyy/m/d");
  EXPECT_EQ(value(1, 6), Value::Error(ErrorCode::NA));
  EXPECT_EQ(value(1, 7), Value::Text("00123"));
  EXPECT_EQ(s.NumberFormatAt({1, 7}), "@");
  EXPECT_EQ(value(1, 8), Value::Text("'quoted"));
  EXPECT_TRUE(s.Find({1, 9})->quotePrefix);
  EXPECT_EQ(s.NumberFormatAt({2, 1}), "#,##0.00");
  ASSERT_TRUE(s.Find({3, 1}) && s.Find({3, 1})->HasComment());
  EXPECT_EQ(*s.Find({3, 1})->extras->comment, "第一行\n第二行");
  EXPECT_EQ(s.ColorIndexAt({4, 1}), 43);
  EXPECT_EQ(s.ColorIndexAt({4, 2}), 43);
  EXPECT_EQ(s.ColorIndexAt({4, 3}), 3);
  EXPECT_EQ(s.ColumnWidth(1), 19.29);  // 20 stored characters show as 140 pixels
  EXPECT_EQ(s.ColumnWidth(2), kDefaultColumnWidthChars);
  EXPECT_EQ(s.ColumnWidth(3), 0);
  EXPECT_EQ(s.RowHeight(2), 30);
  EXPECT_EQ(s.RowHeight(5), 0);
  EXPECT_EQ(s.MergedAreas(), std::vector<Area>{Area::Of(10, 1, 11, 3)});
  EXPECT_EQ(s.View().selection,
            (Selection{{Area::Of(66, 4, 66, 4), Area::Of(1, 6, 2, 7)}, Cell{66, 4}}));
  EXPECT_EQ(s.View().scroll, (Cell{50, 3}));
  EXPECT_EQ(wb->GetSheet(2).Find({2, 2})->value, Value::Text("第二张"));
  EXPECT_TRUE(wb->UnmodelledContent().empty()) << wb->UnmodelledContent().front();
}

TEST(Interop, AWorkbookTezloWritesReadsBackInOpenpyxl) {
  ScratchDir dir;
  Workbook wb("Book1", 1048576, 16384, 7, 1);
  wb.ResetSheets({"+1", "数据"});
  Sheet& s = wb.GetSheet(1);
  auto put = [&s](Cell c, Value v, const std::string& format = "") {
    s.Edit(c, [&](CellRecord& r) {
      r.value = std::move(v);
      if (!format.empty()) r.Extras().numberFormat = format;
    });
  };
  put({1, 1}, Value::Number(42.5));
  put({1, 2}, Value::Text("主题词\n第二行"));
  put({1, 3}, Value::Boolean(true));
  s.Edit({1, 4}, [](CellRecord& r) {
    r.value = Value::Number(43.5);
    r.Extras().formula = "=SUM(A1,1)";
  });
  put({1, 5}, Value::Date(29342), "yyyy/m/d");
  put({1, 6}, Value::Error(ErrorCode::NA));
  put({1, 7}, Value::Text("00123"), "@");
  s.Edit({1, 8}, [](CellRecord& r) {
    r.value = Value::Text("0");
    r.quotePrefix = true;
  });
  put({2, 1}, Value::Number(1234.5), "#,##0.00");
  s.Edit({3, 1}, [](CellRecord& r) { r.Extras().comment = "最近: +3\n第二行"; });
  s.Edit({4, 1}, [](CellRecord& r) { r.colorIndex = 43; });
  s.SetColumnColor(14, 14, 43);
  s.SetColumnWidth(1, 1, 20);
  s.SetColumnWidth(3, 3, 0);
  s.SetRowHeight(2, 2, 30);
  s.SetRowHeight(5, 5, 0);
  s.AddMergedArea(Area::Of(10, 1, 11, 3));
  s.View().selection = Selection{{Area::Of(66, 4, 66, 4), Area::Of(1, 6, 2, 7)}, Cell{66, 4}};
  s.View().scroll = Cell{50, 3};
  put({2, 2}, Value::Text("unused"));
  wb.GetSheet(2).Edit({2, 2}, [](CellRecord& r) { r.value = Value::Text("第二张"); });
  wb.ActivateSheet(2);
  const std::string path = dir.Path("tezlo.xlsx");
  SaveWorkbook(wb, path);
  EXPECT_EQ(RunPython("check_tezlo_book.py", path, dir.Path("log")), 0)
      << testing::ReadFileBytes(dir.Path("log"));
}

}  // namespace
}  // namespace tezlo
