// Content the engine does not keep is listed, and a save over the file it came from is refused
// with the list; a save elsewhere goes ahead.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "files/workbook_file.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::MakeZip;
using testing::MinimalParts;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

bool Lists(const Workbook& wb, const std::string& what) {
  const auto& all = wb.UnmodelledContent();
  return std::find(all.begin(), all.end(), what) != all.end();
}

TEST(UnmodelledContent, PartsAndElementsTheEngineDoesNotKeepAreListed) {
  auto parts = MinimalParts("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>",
                            "<conditionalFormatting sqref=\"A1\"/><dataValidations count=\"0\"/>"
                            "<drawing r:id=\"rId9\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"/>");
  parts["xl/charts/chart1.xml"] = "<chart/>";
  parts["xl/media/image1.png"] = "png";
  parts["xl/vbaProject.bin"] = "macro";
  parts["xl/pivotTables/pivotTable1.xml"] = "<p/>";
  parts["xl/workbook.xml"].insert(parts["xl/workbook.xml"].find("</workbook>"),
                                  "<definedNames><definedName name=\"x\">S!$A$1</definedName></definedNames>");
  const auto wb = LoadWorkbookFromBytes(MakeZip(parts), "t.xlsx");
  for (const char* what : {"charts", "pictures", "macros", "pivot tables", "defined names", "conditional formats",
                           "data validation", "drawings (pictures, charts or shapes)"}) {
    EXPECT_TRUE(Lists(*wb, what)) << what;
  }
  EXPECT_EQ(wb->GetSheet(1).Find({1, 1})->value, Value::Number(1));
}

TEST(UnmodelledContent, FormattingIsKeptAndNeverListed) {
  auto parts = MinimalParts("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>1</v></c></row>");
  parts["xl/styles.xml"] =
      "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<fonts count=\"2\"><font><sz val=\"11\"/></font><font><b/><sz val=\"11\"/></font></fonts>"
      "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill></fills>"
      "<borders count=\"2\"><border/><border><left style=\"thin\"/></border></borders>"
      "<cellXfs count=\"3\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
      "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\"/>"
      "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"1\"/></cellXfs>"
      "<cellStyles count=\"1\"><cellStyle name=\"Heading\" xfId=\"0\"/></cellStyles>"
      "<colors><indexedColors><rgbColor rgb=\"FF123456\"/></indexedColors></colors></styleSheet>";
  parts["xl/_rels/workbook.xml.rels"].insert(
      parts["xl/_rels/workbook.xml.rels"].find("</Relationships>"),
      "<Relationship Id=\"rId5\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
      "Target=\"styles.xml\"/>");
  const auto wb = LoadWorkbookFromBytes(MakeZip(parts), "t.xlsx");
  // Fonts, borders, named styles and a palette of its own: the styles part is written back.
  EXPECT_TRUE(wb->UnmodelledContent().empty());
  EXPECT_EQ(wb->GetSheet(1).Find({1, 1})->style, 1u);
}

TEST(UnmodelledContent, SavingOverTheSourceIsRefusedAndLeavesItUntouched) {
  ScratchDir dir;
  auto parts = MinimalParts("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  parts["xl/charts/chart1.xml"] = "<chart/>";
  const std::string source = dir.Path("with chart.xlsx");
  WriteFileBytes(source, MakeZip(parts));
  const std::string before = ReadFileBytes(source);
  const auto wb = LoadWorkbook(source);
  try {
    SaveWorkbook(*wb, source);
    FAIL() << "saved over the source";
  } catch (const FileError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("charts"), std::string::npos) << what;
    EXPECT_NE(what.find("under another name"), std::string::npos) << what;
  }
  // The same file reached by another spelling of its path is still the source.
  EXPECT_THROW(SaveWorkbook(*wb, dir.Path("./with chart.xlsx")), FileError);
  EXPECT_EQ(ReadFileBytes(source), before);
  SaveWorkbook(*wb, dir.Path("copy.xlsx"));
  const auto copy = LoadWorkbook(dir.Path("copy.xlsx"));
  EXPECT_TRUE(copy->UnmodelledContent().empty());
  EXPECT_EQ(copy->GetSheet(1).Find({1, 1})->value, Value::Number(1));
}

TEST(UnmodelledContent, AWorkbookWithNothingUnkeptSavesOverItsSource) {
  ScratchDir dir;
  const std::string source = dir.Path("plain.xlsx");
  WriteFileBytes(source, MakeZip(MinimalParts("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>")));
  auto wb = LoadWorkbook(source);
  wb->GetSheet(1).Edit({2, 2}, [](CellRecord& r) { r.value = Value::Number(2); });
  SaveWorkbook(*wb, source);
  EXPECT_EQ(LoadWorkbook(source)->GetSheet(1).Find({2, 2})->value, Value::Number(2));
}

}  // namespace
}  // namespace tezlo
