// Kept worksheet content that refers to cells (conditional formats, validation, hyperlinks, the
// autofilter, page breaks) follows the cells the tools move, in the saved file.
#include <gtest/gtest.h>

#include "files/kept_references.h"
#include "files/workbook_file.h"
#include "files/zip_package.h"
#include "host/host_error.h"
#include "memory/memory_host.h"
#include "test_files.h"

namespace tezlo {
namespace {

constexpr const char* kTail =
    "<autoFilter ref=\"A4:F40\"/>"
    "<conditionalFormatting sqref=\"A5:B10\"><cfRule type=\"expression\" dxfId=\"0\" "
    "priority=\"1\">"
    "<formula>A5&gt;0</formula></cfRule></conditionalFormatting>"
    "<dataValidations count=\"2\"><dataValidation type=\"list\" "
    "sqref=\"C3\"><formula1>$Z$1:$Z$5</formula1>"
    "</dataValidation><dataValidation type=\"whole\" "
    "sqref=\"D20:D30\"><formula1>0</formula1></dataValidation>"
    "</dataValidations>"
    "<hyperlinks><hyperlink ref=\"E8\" location=\"S!A1\"/><hyperlink ref=\"F2\" "
    "location=\"S!B2\"/></hyperlinks>"
    "<rowBreaks count=\"1\" manualBreakCount=\"1\"><brk id=\"12\" max=\"16383\" "
    "man=\"1\"/></rowBreaks>";

std::string SheetXml(const std::string& package) {
  ZipPackage zip = ZipPackage::FromMemory(package, "saved", ZipLimits{1 << 26, 1 << 27, 100});
  return zip.ReadBytes(zip.Find("xl/worksheets/sheet1.xml"));
}

TEST(KeptReferences, WhatRefersToCellsInTheFileFollowsTheCellsTheToolsMove) {
  const std::string file =
      testing::MakeZip(testing::MinimalParts("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>", kTail));
  MemoryHost host;
  host.OpenWorkbook(LoadWorkbookFromBytes(file, "book.xlsx"));
  host.CloseWorkbook(1, false);
  const SheetRef sheet{1, 1};

  // Three rows inserted in the 13-column band A:M above everything.
  host.InsertShiftDown(sheet, Area::Of(1, 1, 3, 13));
  std::string xml = SheetXml(SaveWorkbookToBytes(host.GetWorkbook(1)));
  EXPECT_NE(xml.find("<autoFilter ref=\"A7:F43\"/>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<conditionalFormatting sqref=\"A8:B13\">"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<formula>A8&gt;0</formula>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("sqref=\"C6\"><formula1>$Z$1:$Z$5</formula1>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("sqref=\"D23:D33\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("<hyperlink ref=\"E11\" location=\"S!A1\"/><hyperlink ref=\"F5\""),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<brk id=\"12\""), std::string::npos)
      << "a band shift leaves page breaks: " << xml;

  // Whole row 6 deleted: the validated cell C6 goes with it, page breaks move up.
  host.DeleteRows(sheet, 6, 6);
  xml = SheetXml(SaveWorkbookToBytes(host.GetWorkbook(1)));
  EXPECT_NE(xml.find(
                "<dataValidations count=\"1\"><dataValidation type=\"whole\" sqref=\"D22:D32\">"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<conditionalFormatting sqref=\"A7:B12\">"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<rowBreaks count=\"1\" manualBreakCount=\"1\"><brk id=\"11\""),
            std::string::npos)
      << xml;

  // Every cell a conditional format covers deleted: the format goes; the file still opens.
  host.DeleteRows(sheet, 7, 12);
  const std::string saved = SaveWorkbookToBytes(host.GetWorkbook(1));
  xml = SheetXml(saved);
  EXPECT_EQ(xml.find("conditionalFormatting"), std::string::npos) << xml;
  EXPECT_NO_THROW(LoadWorkbookFromBytes(saved, "again.xlsx"));
}

TEST(KeptReferences, DefinedNamesFollowTheirCellsAndOneWhoseCellsWentRefersToRef) {
  auto parts = testing::MinimalParts("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  std::string& book = parts["xl/workbook.xml"];
  book.insert(book.find("</workbook>"),
              "<definedNames><definedName name=\"_xlnm.Print_Area\" "
              "localSheetId=\"0\">S!$A$1:$F$20</definedName>"
              "<definedName name=\"Gone\">S!$A$2</definedName><definedName "
              "name=\"Far\">S!$Z$2</definedName>"
              "</definedNames>");
  MemoryHost host;
  host.OpenWorkbook(LoadWorkbookFromBytes(testing::MakeZip(parts), "book.xlsx"));
  host.CloseWorkbook(1, false);
  host.InsertShiftDown(SheetRef{1, 1}, Area::Of(1, 1, 3, 13));
  host.DeleteRows(SheetRef{1, 1}, 5, 5);
  const std::string saved = SaveWorkbookToBytes(host.GetWorkbook(1));
  ZipPackage zip = ZipPackage::FromMemory(saved, "saved", ZipLimits{1 << 26, 1 << 27, 100});
  const std::string xml = zip.ReadBytes(zip.Find("xl/workbook.xml"));
  EXPECT_NE(xml.find(">S!$A$4:$F$22</definedName>"), std::string::npos) << xml;
  EXPECT_NE(xml.find(">S!#REF!</definedName>"), std::string::npos) << xml;
  // Column Z lies outside the band, and above the deleted row: it stays.
  EXPECT_NE(xml.find(">S!$Z$2</definedName>"), std::string::npos) << xml;

  // Renamed, then two more rows inserted: the names call the sheet by its new name and follow
  // the cells moved before the rename and after it.
  host.RenameSheet(SheetRef{1, 1}, "Data 2024");
  host.InsertShiftDown(SheetRef{1, 1}, Area::Of(1, 1, 2, 13));
  const std::string savedAgain = SaveWorkbookToBytes(host.GetWorkbook(1));
  ZipPackage again = ZipPackage::FromMemory(savedAgain, "saved", ZipLimits{1 << 26, 1 << 27, 100});
  const std::string renamed = again.ReadBytes(again.Find("xl/workbook.xml"));
  EXPECT_NE(renamed.find(">'Data 2024'!$A$6:$F$24</definedName>"), std::string::npos) << renamed;
  EXPECT_NE(renamed.find(">'Data 2024'!#REF!</definedName>"), std::string::npos) << renamed;
  EXPECT_NE(renamed.find(">'Data 2024'!$Z$2</definedName>"), std::string::npos) << renamed;
}

TEST(KeptReferences, ATableMovesWholeOrTheShiftIsRefusedAndItsPartSaysWhereItIs) {
  auto parts =
      testing::MinimalParts("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>",
                            "<tableParts count=\"1\"><tablePart r:id=\"rId1\"/></tableParts>");
  std::string& sheetXml = parts["xl/worksheets/sheet1.xml"];
  sheetXml.replace(
      sheetXml.find("<worksheet ") + 11, 0,
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" ");
  parts["xl/worksheets/_rels/sheet1.xml.rels"] =
      "<Relationships "
      "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
      "Id=\"rId1\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/table\" "
      "Target=\"../tables/table1.xml\"/>"
      "</Relationships>";
  parts["xl/tables/table1.xml"] =
      "<table xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" id=\"1\" "
      "name=\"T\" displayName=\"Sales\" "
      "ref=\"B2:D10\"><autoFilter ref=\"B2:D10\"/><tableColumns count=\"3\"><tableColumn id=\"1\" "
      "name=\"a\"/>"
      "<tableColumn id=\"2\" name=\"b\"/><tableColumn id=\"3\" name=\"c\"/></tableColumns></table>";
  MemoryHost host;
  host.OpenWorkbook(LoadWorkbookFromBytes(testing::MakeZip(parts), "book.xlsx"));
  host.CloseWorkbook(1, false);
  const SheetRef sheet{1, 1};
  // A band that takes only part of the table's columns cannot move its rows.
  EXPECT_THROW(host.InsertShiftDown(sheet, Area::Of(5, 2, 5, 3)), HostError);
  EXPECT_EQ(host.GetWorkbook(1).GetSheet(1).ProtectedAreas().front().area, Area::Of(2, 2, 10, 4));
  // One over all of them moves it whole.
  host.InsertShiftDown(sheet, Area::Of(1, 1, 2, 13));
  const std::string saved = SaveWorkbookToBytes(host.GetWorkbook(1));
  ZipPackage zip = ZipPackage::FromMemory(saved, "saved", ZipLimits{1 << 26, 1 << 27, 100});
  const std::string table = zip.ReadBytes(zip.Find("xl/tables/table1.xml"));
  EXPECT_NE(table.find("displayName=\"Sales\" ref=\"B4:D12\"><autoFilter ref=\"B4:D12\"/>"),
            std::string::npos)
      << table;
  // Read again, the moved table guards its new place.
  MemoryHost again;
  again.OpenWorkbook(LoadWorkbookFromBytes(saved, "again.xlsx"));
  again.CloseWorkbook(1, false);
  EXPECT_EQ(again.GetWorkbook(1).GetSheet(1).ProtectedAreas().front().name, "Sales");
  EXPECT_EQ(again.GetWorkbook(1).GetSheet(1).ProtectedAreas().front().area, Area::Of(4, 2, 12, 4));
}

TEST(KeptReferences, ElementsWithoutReferencesAndOddBytesComeBackAsTheyWere) {
  RefShift shift = InsertDownShift("S", GridSize{}, 1, 1, 2, 16384);
  const std::string margins =
      "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\"/>";
  EXPECT_EQ(ShiftKeptElement("pageMargins", margins, {shift}), margins);
  // A prefixed element, a comment and an attribute in apostrophes.
  const std::string prefixed =
      "<x:hyperlinks><!-- <x:hyperlink ref=\"A1\"/> --><x:hyperlink ref='B3' display=\"a > "
      "b\"/></x:hyperlinks>";
  EXPECT_EQ(ShiftKeptElement("hyperlinks", prefixed, {shift}),
            "<x:hyperlinks><!-- <x:hyperlink ref=\"A1\"/> --><x:hyperlink ref='B5' display=\"a > "
            "b\"/></x:hyperlinks>");
  // Character references are read; a formula with an entity of a document type is left alone.
  const std::string coded =
      "<conditionalFormatting "
      "sqref=\"A1\"><cfRule><formula>A1&#x3E;0</formula></cfRule></conditionalFormatting>";
  EXPECT_EQ(ShiftKeptElement("conditionalFormatting", coded, {shift}),
            "<conditionalFormatting "
            "sqref=\"A3\"><cfRule><formula>A3&gt;0</formula></cfRule></conditionalFormatting>");
  const std::string odd =
      "<conditionalFormatting "
      "sqref=\"A1\"><cfRule><formula>A1&odd;0</formula></cfRule></conditionalFormatting>";
  EXPECT_EQ(ShiftKeptElement("conditionalFormatting", odd, {shift}),
            "<conditionalFormatting "
            "sqref=\"A3\"><cfRule><formula>A1&odd;0</formula></cfRule></conditionalFormatting>");

  // Data bars as LibreOffice and Excel keep them in the extension list: the range moves as the
  // sheet's own conditional format does, and one whose cells all went is dropped.
  const std::string ext =
      "<extLst><ext uri=\"{78C0D931}\"><x14:conditionalFormattings><x14:conditionalFormatting>"
      "<x14:cfRule type=\"dataBar\"/><xm:sqref>A1:A5</xm:sqref></x14:conditionalFormatting>"
      "<x14:conditionalFormatting><x14:cfRule "
      "type=\"iconSet\"/><xm:sqref>B1</xm:sqref></x14:conditionalFormatting>"
      "</x14:conditionalFormattings></ext></extLst>";
  const std::string shifted = ShiftKeptElement("extLst", ext, {shift});
  EXPECT_NE(shifted.find("<xm:sqref>A3:A7</xm:sqref>"), std::string::npos) << shifted;
  EXPECT_NE(shifted.find("<xm:sqref>B3</xm:sqref>"), std::string::npos) << shifted;
  const std::string gone =
      ShiftKeptElement("extLst", ext, {DeleteRowsShift("S", GridSize{}, 1, 1)});
  EXPECT_EQ(gone.find("iconSet"), std::string::npos) << gone;
  EXPECT_NE(gone.find("<xm:sqref>A1:A4</xm:sqref>"), std::string::npos) << gone;

  std::map<std::pair<int32_t, int32_t>, std::vector<RawAttr>> cells{{{1, 1}, {RawAttr{"cm", "1"}}}};
  const auto moved = ShiftCellAttrs(cells, {shift});
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved.begin()->first, std::make_pair(3, 1));
  std::map<int32_t, std::vector<RawAttr>> rows{{4, {RawAttr{"outlineLevel", "1"}}}};
  EXPECT_EQ(ShiftRowAttrs(rows, {shift}).begin()->first, 6);
  EXPECT_EQ(ShiftRowAttrs(rows, {InsertDownShift("S", GridSize{}, 1, 1, 2, 13)}).begin()->first, 4);
}

}  // namespace
}  // namespace tezlo
