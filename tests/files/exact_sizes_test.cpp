// Sizes no tool changed are written back as the file wrote them, character for character, while
// the engine reports widths as the spreadsheet shows them and a width a tool sets is written so
// that it reads back as set.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>

#include "files/workbook_file.h"
#include "files/xml_reader.h"
#include "files/zip_package.h"
#include "test_files.h"

namespace tezlo {
namespace {

// The size attributes of the first worksheet of a package, as text: "width" and "hidden" by
// column, "ht" and "hidden" by row, and the sheet format's attributes.
struct SizeAttributes : XmlHandler {
  std::map<int32_t, std::string> widths;
  std::map<int32_t, bool> hiddenCols;
  std::map<int32_t, std::string> heights;
  std::map<int32_t, bool> hiddenRows;
  std::map<std::string, std::string> format;

  void Start(std::string_view, std::string_view name, const XmlAttrs& attrs) override {
    auto text = [&attrs](const char* attr) { return std::string(attrs.Get(attr).value_or("")); };
    if (name == "col") {
      for (int32_t c = std::stoi(text("min")); c <= std::stoi(text("max")); ++c) {
        widths[c] = text("width");
        hiddenCols[c] = text("hidden") == "1";
      }
    } else if (name == "row") {
      const int32_t r = std::stoi(text("r"));
      if (attrs.Get("ht")) heights[r] = text("ht");
      hiddenRows[r] = text("hidden") == "1";
    } else if (name == "sheetFormatPr") {
      for (const char* attr : {"baseColWidth", "defaultColWidth", "defaultRowHeight"}) {
        if (attrs.Get(attr)) format[attr] = text(attr);
      }
    }
  }
  void End(std::string_view, std::string_view) override {}
};

SizeAttributes SizesOf(const std::string& package) {
  ZipPackage zip = ZipPackage::FromMemory(package, "saved", ZipLimits{1 << 26, 1 << 28, 100});
  SizeAttributes sizes;
  zip.ParseXml(zip.Find("xl/worksheets/sheet1.xml"), sizes);
  return sizes;
}

std::string BookWith(const std::string& format, const std::string& cols, const std::string& rows) {
  auto parts = testing::MinimalParts("");
  parts["xl/worksheets/sheet1.xml"] =
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" + format +
      (cols.empty() ? "" : "<cols>" + cols + "</cols>") + "<sheetData>" + rows +
      "</sheetData></worksheet>";
  return testing::MakeZip(parts);
}

TEST(ExactSizes, UntouchedSizesSurviveTenRoundsCharacterForCharacter) {
  std::string bytes = BookWith(
      "<sheetFormatPr baseColWidth=\"10\" defaultColWidth=\"11.5\" defaultRowHeight=\"14.25\"/>",
      "<col min=\"2\" max=\"2\" width=\"12.5\" customWidth=\"1\"/>"
      "<col min=\"3\" max=\"3\" width=\"30\" customWidth=\"1\"/>"
      "<col min=\"4\" max=\"4\" width=\"12.45\" customWidth=\"1\"/>"  // the same pixels as 12.5
      "<col min=\"6\" max=\"7\" width=\"12.5\" hidden=\"1\" customWidth=\"1\"/>",
      "<row r=\"1\" ht=\"40\" customHeight=\"1\"><c r=\"A1\"><v>1</v></c></row>"
      "<row r=\"3\" ht=\"40.0\" customHeight=\"1\"/><row r=\"5\" ht=\"22.5\" hidden=\"1\"/>");
  {
    const auto book = LoadWorkbookFromBytes(bytes, "sizes.xlsx");
    const Sheet& s = book->GetSheet(1);
    // The widths the spreadsheet reports: 12.5 stored characters are 87 pixels, 30 are 210.
    EXPECT_EQ(s.ColumnWidth(2), 11.71);
    EXPECT_EQ(s.ColumnWidth(3), 29.29);
    EXPECT_EQ(s.ColumnWidth(4), 11.71);
    EXPECT_EQ(s.ColumnWidth(6), 0);
    EXPECT_EQ(s.ColumnWidth(1), 10.71);  // the sheet's default width
    EXPECT_EQ(s.RowHeight(1), 40);
    EXPECT_EQ(s.RowHeight(2), 14.25);
    EXPECT_EQ(s.RowHeight(5), 0);
  }
  for (int round = 0; round < 10; ++round)
    bytes = SaveWorkbookToBytes(*LoadWorkbookFromBytes(bytes, "sizes.xlsx"));
  SizeAttributes sizes = SizesOf(bytes);
  EXPECT_EQ(sizes.widths[2], "12.5");
  EXPECT_EQ(sizes.widths[3], "30");
  EXPECT_EQ(sizes.widths[4], "12.45");
  EXPECT_EQ(sizes.widths[6], "12.5");
  EXPECT_EQ(sizes.widths[7], "12.5");
  EXPECT_TRUE(sizes.hiddenCols[6] && sizes.hiddenCols[7]);
  EXPECT_EQ(sizes.widths.count(1), 0u);  // the default width is the sheet's, not listed
  EXPECT_EQ(sizes.heights[1], "40");
  EXPECT_EQ(sizes.heights[3], "40.0");
  EXPECT_EQ(sizes.heights[5], "22.5");
  EXPECT_TRUE(sizes.hiddenRows[5]);
  EXPECT_EQ(sizes.format, (std::map<std::string, std::string>{{"baseColWidth", "10"},
                                                              {"defaultColWidth", "11.5"},
                                                              {"defaultRowHeight", "14.25"}}));
}

TEST(ExactSizes, ChangedSizesAreWrittenAsSetAndMovedOnesKeepTheirText) {
  const std::string bytes = BookWith(
      "",
      "<col min=\"2\" max=\"3\" width=\"12.5\" customWidth=\"1\"/><col min=\"5\" max=\"5\" "
      "width=\"30\" customWidth=\"1\"/>",
      "<row r=\"2\" ht=\"40.0\" customHeight=\"1\"/><row r=\"3\" ht=\"40.0\" customHeight=\"1\"/>");
  auto book = LoadWorkbookFromBytes(bytes, "sizes.xlsx");
  Sheet& s = book->GetSheet(1);
  s.SetColumnWidth(3, 3, 20);
  s.SetColumnWidth(8, 8, 11.71);  // a width some text already gave
  s.SetRowHeight(3, 3, 41.5);
  s.EraseColumnsAndShift(1, 1);  // 12.5 moves to B, 30 to D
  const std::string saved = SaveWorkbookToBytes(*book);
  SizeAttributes sizes = SizesOf(saved);
  EXPECT_EQ(sizes.widths[1], "12.5");
  EXPECT_EQ(sizes.widths[4], "30");
  EXPECT_EQ(sizes.widths[7], "12.5");
  EXPECT_EQ(sizes.heights[2], "40.0");
  EXPECT_EQ(sizes.heights[3], "41.5");
  const auto back = LoadWorkbookFromBytes(saved, "sizes.xlsx");
  const Sheet& t = back->GetSheet(1);
  EXPECT_EQ(t.ColumnWidth(1), 11.71);
  EXPECT_EQ(t.ColumnWidth(2), 20);
  EXPECT_EQ(t.ColumnWidth(4), 29.29);
  EXPECT_EQ(t.ColumnWidth(7), 11.71);
  EXPECT_EQ(t.RowHeight(3), 41.5);
}

TEST(ExactSizes, ARandomSpreadOfSizesSurvivesARound) {
  std::mt19937 rng(3);
  auto number = [&rng](double low, double high, int maxDecimals) {
    const double v = low + (high - low) * std::uniform_real_distribution<double>(0, 1)(rng);
    const int decimals = static_cast<int>(rng() % static_cast<unsigned>(maxDecimals + 1));
    char text[64];
    std::snprintf(text, sizeof text, rng() % 8 == 0 ? "%.*e" : "%.*f", decimals, v);
    return std::string(text);
  };
  std::map<int32_t, std::string> widths;
  std::map<int32_t, bool> hiddenCols;
  std::string cols;
  for (int32_t c = 1; c <= 400; ++c) {
    if (rng() % 4 == 0) continue;
    widths[c] = number(0.5, 80, 9);
    hiddenCols[c] = rng() % 10 == 0;
    cols += "<col min=\"" + std::to_string(c) + "\" max=\"" + std::to_string(c) + "\" width=\"" +
            widths[c] + (hiddenCols[c] ? "\" hidden=\"1" : "") + "\" customWidth=\"1\"/>";
  }
  std::map<int32_t, std::string> heights;
  std::string rows;
  for (int32_t r = 1; r <= 2000; r += 1 + static_cast<int32_t>(rng() % 3)) {
    heights[r] = number(1, 409, 3);
    rows += "<row r=\"" + std::to_string(r) + "\" ht=\"" + heights[r] + "\"" +
            (rng() % 10 == 0 ? " hidden=\"1\"" : "") + " customHeight=\"1\"/>";
  }
  SizeAttributes sizes =
      SizesOf(SaveWorkbookToBytes(*LoadWorkbookFromBytes(BookWith("", cols, rows), "random.xlsx")));
  EXPECT_EQ(sizes.widths, widths);
  EXPECT_EQ(sizes.hiddenCols, hiddenCols);
  EXPECT_EQ(sizes.heights.size(), heights.size());
  for (const auto& [r, h] : heights) EXPECT_EQ(sizes.heights[r], h) << "row " << r;
}

}  // namespace
}  // namespace tezlo
