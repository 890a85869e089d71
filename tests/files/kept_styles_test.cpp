// A workbook's styles part is kept: written back as read, cells, rows and columns keeping their
// format numbers, and a tool's change of a fill, number format or quote prefix deriving a format
// that differs in that attribute only (checked in openpyxl as well).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "files/style_table.h"
#include "files/styles_xml.h"
#include "files/workbook_file.h"
#include "memory/cell_shift.h"
#include "memory/memory_host.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::MakeZip;
using testing::MinimalParts;
using testing::ScratchDir;

// Fonts (1 bold), a bordered format, a custom number format, a named style, a differential
// format, a table style and an extension list: everything a writer may put in the part.
const char* const kStyles =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts count=\"1\"><numFmt numFmtId=\"170\" formatCode=\"0.000\"/></numFmts>"
    "<fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font>"
    "<font><b/><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
    "<fills count=\"3\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill>"
    "<fill><patternFill patternType=\"solid\"><fgColor "
    "indexed=\"13\"/></patternFill></fill></fills>"
    "<borders count=\"2\"><border/><border><left style=\"thin\"/></border></borders>"
    "<cellStyleXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
    "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"4\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"1\" xfId=\"1\" applyFont=\"1\">"
    "<alignment horizontal=\"center\"/></xf>"
    "<xf numFmtId=\"170\" fontId=\"0\" fillId=\"2\" borderId=\"0\" xfId=\"0\" applyFill=\"1\"/>"
    "<xf numFmtId=\"49\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
    "quotePrefix=\"1\"/></cellXfs>"
    "<cellStyles count=\"2\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
    "<cellStyle name=\"Heading\" xfId=\"1\"/></cellStyles>"
    "<dxfs count=\"1\"><dxf><font><i/></font></dxf></dxfs>"
    "<tableStyles count=\"0\" defaultTableStyle=\"TableStyleMedium2\"/>"
    "<extLst><ext uri=\"{EB79DEF2-80B8-43e5-95BD-54CBDDF08E0F}\"/></extLst></styleSheet>";

std::map<std::string, std::string> StyledParts() {
  auto parts = MinimalParts(
      "<row r=\"1\"><c r=\"A1\" s=\"1\"><v>1</v></c><c r=\"B1\" s=\"2\"/><c r=\"C1\" "
      "s=\"3\"/></row>"
      "<row r=\"2\" s=\"2\" customFormat=\"1\"><c r=\"A2\" s=\"1\"><v>2</v></c></row>"
      "<row r=\"3\"><c r=\"A3\" s=\"1\"><v>3</v></c></row>");
  std::string& sheet = parts["xl/worksheets/sheet1.xml"];
  sheet.insert(sheet.find("<sheetData"),
               "<cols><col min=\"4\" max=\"5\" width=\"9\" style=\"1\" customWidth=\"1\"/></cols>");
  parts["xl/styles.xml"] = kStyles;
  parts["xl/_rels/workbook.xml.rels"].insert(
      parts["xl/_rels/workbook.xml.rels"].find("</Relationships>"),
      "<Relationship Id=\"rId5\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
      "Target=\"styles.xml\"/>");
  return parts;
}

std::string Script(const std::string& name) {
  return (std::filesystem::path(TEZLO_TEST_DIR) / name).string();
}

TEST(KeptStyles, AnUntouchedWorkbookWritesItsStylesBackAsRead) {
  ScratchDir dir;
  const std::string source = dir.Path("styled.xlsx");
  testing::WriteFileBytes(source, MakeZip(StyledParts()));
  const auto wb = LoadWorkbook(source);
  EXPECT_TRUE(wb->UnmodelledContent().empty());
  const Sheet& s = wb->GetSheet(1);
  EXPECT_EQ(s.Find({1, 1})->style, 1u);
  // A cell holding only a format is no record: it lies in its column's format runs.
  EXPECT_EQ(s.Find({1, 3}), nullptr);
  EXPECT_EQ(s.OwnFormat({1, 3}).style, 3u);
  EXPECT_TRUE(s.OwnFormat({1, 3}).quotePrefix);
  EXPECT_EQ(s.RowStyle(2), 2u);
  EXPECT_EQ(s.ColumnStyle(4), 1u);
  EXPECT_EQ(s.ColumnStyle(6), 0u);
  EXPECT_EQ(s.ColorIndexAt({2, 7}), 6);  // the row's fill reaches the cells it does not list
  EXPECT_EQ(s.NumberFormatAt({2, 7}), "0.000");

  SaveWorkbook(*wb, source);  // in place: nothing is lost any more
  const auto back = LoadWorkbook(source);
  ASSERT_TRUE(back->Styles());
  EXPECT_EQ(back->Styles()->xml, kStyles);
  const Sheet& b = back->GetSheet(1);
  for (const Cell c : {Cell{1, 1}, Cell{1, 2}, Cell{1, 3}, Cell{2, 1}, Cell{3, 1}, Cell{2, 9}}) {
    EXPECT_EQ(b.OwnFormat(c), s.OwnFormat(c)) << c.row << "," << c.col;
  }
  EXPECT_EQ(b.RowStyle(2), 2u);
  EXPECT_EQ(b.RowStyle(3), 0u);
  EXPECT_EQ(b.ColumnStyle(5), 1u);
  EXPECT_EQ(b.ColorIndexAt({2, 7}), 6);
}

TEST(KeptStyles, AToolsChangeDerivesAFormatDifferingInThatAttributeOnly) {
  ScratchDir dir;
  const std::string source = dir.Path("styled.xlsx");
  testing::WriteFileBytes(source, MakeZip(StyledParts()));
  auto wb = LoadWorkbook(source);
  Sheet& s = wb->GetSheet(1);
  s.Edit({1, 1}, [](CellRecord& r) { r.colorIndex = 3; });  // bold, bordered, centred: now red
  s.Edit({3, 1}, [](CellRecord& r) { r.colorIndex = 3; });  // the same change reuses the format
  s.Edit({1, 2}, [](CellRecord& r) { SetOwnNumberFormat(r, "0.00%", "General"); });
  s.Edit({1, 3}, [](CellRecord& r) { r.quotePrefix = false; });
  s.Edit({4, 1}, [](CellRecord& r) {
    r.value = Value::Number(4);
    r.colorIndex = 3;
  });
  const std::string saved = dir.Path("saved.xlsx");
  SaveWorkbook(*wb, saved);

  const auto back = LoadWorkbook(saved);
  const Sheet& b = back->GetSheet(1);
  EXPECT_EQ(b.Find({1, 1})->style, 4u);
  EXPECT_EQ(b.Find({3, 1})->style, 4u);
  EXPECT_EQ(b.OwnFormat({1, 2}).style, 5u);
  EXPECT_EQ(b.OwnFormat({1, 3}).style, 6u);
  EXPECT_EQ(b.Find({4, 1})->style, 7u);  // from the default format
  EXPECT_EQ(b.ColorIndexAt({1, 1}), 3);
  EXPECT_EQ(b.NumberFormatAt({1, 2}), "0.00%");
  EXPECT_EQ(b.ColorIndexAt({1, 2}), 6);
  EXPECT_FALSE(b.OwnFormat({1, 3}).quotePrefix);
  const std::string& xml = back->Styles()->xml;
  EXPECT_NE(xml.find("<cellXfs count=\"8\">"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<fills count=\"4\">"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<numFmts count=\"1\">"), std::string::npos) << xml;  // 0.00% is built in (10)
  // Everything else is as it was: the derived entries come after the part's own.
  const std::string original = kStyles;
  EXPECT_EQ(xml.substr(xml.find("<cellStyles")), original.substr(original.find("<cellStyles")));

  // openpyxl, reading the file on its own, sees the bold, the border and the alignment kept.
  const std::string command = "/usr/bin/python3 '" + Script("check_kept_styles.py") + "' '" +
                              saved + "' > '" + dir.Path("log") + "' 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << testing::ReadFileBytes(dir.Path("log"));
}

TEST(KeptStyles, StylesMoveWithTheirCellsAndInsertedCellsTakeTheFormatAbove) {
  auto wb = LoadWorkbookFromBytes(MakeZip(StyledParts()), "t.xlsx");
  Sheet& s = wb->GetSheet(1);
  InsertCellsShiftDown(s, Area::Of(2, 1, 3, 1));  // A2:A3 pushed down to A4:A5
  EXPECT_EQ(s.Find({4, 1})->style, 1u);
  EXPECT_EQ(s.Find({4, 1})->value, Value::Number(2));
  // The new cells take A1's format, not its value.
  for (int32_t row : {2, 3}) {
    EXPECT_EQ(s.OwnFormat({row, 1}).style, 1u);
    EXPECT_EQ(s.Find({row, 1}), nullptr);
  }
  DeleteWholeRows(s, 1, 1);
  EXPECT_EQ(s.RowStyle(1), 2u);  // row 2's format moved up with it
  EXPECT_EQ(s.Find({3, 1})->style, 1u);
  DeleteWholeColumns(s, 1, 3);
  EXPECT_EQ(s.ColumnStyle(1), 1u);
  EXPECT_EQ(s.ColumnStyle(3), 0u);
}

TEST(KeptStyles, APartWithoutNumberFormatsOrWithItsOwnPaletteGetsWhatItLacks) {
  auto parts = StyledParts();
  std::string styles = kStyles;
  styles.erase(styles.find("<numFmts"), styles.find("<fonts") - styles.find("<numFmts"));
  styles.replace(styles.find("numFmtId=\"170\""), 14, "numFmtId=\"2\"");
  // Indexed colour 10 is green in this part's own palette.
  styles.insert(
      styles.find("<extLst>"),
      "<colors><indexedColors><rgbColor rgb=\"FF000000\"/><rgbColor rgb=\"FFFFFFFF\"/>"
      "<rgbColor rgb=\"FFFF0000\"/><rgbColor rgb=\"FF00FF00\"/><rgbColor rgb=\"FF0000FF\"/>"
      "<rgbColor rgb=\"FFFFFF00\"/><rgbColor rgb=\"FFFF00FF\"/><rgbColor rgb=\"FF00FFFF\"/>"
      "<rgbColor rgb=\"FF000000\"/><rgbColor rgb=\"FFFFFFFF\"/><rgbColor rgb=\"FF00FF00\"/>"
      "</indexedColors></colors>");
  parts["xl/styles.xml"] = styles;
  auto wb = LoadWorkbookFromBytes(MakeZip(parts), "p.xlsx");
  Sheet& s = wb->GetSheet(1);
  s.Edit({1, 1}, [](CellRecord& r) {
    r.colorIndex = 3;  // red
    SetOwnNumberFormat(r, "0.0000", "General");
  });
  ScratchDir dir;
  SaveWorkbook(*wb, dir.Path("p.xlsx"));
  const auto back = LoadWorkbook(dir.Path("p.xlsx"));
  EXPECT_EQ(back->GetSheet(1).ColorIndexAt({1, 1}), 3);
  EXPECT_EQ(back->GetSheet(1).NumberFormatAt({1, 1}), "0.0000");
  const std::string& xml = back->Styles()->xml;
  EXPECT_NE(
      xml.find(
          "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0.0000\"/></numFmts><fonts"),
      std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<fgColor rgb=\"FFFF0000\"/>"), std::string::npos) << xml;
}

TEST(KeptStyles, CopiesKeepTheirFormatNumbersOnlyWithinTheirWorkbook) {
  MemoryHost host;
  const int32_t a = host.OpenWorkbook(LoadWorkbookFromBytes(MakeZip(StyledParts()), "a.xlsx"));
  const int32_t b = host.OpenWorkbook(LoadWorkbookFromBytes(MakeZip(StyledParts()), "b.xlsx"));
  host.AddSheetAfter(SheetRef{a, 1});  // a new sheet made from the old one, as tools do
  host.Copy(SheetRef{a, 1}, Area::Of(1, 1, 3, 5), SheetRef{a, 2}, Cell{1, 1});
  const Sheet& same = host.GetSheet(SheetRef{a, 2});
  EXPECT_EQ(same.OwnFormat({1, 1}).style, 1u);
  EXPECT_EQ(same.OwnFormat({1, 3}).style, 3u);
  EXPECT_EQ(same.OwnFormat({2, 4}).style, 2u);  // the row's format, spread over its cells
  EXPECT_EQ(same.ColorIndexAt({2, 4}), 6);
  // Another workbook's numbers would name other formats there: what is modelled travels alone.
  host.Copy(SheetRef{a, 1}, Area::Of(1, 1, 3, 5), SheetRef{b, 1}, Cell{11, 1});
  const Sheet& other = host.GetSheet(SheetRef{b, 1});
  EXPECT_EQ(other.OwnFormat({11, 1}).style, 0u);
  EXPECT_EQ(other.Find({11, 1})->value, Value::Number(1));
  EXPECT_EQ(other.ColorIndexAt({12, 4}), 6);
  EXPECT_EQ(other.OwnFormat({12, 4}).style, 0u);
}

TEST(StylesXml, ListsGrowInPlaceWhateverTheirShape) {
  EXPECT_EQ(AppendToList("<a><x count=\"2\"><i/><i/></x></a>", "x", "<i/>", 1),
            "<a><x count=\"3\"><i/><i/><i/></x></a>");
  EXPECT_EQ(AppendToList("<p:a><p:x count='0'/></p:a>", "x", "<p:i/>", 1),
            "<p:a><p:x count=\"1\"><p:i/></p:x></p:a>");
  EXPECT_EQ(AppendToList("<?xml version=\"1.0\"?><p:a><p:b/></p:a>", "numFmts", "<p:n/>", 1),
            "<?xml version=\"1.0\"?><p:a><p:numFmts count=\"1\"><p:n/></p:numFmts><p:b/></p:a>");
  // A '>' inside a value or a comment does not end a tag early.
  EXPECT_EQ(AppendToList("<a><!-- <x> --><x k=\"a>b\"></x></a>", "x", "<i/>", 1),
            "<a><!-- <x> --><x k=\"a>b\"><i/></x></a>");
  EXPECT_EQ(WithAttribute("<xf a=\"1\" fillId=\"0\"/>", "fillId", "7"),
            "<xf a=\"1\" fillId=\"7\"/>");
  EXPECT_EQ(WithAttribute("<xf a=\"1\" quotePrefix=\"1\"><b/></xf>", "quotePrefix", ""),
            "<xf a=\"1\"><b/></xf>");
  EXPECT_EQ(WithAttribute("<xf numFmtId=\"1\"><b/></xf>", "fmtId", "2"),
            "<xf numFmtId=\"1\" fmtId=\"2\"><b/></xf>");
  const auto xfs = CellXfTexts(kStyles);
  ASSERT_EQ(xfs.size(), 4u);
  EXPECT_EQ(
      xfs[1],
      "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"1\" xfId=\"1\" applyFont=\"1\">"
      "<alignment horizontal=\"center\"/></xf>");
}

}  // namespace
}  // namespace tezlo
