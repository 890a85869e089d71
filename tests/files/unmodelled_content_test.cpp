// Parts and worksheet elements the engine does not model are kept and written back; what truly
// cannot be kept is listed, and a save over the file it came from is refused with the list; a
// save elsewhere goes ahead.
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

TEST(UnmodelledContent, PartsAndElementsTheEngineDoesNotModelAreKeptNotListed) {
  ScratchDir dir;
  auto parts = MinimalParts(
      "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>",
      "<conditionalFormatting sqref=\"A1\"/><dataValidations count=\"0\"/>"
      "<drawing r:id=\"rId9\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"/>");
  parts["xl/charts/chart1.xml"] = "<chart/>";
  parts["xl/media/image1.png"] = "png";
  parts["xl/vbaProject.bin"] = "macro";
  parts["xl/pivotTables/pivotTable1.xml"] = "<p/>";
  parts["xl/workbook.xml"].insert(
      parts["xl/workbook.xml"].find("</workbook>"),
      "<definedNames><definedName name=\"x\">S!$A$1</definedName></definedNames>");
  WriteFileBytes(dir.Path("a.xlsx"), MakeZip(parts));
  auto wb = LoadWorkbook(dir.Path("a.xlsx"));
  EXPECT_TRUE(wb->UnmodelledContent().empty()) << wb->UnmodelledContent().front();
  wb->GetSheet(1).Edit({2, 1}, [](CellRecord& r) { r.value = Value::Number(2); });
  SaveWorkbook(*wb, dir.Path("a.xlsx"));
  const auto saved = testing::ReadZip(ReadFileBytes(dir.Path("a.xlsx")));
  for (const char* part : {"xl/charts/chart1.xml", "xl/media/image1.png", "xl/vbaProject.bin",
                           "xl/pivotTables/pivotTable1.xml"}) {
    ASSERT_TRUE(saved.count(part)) << part;
    EXPECT_EQ(saved.at(part), parts.at(part)) << part;
  }
  const std::string& sheet = saved.at("xl/worksheets/sheet1.xml");
  for (const char* element : {"<conditionalFormatting sqref=\"A1\"/>",
                              "<dataValidations count=\"0\"/>", "<drawing r:id=\"rId9\""}) {
    EXPECT_NE(sheet.find(element), std::string::npos) << element << " in " << sheet;
  }
  EXPECT_NE(saved.at("xl/workbook.xml")
                .find("<definedNames><definedName name=\"x\">S!$A$1</definedName></definedNames>"),
            std::string::npos);
  const auto again = LoadWorkbook(dir.Path("a.xlsx"));
  EXPECT_EQ(again->GetSheet(1).Find({2, 1})->value, Value::Number(2));
}

TEST(UnmodelledContent, TheStrictFormatIsListed) {
  auto parts = MinimalParts("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  std::string& book = parts["xl/workbook.xml"];
  book.replace(book.find("http://schemas.openxmlformats.org/spreadsheetml/2006/main"), 57,
               "http://purl.oclc.org/ooxml/spreadsheetml/main");
  const auto wb = LoadWorkbookFromBytes(MakeZip(parts), "t.xlsx");
  EXPECT_TRUE(Lists(*wb, "the Strict Open XML format (written back as transitional)"));
  EXPECT_FALSE(Lists(*LoadWorkbookFromBytes(MakeZip(MinimalParts("")), "t.xlsx"),
                     "the Strict Open XML format (written back as transitional)"));
}

TEST(UnmodelledContent, FormattingIsKeptAndNeverListed) {
  auto parts = MinimalParts("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>1</v></c></row>");
  parts["xl/styles.xml"] =
      "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<fonts count=\"2\"><font><sz val=\"11\"/></font><font><b/><sz val=\"11\"/></font></fonts>"
      "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
      "patternType=\"gray125\"/></fill></fills>"
      "<borders count=\"2\"><border/><border><left style=\"thin\"/></border></borders>"
      "<cellXfs count=\"3\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
      "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\"/>"
      "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"1\"/></cellXfs>"
      "<cellStyles count=\"1\"><cellStyle name=\"Heading\" xfId=\"0\"/></cellStyles>"
      "<colors><indexedColors><rgbColor rgb=\"FF123456\"/></indexedColors></colors></styleSheet>";
  parts["xl/_rels/workbook.xml.rels"].insert(
      parts["xl/_rels/workbook.xml.rels"].find("</Relationships>"),
      "<Relationship Id=\"rId5\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
      "Target=\"styles.xml\"/>");
  const auto wb = LoadWorkbookFromBytes(MakeZip(parts), "t.xlsx");
  // Fonts, borders, named styles and a palette of its own: the styles part is written back.
  EXPECT_TRUE(wb->UnmodelledContent().empty());
  EXPECT_EQ(wb->GetSheet(1).Find({1, 1})->style, 1u);
}

TEST(UnmodelledContent, SavingOverTheSourceIsRefusedAndLeavesItUntouched) {
  ScratchDir dir;
  // A shared formula's follower whose first cell is missing is read as its value: the formula
  // would be lost.
  auto parts = MinimalParts(
      "<row r=\"1\"><c r=\"A1\"><f t=\"shared\" ref=\"A1:A2\" si=\"0\">B1</f><v>1</v></c></row>"
      "<row r=\"2\"><c r=\"A2\"><f t=\"shared\" si=\"1\"/><v>1</v></c></row>");
  const std::string source = dir.Path("with chart.xlsx");
  WriteFileBytes(source, MakeZip(parts));
  const std::string before = ReadFileBytes(source);
  const auto wb = LoadWorkbook(source);
  try {
    SaveWorkbook(*wb, source);
    FAIL() << "saved over the source";
  } catch (const FileError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("shared formulas"), std::string::npos) << what;
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

TEST(UnmodelledContent, EncryptedAndBinaryWorkbooksAreRefusedWithOneLineSayingSo) {
  ScratchDir dir;
  const std::string ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  const std::string encrypted = ole + std::string(504, '\0') +
                                std::string("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
  const std::string binary =
      ole + std::string(600, '\0') + std::string("W\0o\0r\0k\0b\0o\0o\0k\0", 16);
  for (const auto& [bytes, expected] :
       {std::pair{encrypted, "is encrypted"}, std::pair{binary, "binary .xls"}}) {
    WriteFileBytes(dir.Path("b.xlsx"), bytes);
    for (int fromMemory = 0; fromMemory < 2; ++fromMemory) {
      try {
        if (fromMemory != 0) {
          LoadWorkbookFromBytes(bytes, "b.xlsx");
        } else {
          LoadWorkbook(dir.Path("b.xlsx"));
        }
        FAIL() << "opened";
      } catch (const FileError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find(expected), std::string::npos) << what;
        EXPECT_NE(what.find("b.xlsx"), std::string::npos) << what;
        EXPECT_EQ(what.find('\n'), std::string::npos) << what;
      }
    }
  }
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
