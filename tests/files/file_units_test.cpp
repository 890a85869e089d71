// The small conversions of the file layer: references, colours, number formats, widths and text
// escapes, and the merged areas it added to the sheet model.
#include <gtest/gtest.h>

#include "host/a1_address.h"
#include "files/column_width.h"
#include "files/number_formats.h"
#include "files/palette.h"
#include "files/xml_text.h"
#include "host/host_error.h"
#include "memory/column_units.h"
#include "memory/sheet.h"

namespace tezlo {
namespace {

TEST(CellRefs, ParseAndPrintAtTheGridsEdges) {
  EXPECT_EQ(ParseCellRef("A1"), (Cell{1, 1}));
  EXPECT_EQ(ParseCellRef("$XFD$1048576"), (Cell{1048576, 16384}));
  EXPECT_EQ(ParseCellRef("ab12"), (Cell{12, 28}));
  for (const char* bad : {"", "A", "1", "A0", "XFE1", "A1048577", "A1B", "AAAA1", "A-1", "A01x"}) {
    EXPECT_FALSE(ParseCellRef(bad)) << bad;
  }
  EXPECT_EQ(ParseAreaRef("C3:A1"), Area::Of(1, 1, 3, 3));
  EXPECT_FALSE(ParseAreaRef("A1:"));
  EXPECT_EQ(CellRefText({1048576, 16384}), "XFD1048576");
  EXPECT_EQ(CellRefText({7, 26}), "Z7");
  EXPECT_EQ(CellRefText({7, 27}), "AA7");
  EXPECT_EQ(AreaRefText(Area::Of(2, 2, 2, 2)), "B2");
  EXPECT_EQ(AreaRefText(Area::Of(1, 6, 2, 7)), "F1:G2");
}

TEST(Palette, IndexedColoursAndNearestEntries) {
  EXPECT_EQ(IndexedColorOf(43), 50);
  EXPECT_EQ(ColorIndexOfIndexed(50), 43);
  EXPECT_EQ(ColorIndexOfIndexed(2), 3);   // the first eight repeat the palette's start
  EXPECT_EQ(ColorIndexOfIndexed(64), 0);  // system foreground: no colour of its own
  EXPECT_EQ(NearestColorIndex(0x99CC00), 43);
  EXPECT_EQ(NearestColorIndex(0x0000FF), 5);  // 32 is the same colour; the lower index wins
  EXPECT_EQ(NearestColorIndex(0xFE0101), 3);
  EXPECT_EQ(ParseRgb("FF99CC00"), 0x99CC00u);
  EXPECT_EQ(ParseRgb("99cc00"), 0x99CC00u);
  EXPECT_FALSE(ParseRgb("99CC0"));
  EXPECT_FALSE(ParseRgb("GG99CC00"));
  EXPECT_EQ(ThemeColor(1, 0), 0x000000u);
  EXPECT_EQ(ThemeColor(0, -0.5), 0x808080u);  // white darkened by half
  EXPECT_FALSE(ThemeColor(12, 0));
}

TEST(NumberFormats, BuiltinIdsAndDates) {
  EXPECT_EQ(BuiltinNumberFormat(49), "@");
  EXPECT_EQ(BuiltinNumberFormat(14), "yyyy/m/d");
  EXPECT_EQ(BuiltinNumberFormat(31), "yyyy\"年\"m\"月\"d\"日\"");
  EXPECT_FALSE(BuiltinNumberFormat(163));
  EXPECT_EQ(BuiltinNumberFormatId("@"), 49);
  EXPECT_EQ(BuiltinNumberFormatId("0.00"), 2);
  EXPECT_FALSE(BuiltinNumberFormatId("yyyy/m/d"));  // locale-dependent: written as a custom format
  for (const char* date :
       {"yyyy/m/d", "h:mm", "[h]:mm:ss", "[Red]yyyy-mm-dd", "yyyy\"年\"m\"月\""}) {
    EXPECT_TRUE(IsDateFormat(date)) << date;
  }
  for (const char* number :
       {"General", "@", "0.00", "#,##0", "0%", "\"day\" 0", "[Red]0.0", "0.00E+00", "\\d0"}) {
    EXPECT_FALSE(IsDateFormat(number)) << number;
  }
}

TEST(ColumnWidths, OwnWidthsReturnExactlyAndOthersThroughWholePixels) {
  for (double chars : {8.43, 10.5, 20.0, 0.5, 0.01, 255.0, 3.14}) {
    EXPECT_EQ(StoredWidthToChars(CharsToStoredWidth(chars, 7), 7), chars) << chars;
  }
  EXPECT_EQ(CharsToStoredWidth(0, 7), 0);
  EXPECT_EQ(StoredWidthToChars(9.140625, 7), 8.43);  // the spreadsheet's default column
  EXPECT_EQ(StoredWidthToChars(20, 7), 19.29);       // 140 pixels
  EXPECT_EQ(StoredWidthToChars(-3, 7), 0);
}

TEST(XmlText, EscapesReadBackUnchanged) {
  const std::string text = "a<b>&\"c\"\r\n\t\x01\x1f _x0041_ _xZZ_ 中文";
  std::string escaped;
  AppendXmlText(escaped, text);
  EXPECT_EQ(escaped.find('\x01'), std::string::npos);
  EXPECT_NE(escaped.find("_x0001_"), std::string::npos);
  EXPECT_NE(escaped.find("_x005F_x0041_"), std::string::npos);
  // An XML parser turns the entities back; the escapes are ours to undo.
  std::string parsed = escaped;
  for (const auto& [entity, ch] : std::vector<std::pair<std::string, std::string>>{
           {"&lt;", "<"}, {"&gt;", ">"}, {"&#13;", "\r"}, {"&amp;", "&"}}) {
    for (size_t at; (at = parsed.find(entity)) != std::string::npos;)
      parsed.replace(at, entity.size(), ch);
  }
  EXPECT_EQ(DecodeEscapes(parsed), text);
  EXPECT_EQ(DecodeEscapes("_xD800_"), "\xEF\xBF\xBD");  // a lone surrogate is no character
}

TEST(MergedAreas, AddedWithoutOverlapAndFollowingDeletedLines) {
  Sheet s("S", 100, 50);
  s.AddMergedArea(Area::Of(2, 2, 4, 3));
  s.AddMergedArea(Area::Of(10, 1, 10, 5));
  EXPECT_THROW(s.AddMergedArea(Area::Of(4, 3, 5, 5)), HostError);
  EXPECT_THROW(s.AddMergedArea(Area::Of(1, 1, 1, 1)), HostError);
  EXPECT_THROW(s.AddMergedArea(Area::Of(99, 1, 101, 1)), HostError);
  s.EraseRowsAndShift(3, 3);  // cuts the first, moves the second up
  EXPECT_EQ(s.MergedAreas(), (std::vector<Area>{Area::Of(2, 2, 3, 3), Area::Of(9, 1, 9, 5)}));
  s.EraseColumnsAndShift(1, 2);
  EXPECT_EQ(s.MergedAreas(), (std::vector<Area>{Area::Of(2, 1, 3, 1), Area::Of(9, 1, 9, 3)}));
  s.EraseRowsAndShift(2, 2);  // leaves a single cell: no longer merged
  EXPECT_EQ(s.MergedAreas(), (std::vector<Area>{Area::Of(8, 1, 8, 3)}));
  s.EraseRowsAndShift(8, 8);
  EXPECT_TRUE(s.MergedAreas().empty());
}

}  // namespace
}  // namespace tezlo
