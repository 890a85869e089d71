// A workbook holding everything the tools touch is saved and read back unchanged.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "files/workbook_file.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::ScratchDir;

void PutValue(Sheet& s, Cell c, Value v, const std::string& format = "") {
  s.Edit(c, [&](CellRecord& r) {
    r.value = std::move(v);
    if (!format.empty()) SetOwnNumberFormat(r, format, s.ColumnNumberFormat(c.col));
  });
}

std::unique_ptr<Workbook> RichBook() {
  auto wb = std::make_unique<Workbook>("Book1", 1048576, 16384, 7, 1);
  wb->ResetSheets({"+1", "数据", "+2"});
  Sheet& s = wb->GetSheet(1);
  PutValue(s, {1, 1}, Value::Number(42.5));
  PutValue(s, {1, 2}, Value::Number(0.1 + 0.2));  // needs all 17 digits
  PutValue(s, {1, 3}, Value::Number(-1e-300));
  PutValue(s, {2, 1}, Value::Text("主题词 <&> \"quoted\""));
  PutValue(s, {2, 2}, Value::Text("  padded  "));
  PutValue(s, {2, 3}, Value::Text("line1\nline2\r\nend\ttab"));
  PutValue(s, {2, 4}, Value::Text("control\x01 and _x0041_ literal"));
  PutValue(s, {3, 1}, Value::Boolean(true));
  PutValue(s, {3, 2}, Value::Boolean(false));
  PutValue(s, {3, 3}, Value::Date(29342), "yyyy/m/d");  // 1980-05-01
  PutValue(s, {3, 4}, Value::Date(45000.75), "yyyy-mm-dd h:mm");
  PutValue(s, {4, 1}, Value::Error(ErrorCode::NA));
  PutValue(s, {4, 2}, Value::Error(ErrorCode::Div0));
  s.Edit({5, 1}, [](CellRecord& r) {
    r.value = Value::Text("0123");
    r.quotePrefix = true;
  });
  PutValue(s, {5, 2}, Value::Text("00123"), "@");
  s.Edit({6, 1}, [](CellRecord& r) {
    r.value = Value::Number(3);
    r.Extras().formula = "=SUM(A1,1)+IF(B2=\"x\",1,0)";
  });
  s.Edit({6, 2}, [](CellRecord& r) {
    r.value = Value::Text("ab");
    r.Extras().formula = "=\"a\"&\"b\"";
  });
  s.Edit({6, 3}, [](CellRecord& r) {
    r.value = Value::Boolean(true);
    r.Extras().formula = "=1<2";
  });
  s.Edit({6, 4}, [](CellRecord& r) {
    r.value = Value::Error(ErrorCode::Ref);
    r.Extras().formula = "=#REF!+1";
  });
  s.Edit({7, 1}, [](CellRecord& r) { r.Extras().comment = "最近: +3\n第二行"; });
  s.Edit({7, 2}, [](CellRecord& r) {
    r.value = Value::Number(1);
    r.Extras().comment = "";
  });
  // Fills: cells, a whole column, and a cell that opts out of its column's colour.
  s.Edit({8, 1}, [](CellRecord& r) { r.colorIndex = 43; });
  s.Edit({8, 2}, [](CellRecord& r) { r.colorIndex = 5; });  // 0000FF, also palette entry 32
  s.Edit({8, 3}, [](CellRecord& r) { r.colorIndex = 32; });
  s.SetColumnColor(14, 14, 43);
  s.SetColumnNumberFormat(15, 16, "0.00");
  s.Edit({9, 14}, [](CellRecord& r) {
    r.value = Value::Number(7);
    r.colorIndex = 0;
  });
  PutValue(s, {9, 15}, Value::Number(2.5));
  PutValue(s, {10, 15}, Value::Number(2.5), "General");
  // Sizes: widths (pixel-exact or not, hidden), heights (hidden rows among them).
  s.SetColumnWidth(1, 1, 20);
  s.SetColumnWidth(2, 3, 10.5);
  s.SetColumnWidth(4, 4, 0);
  s.SetColumnWidth(5, 5, 0.5);
  s.SetRowHeight(2, 2, 30);
  s.SetRowHeight(3, 4, 0);
  s.SetRowHeight(100, 200, 6.75);
  s.AddMergedArea(Area::Of(11, 1, 12, 3));
  s.AddMergedArea(Area::Of(20, 5, 20, 6));
  s.View().selection = Selection{{Area::Of(66, 4, 66, 4), Area::Of(1, 6, 2, 7)}, Cell{66, 4}};
  s.View().scroll = Cell{50, 3};

  Sheet& t = wb->GetSheet(2);
  PutValue(t, {1048576, 16384}, Value::Text("corner"));
  t.View().selection = Selection{{Area::Of(1, 1, 5, 5)}, Cell{3, 2}};
  t.SetRowHeight(1, 1048576, 20);  // every row: written once as the default
  t.SetRowHeight(7, 7, 13.5);
  wb->ActivateSheet(2);
  return wb;
}

void ExpectSameCells(const Sheet& a, const Sheet& b) {
  std::vector<
      std::tuple<Cell, Value, std::string, std::optional<std::string>, int, std::string, bool>>
      ca, cb;
  auto collect = [](const Sheet& s, auto& out) {
    // Cells holding only a format may be records on one side and format runs on the other.
    s.ForEachCellByRow(
        [&](Cell c, const CellRecord& r) {
          out.emplace_back(c, r.value, r.HasFormula() ? r.extras->formula : "",
                           r.HasComment() ? r.extras->comment : std::nullopt, s.ColorIndexAt(c),
                           s.NumberFormatAt(c), r.quotePrefix);
        },
        [&](Cell c, const CellFormat& f) {
          out.emplace_back(c, Value(), "", std::nullopt, s.ColorIndexAt(c), s.NumberFormatAt(c),
                           f.quotePrefix);
        });
  };
  collect(a, ca);
  collect(b, cb);
  ASSERT_EQ(ca.size(), cb.size()) << a.Name();
  for (size_t i = 0; i < ca.size(); ++i) {
    const Cell c = std::get<0>(ca[i]);
    SCOPED_TRACE("cell " + std::to_string(c.row) + "," + std::to_string(c.col));
    EXPECT_EQ(std::get<0>(ca[i]), std::get<0>(cb[i]));
    EXPECT_EQ(std::get<1>(ca[i]), std::get<1>(cb[i]));
    EXPECT_EQ(std::get<2>(ca[i]), std::get<2>(cb[i]));
    EXPECT_EQ(std::get<3>(ca[i]), std::get<3>(cb[i]));
    EXPECT_EQ(std::get<4>(ca[i]), std::get<4>(cb[i]));
    EXPECT_EQ(std::get<5>(ca[i]), std::get<5>(cb[i]));
    EXPECT_EQ(std::get<6>(ca[i]), std::get<6>(cb[i]));
  }
}

TEST(RoundTrip, EverythingTheToolsTouchSurvivesASaveAndALoad) {
  ScratchDir dir;
  const auto wb = RichBook();
  const std::string path = dir.Path("rich.xlsx");
  SaveWorkbook(*wb, path);
  const auto back = LoadWorkbook(path);

  EXPECT_EQ(back->Name(), "rich.xlsx");
  EXPECT_EQ(back->Path(), path);
  EXPECT_TRUE(back->UnmodelledContent().empty());
  ASSERT_EQ(back->SheetCount(), 3);
  EXPECT_EQ(back->ActiveSheetIndex(), 2);
  EXPECT_EQ(back->GetSheet(1).FormulaCountBound(), 4);
  EXPECT_EQ(back->GetSheet(2).FormulaCountBound(), 0);
  for (int32_t i = 1; i <= 3; ++i) {
    const Sheet& a = wb->GetSheet(i);
    const Sheet& b = back->GetSheet(i);
    SCOPED_TRACE(a.Name());
    EXPECT_EQ(a.Name(), b.Name());
    ExpectSameCells(a, b);
    EXPECT_EQ(a.View(), b.View());
    EXPECT_EQ(a.MergedAreas(), b.MergedAreas());
    for (int32_t col : {1, 2, 3, 4, 5, 6, 14, 15, 16, 17, 16384}) {
      EXPECT_EQ(a.ColumnWidth(col), b.ColumnWidth(col)) << "column " << col;
      EXPECT_EQ(a.ColumnColor(col), b.ColumnColor(col)) << "column " << col;
      EXPECT_EQ(a.ColumnNumberFormat(col), b.ColumnNumberFormat(col)) << "column " << col;
    }
    for (int32_t row : {1, 2, 3, 4, 5, 7, 99, 100, 150, 200, 201, 1048576}) {
      EXPECT_EQ(a.RowHeight(row), b.RowHeight(row)) << "row " << row;
    }
  }
}

TEST(RoundTrip, ASecondSaveWritesTheSameBytesOfContent) {
  ScratchDir dir;
  const auto wb = RichBook();
  SaveWorkbook(*wb, dir.Path("a.xlsx"));
  const auto once = LoadWorkbook(dir.Path("a.xlsx"));
  SaveWorkbook(*once, dir.Path("b.xlsx"));
  const auto twice = LoadWorkbook(dir.Path("b.xlsx"));
  for (int32_t i = 1; i <= 3; ++i) ExpectSameCells(once->GetSheet(i), twice->GetSheet(i));
}

// A worksheet of several megabytes is written in pieces that deflate while the next rows are
// written, and read while it inflates: the cells come back whole across every seam.
TEST(RoundTrip, AWorksheetOfSeveralMegabytesComesBackWhole) {
  ScratchDir dir;
  Workbook wb("big.xlsx", 1048576, 16384, 7, 1);
  Sheet& s = wb.GetSheet(1);
  std::mt19937 rng(3);
  for (int32_t row = 1; row <= 20000; ++row) {
    for (int32_t col = 1; col <= 6; ++col) {
      const auto pick = rng() % 10;
      if (pick < 4) {
        PutValue(s, {row, col}, Value::Number(static_cast<double>(rng() % 100000) / 8));
      } else if (pick < 9) {
        PutValue(s, {row, col},
                 Value::Text("条目 " + std::to_string(rng() % 3000) +
                             std::string(rng() % 3 == 0 ? 300 : 2, 'x')));
      }
    }
  }
  const std::string path = dir.Path("big.xlsx");
  SaveWorkbook(wb, path);
  const auto back = LoadWorkbook(path);
  ExpectSameCells(s, back->GetSheet(1));
}

TEST(RoundTrip, TheGridIsTheLoadersChoiceAndCellsBeyondItAreRefused) {
  ScratchDir dir;
  auto wb = std::make_unique<Workbook>("Book1", 1048576, 16384, 7, 1);
  PutValue(wb->GetSheet(1), {70000, 2}, Value::Number(1));
  SaveWorkbook(*wb, dir.Path("tall.xlsx"));
  LoadOptions old;
  old.rows = 65536;
  old.cols = 256;
  try {
    LoadWorkbook(dir.Path("tall.xlsx"), old);
    FAIL() << "a cell beyond the grid was accepted";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("B70000 lies outside the 65536 x 256 grid"),
              std::string::npos)
        << e.what();
  }
  const auto full = LoadWorkbook(dir.Path("tall.xlsx"));
  EXPECT_EQ(full->GetSheet(1).Rows(), 1048576);
  EXPECT_EQ(full->GetSheet(1).Find({70000, 2})->value, Value::Number(1));
}

}  // namespace
}  // namespace tezlo
