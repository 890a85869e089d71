// Formatted empty cells cost a few bytes each: runs of them are one entry, whatever their
// length, and a file needing more memory than its bound is refused with a message naming it.
#include <gtest/gtest.h>

#include <string>

#include "host/a1_address.h"
#include "files/workbook_file.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::MakeZip;
using testing::MinimalParts;

const char* const kTwoFills =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fills count=\"3\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
    "patternType=\"gray125\"/></fill>"
    "<fill><patternFill patternType=\"solid\"><fgColor "
    "indexed=\"13\"/></patternFill></fill></fills>"
    "<cellXfs count=\"3\"><xf/><xf fillId=\"2\"/><xf numFmtId=\"2\"/></cellXfs></styleSheet>";

// A package whose sheet lists `rows` rows of `cols` formatted empty cells each; `style(row, col)`
// gives each its format number.
template <class F>
std::string FormattedBook(int32_t rows, int32_t cols, F&& style) {
  std::string data;
  for (int32_t r = 1; r <= rows; ++r) {
    data += "<row r=\"" + std::to_string(r) + "\">";
    for (int32_t c = 1; c <= cols; ++c) {
      data +=
          "<c r=\"" + CellRefText(Cell{r, c}) + "\" s=\"" + std::to_string(style(r, c)) + "\"/>";
    }
    data += "</row>";
  }
  // Whole rows formatted beyond the listed ones, as a spreadsheet writes a coloured row.
  for (int32_t r = rows + 1; r <= rows + 50; ++r) {
    data += "<row r=\"" + std::to_string(r) + "\" s=\"1\" customFormat=\"1\"/>";
  }
  auto parts = MinimalParts(data);
  parts["xl/styles.xml"] = kTwoFills;
  parts["xl/_rels/workbook.xml.rels"].insert(
      parts["xl/_rels/workbook.xml.rels"].find("</Relationships>"),
      "<Relationship Id=\"rId5\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
      "Target=\"styles.xml\"/>");
  return MakeZip(parts);
}

TEST(MemoryBound, RunsOfFormattedEmptyCellsAreOneEntryEach) {
  const auto wb = LoadWorkbookFromBytes(FormattedBook(3000, 20, [](int32_t, int32_t) { return 1; }),
                                        "runs.xlsx");
  const Sheet& s = wb->GetSheet(1);
  EXPECT_TRUE(s.Columns().empty());  // no cell record at all
  // Each column's 3000 listed cells and the 50 coloured rows below join into one run; the other
  // columns of the coloured rows make one run each.
  EXPECT_EQ(s.RunCount(), static_cast<size_t>(s.Cols()));
  EXPECT_EQ(s.ColorIndexAt({1500, 7}), 6);
  EXPECT_EQ(s.ColorIndexAt({3050, 16384}), 6);
  EXPECT_EQ(s.ColorIndexAt({3051, 1}), 0);
  EXPECT_EQ(s.RowStyle(3010), 1u);
}

TEST(MemoryBound, AFileNeedingMoreThanItsBoundIsRefusedNamingIt) {
  // Alternating formats: every cell starts a run of its own.
  const std::string bytes =
      FormattedBook(400, 100, [](int32_t r, int32_t c) { return (r + c) % 2 + 1; });
  LoadOptions tight;
  tight.maxMemoryBytes = 1 << 20;
  try {
    LoadWorkbookFromBytes(bytes, "hostile.xlsx", tight);
    FAIL() << "a file needing more than 1 MB loaded within 1 MB";
  } catch (const FileError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("'hostile.xlsx'"), std::string::npos) << what;
    EXPECT_NE(what.find("more than 1 MB of memory"), std::string::npos) << what;
    EXPECT_NE(what.find("--max-memory"), std::string::npos) << what;
  }
  LoadOptions roomy;
  roomy.maxMemoryBytes = 64 << 20;
  const auto wb = LoadWorkbookFromBytes(bytes, "hostile.xlsx", roomy);
  EXPECT_EQ(wb->GetSheet(1).OwnFormat({7, 8}).style, 2u);
  EXPECT_EQ(wb->GetSheet(1).OwnFormat({7, 9}).style, 1u);
  EXPECT_EQ(wb->GetSheet(1).NumberFormatAt({7, 8}), "0.00");
  EXPECT_GT(DefaultMemoryBudget(), 0);
  EXPECT_LE(DefaultMemoryBudget(), int64_t{8} << 30);
}

}  // namespace
}  // namespace tezlo
