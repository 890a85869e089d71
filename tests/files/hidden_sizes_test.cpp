// Rows and columns hidden without a size set by hand (as LibreOffice writes them: hidden="true"
// customHeight="false") stay that way through a save, since the engine hides by giving no size;
// once a tool sizes them, the size is custom and said once. The sheet format keeps its own flags
// while its default height is the file's.
#include <gtest/gtest.h>

#include <map>

#include "files/workbook_file.h"
#include "files/xml_reader.h"
#include "files/zip_package.h"
#include "test_files.h"

namespace tezlo {
namespace {

// Every attribute of the first worksheet's columns (by min), rows (by r) and sheet format.
struct Attributes : XmlHandler {
  std::map<std::string, std::map<std::string, std::string>> cols, rows;
  std::map<std::string, std::string> format;

  void Start(std::string_view, std::string_view name, const XmlAttrs& attrs) override {
    auto all = [&attrs]() {
      std::map<std::string, std::string> out;
      for (const char* key :
           {"min", "max", "width", "style", "hidden", "customWidth", "collapsed", "outlineLevel",
            "r", "ht", "customHeight", "customFormat", "s", "baseColWidth", "defaultColWidth",
            "defaultRowHeight", "zeroHeight", "outlineLevelRow", "outlineLevelCol"}) {
        if (const auto v = attrs.Get(key)) out[key] = std::string(*v);
      }
      EXPECT_EQ(out.size(), attrs.Count()) << "an attribute this test does not know";
      return out;
    };
    if (name == "col") cols[std::string(attrs.Get("min").value_or(""))] = all();
    if (name == "row") rows[std::string(attrs.Get("r").value_or(""))] = all();
    if (name == "sheetFormatPr") format = all();
  }
  void End(std::string_view, std::string_view) override {}
};

Attributes AttributesOf(const std::string& package) {
  ZipPackage zip = ZipPackage::FromMemory(package, "saved", ZipLimits{1 << 26, 1 << 28, 100});
  Attributes out;
  zip.ParseXml(zip.Find("xl/worksheets/sheet1.xml"), out);
  return out;
}

std::string LibreOfficeStyleBook() {
  auto parts = testing::MinimalParts("");
  parts["xl/worksheets/sheet1.xml"] =
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<sheetFormatPr defaultColWidth=\"10.08203125\" defaultRowHeight=\"12.8\" "
      "zeroHeight=\"false\" "
      "outlineLevelRow=\"0\" outlineLevelCol=\"0\"></sheetFormatPr><cols>"
      "<col collapsed=\"false\" customWidth=\"false\" hidden=\"true\" outlineLevel=\"0\" max=\"5\" "
      "min=\"5\" "
      "style=\"0\" width=\"10.08\"/>"
      "<col min=\"7\" max=\"7\" width=\"10.08\" hidden=\"1\"/>"
      "<col min=\"9\" max=\"9\" width=\"20\" hidden=\"1\" customWidth=\"1\"/></cols><sheetData>"
      "<row r=\"6\" customFormat=\"false\" ht=\"12.8\" hidden=\"true\" customHeight=\"false\" "
      "outlineLevel=\"0\" "
      "collapsed=\"false\"><c r=\"A6\"><v>1</v></c></row>"
      "<row r=\"8\" ht=\"12.8\" hidden=\"1\"/>"
      "<row r=\"10\" ht=\"30\" hidden=\"1\" customHeight=\"1\"/></sheetData></worksheet>";
  return testing::MakeZip(parts);
}

TEST(HiddenSizes, HiddenWithoutACustomSizeStaysSoAndHiddenWithOneStaysCustom) {
  std::string bytes = LibreOfficeStyleBook();
  for (int round = 0; round < 3; ++round)
    bytes = SaveWorkbookToBytes(*LoadWorkbookFromBytes(bytes, "lo.xlsx"));
  const Attributes a = AttributesOf(bytes);
  EXPECT_EQ(a.cols.at("5").at("customWidth"), "false");
  EXPECT_EQ(a.cols.at("5").at("width"), "10.08");
  EXPECT_EQ(a.cols.at("5").at("hidden"), "1");
  EXPECT_EQ(a.cols.at("7").at("customWidth"), "0");
  EXPECT_EQ(a.cols.at("9").at("customWidth"), "1");
  EXPECT_EQ(a.rows.at("6").at("customHeight"), "false");
  EXPECT_EQ(a.rows.at("6").at("ht"), "12.8");
  EXPECT_EQ(a.rows.at("6").at("hidden"), "1");
  EXPECT_EQ(a.rows.at("8").at("customHeight"), "0");
  EXPECT_EQ(a.rows.at("10").at("customHeight"), "1");
  EXPECT_EQ(a.format, (std::map<std::string, std::string>{{"defaultColWidth", "10.08203125"},
                                                          {"defaultRowHeight", "12.8"},
                                                          {"zeroHeight", "false"},
                                                          {"outlineLevelRow", "0"},
                                                          {"outlineLevelCol", "0"}}));
}

TEST(HiddenSizes, ShownAgainBySettingASizeTheSizeIsCustomAndSaidOnce) {
  auto book = LoadWorkbookFromBytes(LibreOfficeStyleBook(), "lo.xlsx");
  Sheet& s = book->GetSheet(1);
  s.SetColumnWidth(5, 5, 15);
  s.SetRowHeight(6, 6, 20);
  s.SetRowHeight(8, 8, s.RowHeight(1));  // shown again at the sheet's default height
  const std::string saved = SaveWorkbookToBytes(*book);
  // A repeated attribute would make the part unreadable.
  const auto back = LoadWorkbookFromBytes(saved, "lo.xlsx");
  EXPECT_EQ(back->GetSheet(1).RowHeight(6), 20);
  EXPECT_EQ(back->GetSheet(1).ColumnWidth(5), 15);
  EXPECT_EQ(back->GetSheet(1).RowHeight(8), back->GetSheet(1).RowHeight(1));
  const Attributes a = AttributesOf(saved);
  EXPECT_EQ(a.cols.at("5").at("customWidth"), "1");
  EXPECT_EQ(a.cols.at("5").count("hidden"), 0u);
  EXPECT_EQ(a.rows.at("6").at("customHeight"), "1");
  EXPECT_EQ(a.rows.at("6").count("hidden"), 0u);
  EXPECT_EQ(a.rows.at("8").count("customHeight"), 0u);
  EXPECT_EQ(a.rows.at("8").count("hidden"), 0u);
}

}  // namespace
}  // namespace tezlo
