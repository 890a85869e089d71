// Hand-made packages for what the openpyxl corpus does not reach: names and relationship ids
// that must not collide, parts that go with a deleted sheet, chart sheets among worksheets, the
// 1904 date system, a prefixed main namespace, the raw tags and core properties the kept
// content is written with, and binary parts carried packed as they were.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <random>

#include "files/core_properties.h"
#include "files/raw_tag.h"
#include "files/workbook_part_writer.h"
#include "files/workbook_file.h"
#include "files/zip_package.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::MakeZip;
using testing::ReadZip;
using testing::ScratchDir;

const std::string kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const std::string kRNs =
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

std::string Rels(const std::string& body) {
  return "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
         body + "</Relationships>";
}

std::string Rel(const std::string& id, const std::string& type, const std::string& target,
                bool external = false) {
  return "<Relationship Id=\"" + id + "\" Type=\"" + kRel + type + "\" Target=\"" + target + "\"" +
         (external ? " TargetMode=\"External\"" : "") + "/>";
}

// Two worksheets and a chart sheet between them: the first has form controls in a legacy
// drawing named as Tezlo would name a comment drawing, and a drawing; the second a hyperlink
// whose relationship id is the one Tezlo would give a comments part.
std::map<std::string, std::string> TwoSheets() {
  auto parts = testing::MinimalParts("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>",
                                     "<drawing r:id=\"rId2\"/><legacyDrawing r:id=\"rId1\"/>");
  parts["xl/worksheets/sheet1.xml"].replace(parts["xl/worksheets/sheet1.xml"].find("<worksheet ") +
                                                10,
                                            0, " " + kRNs);
  parts["xl/worksheets/_rels/sheet1.xml.rels"] =
      Rels(Rel("rId1", "vmlDrawing", "../drawings/vmlDrawing1.vml") +
           Rel("rId2", "drawing", "../drawings/drawing1.xml"));
  parts["xl/drawings/vmlDrawing1.vml"] = "<xml><!-- controls --></xml>";
  parts["xl/drawings/drawing1.xml"] = "<xdr:wsDr xmlns:xdr=\"d\"/>";
  parts["xl/drawings/_rels/drawing1.xml.rels"] = Rels(Rel("rId1", "chart", "../charts/chart1.xml"));
  parts["xl/charts/chart1.xml"] = "<c:chartSpace xmlns:c=\"c\"/>";
  parts["xl/worksheets/sheet2.xml"] =
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" " + kRNs +
      "><sheetData/><hyperlinks><hyperlink ref=\"B2\" r:id=\"rId1\"/></hyperlinks></worksheet>";
  parts["xl/worksheets/_rels/sheet2.xml.rels"] =
      Rels(Rel("rId1", "hyperlink", "https://example.com/?a=1&amp;b=2", true));
  parts["xl/chartsheets/sheet1.xml"] = "<chartsheet/>";
  parts["xl/workbook.xml"] =
      "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" " + kRNs +
      "><workbookPr date1904=\"1\"/><bookViews><workbookView firstSheet=\"2\" "
      "activeTab=\"2\"/></bookViews>"
      "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"Chart\" sheetId=\"7\" "
      "r:id=\"rId3\"/>"
      "<sheet name=\"T\" sheetId=\"3\" state=\"hidden\" r:id=\"rId2\"/></sheets>"
      "<definedNames><definedName name=\"n\">S!$A$1</definedName><definedName "
      "name=\"_xlnm.Print_Area\" "
      "localSheetId=\"0\">S!$A$1:$B$2</definedName><definedName name=\"_xlnm.Print_Area\" "
      "localSheetId=\"2\" hidden=\"1\">"
      "T!$A$1:$C$3</definedName><definedName name=\"c\" localSheetId=\"1\"/></definedNames>"
      "<calcPr calcId=\"191029\"/><extLst><ext uri=\"{x}\"/></extLst></workbook>";
  // Custom XML with its properties, cell metadata and the persons of threaded comments, named
  // in another case than the relationships give them.
  parts["customXml/item1.xml"] = "<b:Sources xmlns:b=\"s\"/>";
  parts["customXml/_rels/item1.xml.rels"] = Rels(Rel("rId1", "customXmlProps", "itemProps1.xml"));
  parts["customXml/itemProps1.xml"] = "<ds:datastoreItem xmlns:ds=\"p\"/>";
  parts["xl/Metadata.xml"] =
      "<metadata xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"/>";
  parts["xl/persons/person.xml"] = "<personList/>";
  parts["xl/_rels/workbook.xml.rels"] =
      Rels(Rel("rId1", "worksheet", "worksheets/sheet1.xml") +
           Rel("rId2", "worksheet", "worksheets/sheet2.xml") +
           Rel("rId3", "chartsheet", "chartsheets/sheet1.xml") +
           Rel("rId4", "customXml", "../customXml/item1.xml") +
           Rel("rId5", "sheetMetadata", "metadata.xml") +
           "<Relationship Id=\"rId6\" "
           "Type=\"http://schemas.microsoft.com/office/2017/10/relationships/person\" "
           "Target=\"persons/person.xml\"/>");
  parts["[Content_Types].xml"] =
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"vml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.vmlDrawing\"/>"
      "<Override PartName=\"/xl/metadata.xml\" "
      "ContentType=\"application/"
      "vnd.openxmlformats-officedocument.spreadsheetml.sheetMetadata+xml\"/>"
      "<Override PartName=\"/xl/persons/person.xml\" "
      "ContentType=\"application/vnd.ms-excel.person+xml\"/></Types>";
  return parts;
}

TEST(KeptPackage, NewCommentsTakeNamesAndIdsNoKeptPartHas) {
  auto wb = LoadWorkbookFromBytes(MakeZip(TwoSheets()), "t.xlsx");
  EXPECT_TRUE(wb->UnmodelledContent().empty()) << wb->UnmodelledContent().front();
  ASSERT_EQ(wb->SheetCount(), 2);
  EXPECT_EQ(wb->ActiveSheetIndex(), 2);  // the chart sheet counts among the tabs
  wb->GetSheet(2).Edit({2, 2}, [](CellRecord& r) { r.Extras().comment = "批注"; });
  ScratchDir dir;
  SaveWorkbook(*wb, dir.Path("out.xlsx"));
  const auto saved = ReadZip(testing::ReadFileBytes(dir.Path("out.xlsx")));
  const auto original = TwoSheets();
  for (const char* part :
       {"xl/drawings/vmlDrawing1.vml", "xl/drawings/drawing1.xml", "xl/charts/chart1.xml",
        "xl/chartsheets/sheet1.xml", "xl/drawings/_rels/drawing1.xml.rels",
        "xl/worksheets/_rels/sheet1.xml.rels", "customXml/item1.xml",
        "customXml/_rels/item1.xml.rels", "customXml/itemProps1.xml", "xl/Metadata.xml",
        "xl/persons/person.xml"}) {
    ASSERT_TRUE(saved.count(part)) << part;
    if (std::string(part).find("worksheets") == std::string::npos) {
      EXPECT_EQ(saved.at(part), original.at(part)) << part;
    }
  }
  const std::string& rels = saved.at("xl/worksheets/_rels/sheet2.xml.rels");
  EXPECT_NE(rels.find(
                "Id=\"rId1\" Type=\"" + kRel +
                "hyperlink\" Target=\"https://example.com/?a=1&amp;b=2\" TargetMode=\"External\""),
            std::string::npos)
      << rels;
  EXPECT_NE(rels.find("Id=\"rId2\" Type=\"" + kRel + "comments\" Target=\"../comments1.xml\""),
            std::string::npos)
      << rels;
  EXPECT_NE(rels.find("Id=\"rId3\" Type=\"" + kRel +
                      "vmlDrawing\" Target=\"../drawings/vmlDrawing2.vml\""),
            std::string::npos)
      << rels;
  EXPECT_NE(saved.at("xl/worksheets/sheet2.xml").find("<legacyDrawing r:id=\"rId3\"/>"),
            std::string::npos);
  const std::string& types = saved.at("[Content_Types].xml");
  for (const char* type : {"<Override PartName=\"/xl/Metadata.xml\" "
                           "ContentType=\"application/vnd.openxmlformats-officedocument"
                           ".spreadsheetml.sheetMetadata+xml\"/>",
                           "<Override PartName=\"/xl/persons/person.xml\" "
                           "ContentType=\"application/vnd.ms-excel.person+xml\"/>",
                           "<Default Extension=\"vml\""}) {
    EXPECT_NE(types.find(type), std::string::npos) << type << " in " << types;
  }
  EXPECT_NE(saved.at("xl/_rels/workbook.xml.rels")
                .find("Id=\"rId6\" Type=\"http://schemas.microsoft.com/office/2017/10/"
                      "relationships/person\" Target=\"persons/person.xml\""),
            std::string::npos);
  const std::string& book = saved.at("xl/workbook.xml");
  EXPECT_NE(book.find("<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/><sheet "
                      "name=\"Chart\" sheetId=\"7\" r:id=\"rId3\"/>"
                      "<sheet name=\"T\" sheetId=\"3\" state=\"hidden\" r:id=\"rId2\"/></sheets>"),
            std::string::npos)
      << book;
  EXPECT_NE(book.find("<workbookView firstSheet=\"2\" activeTab=\"2\"/>"), std::string::npos)
      << book;
  EXPECT_NE(book.find("<calcPr calcId=\"191029\" fullCalcOnLoad=\"1\"/><extLst><ext "
                      "uri=\"{x}\"/></extLst></workbook>"),
            std::string::npos)
      << book;
  EXPECT_NE(book.find("<definedNames><definedName name=\"n\">S!$A$1</definedName><definedName "
                      "name=\"_xlnm.Print_Area\" "
                      "localSheetId=\"0\">S!$A$1:$B$2</definedName><definedName "
                      "name=\"_xlnm.Print_Area\" localSheetId=\"2\" "
                      "hidden=\"1\">T!$A$1:$C$3</definedName><definedName name=\"c\" "
                      "localSheetId=\"1\"/></definedNames>"),
            std::string::npos)
      << book;
  const auto again = LoadWorkbook(dir.Path("out.xlsx"));
  EXPECT_EQ(*again->GetSheet(2).Find({2, 2})->extras->comment, "批注");
}

TEST(KeptPackage, CommentsKeepTheirPartsUntilTheyChange) {
  auto parts = testing::MinimalParts("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>",
                                     "<legacyDrawing r:id=\"rId7\"/>");
  parts["xl/worksheets/sheet1.xml"].replace(parts["xl/worksheets/sheet1.xml"].find("<worksheet ") +
                                                10,
                                            0, " " + kRNs);
  parts["xl/worksheets/_rels/sheet1.xml.rels"] =
      Rels(Rel("rId3", "comments", "../comments1.xml") +
           Rel("rId7", "vmlDrawing", "../drawings/vmlDrawing1.vml"));
  parts["xl/comments1.xml"] =
      "<comments "
      "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><authors><author>作者</"
      "author></authors>"
      "<commentList><comment ref=\"B2\" "
      "authorId=\"0\"><text><r><rPr><b/></rPr><t>粗体</t></r><r><t> note</t></r></text></comment>"
      "</commentList></comments>";
  parts["xl/drawings/vmlDrawing1.vml"] = "<xml><!-- a box 3 columns wide --></xml>";
  ScratchDir dir;
  auto wb = LoadWorkbookFromBytes(MakeZip(parts), "t.xlsx");
  EXPECT_EQ(*wb->GetSheet(1).Find({2, 2})->extras->comment, "粗体 note");
  wb->GetSheet(1).Edit({5, 5}, [](CellRecord& r) { r.value = Value::Number(5); });
  SaveWorkbook(*wb, dir.Path("out.xlsx"));
  auto saved = ReadZip(testing::ReadFileBytes(dir.Path("out.xlsx")));
  EXPECT_EQ(saved.at("xl/comments1.xml"), parts.at("xl/comments1.xml"));
  EXPECT_EQ(saved.at("xl/drawings/vmlDrawing1.vml"), parts.at("xl/drawings/vmlDrawing1.vml"));
  EXPECT_NE(saved.at("xl/worksheets/sheet1.xml").find("<legacyDrawing r:id=\"rId7\"/>"),
            std::string::npos);
  // Once a comment changes, the comments are written afresh and the old parts go.
  wb->GetSheet(1).Edit({2, 2}, [](CellRecord& r) { r.Extras().comment = "新"; });
  SaveWorkbook(*wb, dir.Path("out.xlsx"));
  saved = ReadZip(testing::ReadFileBytes(dir.Path("out.xlsx")));
  EXPECT_FALSE(saved.count("xl/drawings/vmlDrawing1.vml"));
  ASSERT_TRUE(saved.count("xl/comments2.xml"));
  EXPECT_FALSE(saved.count("xl/comments1.xml"));
  EXPECT_EQ(*LoadWorkbook(dir.Path("out.xlsx"))->GetSheet(1).Find({2, 2})->extras->comment, "新");
}

TEST(KeptPackage, CommentsOnASheetWhoseLegacyDrawingIsKeptAreRefusedNamingTheSheet) {
  auto wb = LoadWorkbookFromBytes(MakeZip(TwoSheets()), "t.xlsx");
  wb->GetSheet(1).Edit({2, 2}, [](CellRecord& r) { r.Extras().comment = "x"; });
  ScratchDir dir;
  try {
    SaveWorkbook(*wb, dir.Path("out.xlsx"));
    FAIL() << "saved";
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("sheet 'S'"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("out.xlsx"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out.xlsx")));
}

TEST(KeptPackage, ADeletedSheetTakesItsPartsAndNewOrCopiedSheetsTakeNone) {
  auto wb = LoadWorkbookFromBytes(MakeZip(TwoSheets()), "t.xlsx");
  wb->AddSheetAfter(2);
  wb->GetSheet(3).View() = wb->GetSheet(2).View();  // as if copied with everything it keeps
  wb->DeleteSheet(1);
  ScratchDir dir;
  SaveWorkbook(*wb, dir.Path("out.xlsx"));
  auto saved = ReadZip(testing::ReadFileBytes(dir.Path("out.xlsx")));
  for (const char* gone : {"xl/drawings/drawing1.xml", "xl/charts/chart1.xml",
                           "xl/drawings/vmlDrawing1.vml", "xl/drawings/_rels/drawing1.xml.rels"}) {
    EXPECT_FALSE(saved.count(gone)) << gone;
  }
  EXPECT_TRUE(saved.count("xl/chartsheets/sheet1.xml"));
  // The chart sheet takes the deleted sheet's place; the new sheet gets fresh ids, and its copy
  // of the other sheet's view none of that sheet's relationships.
  std::string book = saved.at("xl/workbook.xml");
  EXPECT_NE(book.find("<sheets><sheet name=\"Chart\" sheetId=\"7\" r:id=\"rId3\"/><sheet "
                      "name=\"T\" sheetId=\"3\" "
                      "state=\"hidden\" r:id=\"rId2\"/><sheet name=\"Sheet1\" sheetId=\"8\" "
                      "r:id=\"rId1\"/></sheets>"),
            std::string::npos)
      << book;
  EXPECT_NE(book.find("<workbookView firstSheet=\"2\" activeTab=\"2\"/>"), std::string::npos)
      << book;
  // Names local to a sheet follow it to its new place; those of the deleted sheet go.
  EXPECT_NE(book.find("<definedNames><definedName name=\"n\">S!$A$1</definedName><definedName "
                      "name=\"_xlnm.Print_Area\" "
                      "localSheetId=\"1\" hidden=\"1\">T!$A$1:$C$3</definedName><definedName "
                      "name=\"c\" localSheetId=\"0\"/>"
                      "</definedNames>"),
            std::string::npos)
      << book;
  EXPECT_NE(saved.at("xl/worksheets/sheet2.xml").find("<hyperlinks>"), std::string::npos);
  EXPECT_EQ(saved.at("xl/worksheets/sheet1.xml").find("<hyperlinks>"),
            std::string::npos);  // the new sheet's part
  EXPECT_FALSE(saved.count("xl/worksheets/_rels/sheet1.xml.rels"));
  // The first tab shown must exist.
  wb->DeleteSheet(2);
  SaveWorkbook(*wb, dir.Path("out.xlsx"));
  saved = ReadZip(testing::ReadFileBytes(dir.Path("out.xlsx")));
  book = saved.at("xl/workbook.xml");
  EXPECT_EQ(book.find("firstSheet"), std::string::npos) << book;
  EXPECT_EQ(LoadWorkbook(dir.Path("out.xlsx"))->SheetCount(), 1);
}

TEST(KeptPackage, DatesOfThe1904SystemAndAPrefixedNamespaceComeBackAsWritten) {
  auto parts = testing::MinimalParts("");
  parts["xl/worksheets/sheet1.xml"] =
      "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<x:sheetViews><x:sheetView workbookViewId=\"0\" "
      "zoomScale=\"85\"/></x:sheetViews><x:sheetData><x:row r=\"1\">"
      "<x:c r=\"A1\" s=\"1\"><x:v>100</x:v></x:c></x:row></x:sheetData>"
      "<x:pageMargins left=\"0.70000000000000007\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
      "header=\"0.3\" footer=\"0.3\"/>"
      "</x:worksheet>";
  parts["xl/workbook.xml"].replace(parts["xl/workbook.xml"].find("<sheets>"), 0,
                                   "<workbookPr date1904=\"true\"/>");
  parts["xl/styles.xml"] =
      "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><cellXfs "
      "count=\"2\"><xf numFmtId=\"0\"/>"
      "<xf numFmtId=\"14\" applyNumberFormat=\"1\"/></cellXfs></styleSheet>";
  parts["xl/_rels/workbook.xml.rels"].insert(parts["xl/_rels/workbook.xml.rels"].find(
                                                 "</Relationships>"),
                                             Rel("rId5", "styles", "styles.xml"));
  auto wb = LoadWorkbookFromBytes(MakeZip(parts), "t.xlsx");
  EXPECT_EQ(wb->GetSheet(1).Find({1, 1})->value,
            Value::Date(1562));  // 1904-04-10 in the 1900 system
  ScratchDir dir;
  SaveWorkbook(*wb, dir.Path("out.xlsx"));
  const auto saved = ReadZip(testing::ReadFileBytes(dir.Path("out.xlsx")));
  const std::string& sheet = saved.at("xl/worksheets/sheet1.xml");
  EXPECT_NE(sheet.find("<v>100</v>"), std::string::npos) << sheet;
  EXPECT_NE(sheet.find("<x:sheetView tabSelected=\"1\" workbookViewId=\"0\" "
                       "zoomScale=\"85\"><x:selection activeCell=\"A1\" "
                       "sqref=\"A1\"/></x:sheetView>"),
            std::string::npos)
      << sheet;
  EXPECT_NE(sheet.find("<x:pageMargins left=\"0.70000000000000007\""), std::string::npos) << sheet;
  EXPECT_NE(saved.at("xl/workbook.xml").find("<workbookPr date1904=\"true\"/>"), std::string::npos);
  const auto again = LoadWorkbook(dir.Path("out.xlsx"));
  EXPECT_EQ(again->GetSheet(1).Find({1, 1})->value, Value::Date(1562));
  EXPECT_TRUE(again->UnmodelledContent().empty());
}

// Random damage to the parts whose bytes are kept: what loads saves, and what is saved loads.
TEST(KeptPackage, DamagedKeptXmlNeverGivesAFileThatDoesNotOpen) {
  auto parts = TwoSheets();
  parts["xl/worksheets/sheet1.xml"] =
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" " + kRNs +
      " xmlns:mc=\"m\"><sheetPr><tabColor rgb=\"FF00FF00\"/></sheetPr><sheetViews><sheetView "
      "workbookViewId=\"0\">"
      "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" "
      "state=\"frozen\"/><selection pane=\"bottomLeft\" "
      "activeCell=\"B3\" sqref=\"B3\"/></sheetView><sheetView workbookViewId=\"1\"/></sheetViews>"
      "<sheetFormatPr baseColWidth=\"10\" defaultRowHeight=\"15\" "
      "outlineLevelRow=\"1\"/><cols><col min=\"2\" max=\"3\" "
      "width=\"12.5\" outlineLevel=\"1\" customWidth=\"1\"/></cols><sheetData><row r=\"1\" "
      "outlineLevel=\"1\" spans=\"1:2\">"
      "<c r=\"A1\" cm=\"1\"><v>1</v></c><c r=\"B1\" ph=\"1\" "
      "t=\"str\"><v>x</v></c></row></sheetData>"
      "<conditionalFormatting sqref=\"A1:B2\"><cfRule type=\"expression\" "
      "priority=\"1\"><formula>A1&gt;0</formula></cfRule>"
      "</conditionalFormatting><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" "
      "bottom=\"0.75\" header=\"0.3\" "
      "footer=\"0.3\"/><drawing r:id=\"rId2\"/><mc:AlternateContent><mc:Choice "
      "Requires=\"x\"/></mc:AlternateContent>"
      "<extLst><ext uri=\"{u}\"/></extLst></worksheet>";
  std::mt19937 random(12);
  const std::string damage = "  aa11..::__--<>\"'/=&";  // mostly damage that stays well-formed
  ScratchDir dir;
  int loaded = 0;
  for (int round = 0; round < 500; ++round) {
    auto damaged = parts;
    const char* part = round % 3 == 0 ? "xl/workbook.xml" : "xl/worksheets/sheet1.xml";
    std::string& xml = damaged[part];
    for (int k = 0; k < 1 + round % 3; ++k) {
      xml[random() % xml.size()] = damage[random() % damage.size()];
    }
    std::unique_ptr<Workbook> wb;
    try {
      wb = LoadWorkbookFromBytes(MakeZip(damaged), "t.xlsx");
    } catch (const FileError&) {
      continue;
    }
    ++loaded;
    try {
      SaveWorkbook(*wb, dir.Path("out.xlsx"));
    } catch (const FileError&) {
      continue;
    }
    EXPECT_NO_THROW(LoadWorkbook(dir.Path("out.xlsx"))) << part << ": " << xml;
  }
  EXPECT_GT(loaded, 60);  // the damage must also reach files that load
}

// A sheet as the spreadsheet itself writes one: markup-compatibility namespaces declared on the
// root and used in rows, the format properties and extensions; cell metadata; a split pane.
TEST(KeptPackage, ASheetInTheSpreadsheetsOwnStyleComesBackEqual) {
  auto parts = testing::MinimalParts("");
  parts["xl/worksheets/sheet1.xml"] =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" " +
      kRNs +
      " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
      "mc:Ignorable=\"x14ac xr\" "
      "xmlns:x14ac=\"http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac\" "
      "xmlns:xr=\"http://schemas.microsoft.com/office/spreadsheetml/2014/revision\" "
      "xr:uid=\"{00000000-0001-0000-0000-000000000000}\">"
      "<sheetPr codeName=\"Sheet1\"><tabColor theme=\"4\" "
      "tint=\"0.39997558519241921\"/></sheetPr><dimension ref=\"A1:B2\"/>"
      "<sheetViews><sheetView showGridLines=\"0\" zoomScale=\"120\" zoomScaleNormal=\"120\" "
      "workbookViewId=\"0\">"
      "<pane xSplit=\"2400\" ySplit=\"1200\" topLeftCell=\"C5\" activePane=\"bottomRight\"/>"
      "<selection pane=\"topRight\" activeCell=\"C1\" sqref=\"C1\"/><selection pane=\"bottomLeft\" "
      "activeCell=\"A5\" sqref=\"A5\"/>"
      "<selection pane=\"bottomRight\" activeCell=\"D7\" sqref=\"D7:E8\"/></sheetView></sheetViews>"
      "<sheetFormatPr defaultRowHeight=\"14.4\" x14ac:dyDescent=\"0.3\"/>"
      "<sheetData><row r=\"1\" spans=\"1:2\" x14ac:dyDescent=\"0.3\"><c r=\"A1\" cm=\"1\"><f "
      "t=\"array\" ref=\"A1\">SUM(B1:B2)</f>"
      "<v>3</v></c><c r=\"B1\"><v>1</v></c></row><row r=\"2\" spans=\"1:2\" thickBot=\"1\" "
      "x14ac:dyDescent=\"0.3\">"
      "<c r=\"B2\" vm=\"2\"><v>2</v></c></row></sheetData>"
      "<phoneticPr fontId=\"1\" type=\"noConversion\"/><pageMargins left=\"0.7\" right=\"0.7\" "
      "top=\"0.75\" "
      "bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/><pageSetup paperSize=\"9\" "
      "orientation=\"portrait\" r:id=\"rId1\"/>"
      "<extLst><ext xmlns:x14=\"http://schemas.microsoft.com/office/spreadsheetml/2009/9/main\" "
      "uri=\"{78C0D931-6437-407d-A8EE-F0AAD7539E65}\"><x14:conditionalFormattings><x14:"
      "conditionalFormatting "
      "xmlns:xm=\"http://schemas.microsoft.com/office/excel/2006/main\"><x14:cfRule "
      "type=\"dataBar\" id=\"{1}\">"
      "<x14:dataBar/></x14:cfRule><xm:sqref>B1:B2</xm:sqref></x14:conditionalFormatting></"
      "x14:conditionalFormattings>"
      "</ext></extLst></worksheet>";
  parts["xl/worksheets/_rels/sheet1.xml.rels"] =
      Rels(Rel("rId1", "printerSettings", "../printerSettings/printerSettings1.bin"));
  parts["xl/printerSettings/printerSettings1.bin"] = std::string("\0\x01\x02printer\xff", 11);
  parts["[Content_Types].xml"] =
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default "
      "Extension=\"bin\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.printerSettings\"/"
      ">"
      "<Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
      "</Types>";
  ScratchDir dir;
  testing::WriteFileBytes(dir.Path("excel.xlsx"), MakeZip(parts));
  auto wb = LoadWorkbook(dir.Path("excel.xlsx"));
  EXPECT_EQ(wb->GetSheet(1).View().selection, (Selection{{Area::Of(7, 4, 8, 5)}, Cell{7, 4}}));
  wb->GetSheet(1).View().selection = Selection{{Area::Of(9, 9, 9, 9)}, Cell{9, 9}};
  SaveWorkbook(*wb, dir.Path("saved.xlsx"));
  const std::string args = "'" + dir.Path("excel.xlsx") + "' '" + dir.Path("saved.xlsx") + "' same";
  EXPECT_EQ(testing::RunTestScript("check_kept_book.py", args, dir.Path("log")), 0)
      << testing::ReadFileBytes(dir.Path("log"));
  const std::string sheet =
      ReadZip(testing::ReadFileBytes(dir.Path("saved.xlsx"))).at("xl/worksheets/sheet1.xml");
  EXPECT_NE(sheet.find("<selection pane=\"bottomLeft\" activeCell=\"A5\" sqref=\"A5\"/><selection "
                       "pane=\"bottomRight\" "
                       "activeCell=\"I9\" sqref=\"I9\"/></sheetView>"),
            std::string::npos)
      << sheet;
}

TEST(KeptPackage, RawTagsReadBackAsWritten) {
  const auto tag = ParseStartTag("<x:sheetView a='say \"hi\"' b = \"&amp;&lt;\"\n c=\"\"/>");
  ASSERT_TRUE(tag);
  EXPECT_EQ(tag->name, "x:sheetView");
  EXPECT_TRUE(tag->empty);
  ASSERT_EQ(tag->attrs.size(), 3u);
  EXPECT_EQ(tag->Find("b")->value, "&amp;&lt;");
  std::string out;
  tag->AppendTo(out);
  EXPECT_EQ(out, "<x:sheetView a=\"say &quot;hi&quot;\" b=\"&amp;&lt;\" c=\"\"/>");
  RawTag copy = *tag;
  copy.Set("a", "1");
  copy.Remove("c");
  copy.Set("d", "2");
  out.clear();
  copy.AppendTo(out);
  EXPECT_EQ(out, "<x:sheetView a=\"1\" b=\"&amp;&lt;\" d=\"2\"/>");
  for (const char* bad : {"", "<>", "<a b>", "<a b=c>", "<a b=\"c>", "a/>"})
    EXPECT_FALSE(ParseStartTag(bad)) << bad;
  const auto prefixed = ParseStartTag("<r:x xmlns:id=\"u\" r:id=\"rId1\">");
  EXPECT_EQ(prefixed->Find("id")->value, "rId1");
}

TEST(KeptPackage, LocalNamesAreRenumberedWhateverTheirPrefix) {
  const std::map<int, int> moved{{0, 2}, {2, 0}};
  EXPECT_EQ(RenumberLocalNames(
                "<x:definedNames><x:definedName name=\"a\" localSheetId=\"0\">S!A1</x:definedName>"
                "<x:definedName name=\"b\" localSheetId='1'/><x:definedName name=\"c\" "
                "localSheetId=\"2\"/>"
                "<x:definedName name=\"d\">'&lt;x&gt;'!A1</x:definedName></x:definedNames>",
                moved),
            "<x:definedNames><x:definedName name=\"a\" localSheetId=\"2\">S!A1</x:definedName>"
            "<x:definedName name=\"c\" localSheetId=\"0\"/><x:definedName "
            "name=\"d\">'&lt;x&gt;'!A1</x:definedName></x:definedNames>");
}

TEST(KeptPackage, CorePropertiesGetTheSaveTimeAndKeepTheRest) {
  const std::time_t when = 1700000000;  // 2023-11-14T22:13:20Z
  const std::string core =
      "<cp:coreProperties xmlns:cp=\"c\" xmlns:dc=\"d\" "
      "xmlns:dcterms=\"t\"><dc:creator>作者</dc:creator>"
      "<dcterms:modified "
      "xsi:type=\"dcterms:W3CDTF\">2020-01-01T00:00:00Z</dcterms:modified><dc:title>T</dc:title>"
      "</cp:coreProperties>";
  EXPECT_EQ(
      WithModifiedTime(core, when),
      "<cp:coreProperties xmlns:cp=\"c\" xmlns:dc=\"d\" "
      "xmlns:dcterms=\"t\"><dc:creator>作者</dc:creator>"
      "<dcterms:modified "
      "xsi:type=\"dcterms:W3CDTF\">2023-11-14T22:13:20Z</dcterms:modified><dc:title>T</dc:title>"
      "</cp:coreProperties>");
  const std::string none =
      "<cp:coreProperties xmlns:cp=\"c\"><dc:title>T</dc:title></cp:coreProperties>";
  const std::string added = WithModifiedTime(none, when);
  EXPECT_NE(added.find(">2023-11-14T22:13:20Z</dcterms:modified></cp:coreProperties>"),
            std::string::npos)
      << added;
  EXPECT_EQ(added.find("<dc:title>T</dc:title>"), none.find("<dc:title>T</dc:title>"));
}

TEST(KeptPackage, BinaryPartsAreCarriedPackedAsTheArchiveHeldThem) {
  std::mt19937 random(3);
  auto parts = TwoSheets();
  std::string noise(300000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::string macros;
  while (macros.size() < 200000)
    macros += "Attribute VB_Name = \"Module" + std::to_string(random() % 50) + "\"\r\n";
  parts["xl/media/image1.png"] = noise;
  parts["xl/vbaProject.bin"] = macros;
  parts["xl/media/empty.emf"] = "";
  const std::string source = MakeZip(parts);
  auto wb = LoadWorkbookFromBytes(source, "t.xlsx");
  wb->GetSheet(1).SetColumnWidth(1, 1, 20);
  const std::string saved = SaveWorkbookToBytes(*wb);
  EXPECT_EQ(ReadZip(saved)["xl/vbaProject.bin"], macros);  // unpacked, its CRC checked
  const ZipLimits limits{1 << 30, 1 << 30, 1000};
  auto before = ZipPackage::FromMemory(source, "source", limits);
  auto after = ZipPackage::FromMemory(saved, "saved", limits);
  for (const char* name : {"xl/media/image1.png", "xl/vbaProject.bin", "xl/media/empty.emf"}) {
    const auto was = before.ReadPacked(before.Find(name));
    const auto is = after.ReadPacked(after.Find(name));
    ASSERT_TRUE(was && is) << name;
    EXPECT_EQ(is->method, was->method) << name;
    EXPECT_EQ(is->crc, was->crc) << name;
    EXPECT_EQ(is->size, was->size) << name;
    EXPECT_EQ(*is->bytes, *was->bytes) << name;  // not packed again at another level
  }
}

}  // namespace
}  // namespace tezlo
