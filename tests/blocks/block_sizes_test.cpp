// The size note: "*7" keeps the region's 13 column widths and 11 row heights in the comment of
// its top-left cell, "*8" applies them again.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "block_sheet.h"

namespace tezlo::testing {
namespace {

// 9.57 characters of the default font are 72 pixels, 54 points.
constexpr double kChars54Points = 9.57;
// What "*8" makes of a width saved in points.
double RestoredChars(double points) { return points * 8.5 / 42; }
// Widths land on whole pixels: within one pixel of the default font (1/7 character).
constexpr double kPixelInChars = 1.0 / 7;

std::string Repeat(const std::string& item, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += (i ? "," : "") + item;
  return text;
}

// A topic block in A60:M70 with the next one in A80; columns A..M 54 points wide, rows 60 to 70
// 13.5 points high.
struct SizedSheet : BlockSheet {
  explicit SizedSheet(const std::string& name = "+1") : BlockSheet(name) {
    PutText("A60", "topic");
    FillLabels("B61:F70");
    PutText("A80", "next");
    host.SetColumnWidth(sheet, 1, 13, kChars54Points);
    host.SetRowHeight(sheet, 60, 70, 13.5);
  }
  std::string Note() { return host.CommentText(sheet, At("A60")); }
};

TEST(SaveBlockSizes, WritesThirteenWidthsAndElevenHeightsInPoints) {
  SizedSheet s;
  s.Activate("D65");
  s.Run("*7");
  EXPECT_EQ(s.Note(), Repeat("54", 13) + "," + Repeat("13.5", 11));
  EXPECT_TRUE(s.Boxes().empty());
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(SaveBlockSizes, TheSecondMeasurementReplacesTheFirst) {
  SizedSheet s;
  s.host.AddComment(s.sheet, At("A60"), "an older comment");
  s.Activate("D65");
  s.Run("*7");
  s.host.SetColumnWidth(s.sheet, 3, 3, 9);  // 51 points
  s.host.SetRowHeight(s.sheet, 61, 61, 20.25);
  s.Run("*7");
  EXPECT_EQ(s.Note(), "54,54,51," + Repeat("54", 10) + ",13.5,20.25," + Repeat("13.5", 9));
}

TEST(SaveBlockSizes, ARegionShorterThanElevenRowsStillRecordsElevenHeights) {
  SizedSheet s;
  s.PutText("A63", "short next");  // the region from A60 now ends in row 62
  s.host.SetRowHeight(s.sheet, 63, 70, 18);
  s.Activate("B61");
  s.Run("*7");
  EXPECT_EQ(s.Note(), Repeat("54", 13) + "," + Repeat("13.5", 3) + "," + Repeat("18", 8));
}

TEST(RestoreBlockSizes, AppliesWidthsAsCharactersAndHeightsAsPoints) {
  SizedSheet s;
  s.Activate("D65");
  s.Run("*7");
  s.host.SetColumnWidth(s.sheet, 1, 20, 3);
  s.host.SetRowHeight(s.sheet, 60, 75, 30);
  s.Run("*8");
  for (int32_t col = 1; col <= 13; ++col) {
    EXPECT_NEAR(s.host.ColumnWidth(s.sheet, col), RestoredChars(54), kPixelInChars) << col;
  }
  for (int32_t col = 14; col <= 20; ++col) EXPECT_EQ(s.host.ColumnWidth(s.sheet, col), 3) << col;
  for (int32_t row = 60; row <= 70; ++row) EXPECT_EQ(s.host.RowHeight(s.sheet, row), 13.5) << row;
  for (int32_t row = 71; row <= 75; ++row) EXPECT_EQ(s.host.RowHeight(s.sheet, row), 30) << row;
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(RestoreBlockSizes, WideBlocksReadTheHeightsFromValuesFourteenOn) {
  SizedSheet s("+2");
  std::string note = Repeat("42", 13);
  for (int i = 0; i < 11; ++i) note += "," + std::to_string(12 + 3 * i);
  s.host.AddComment(s.sheet, At("A60"), note);
  s.Activate("T65");  // column 20, in the block's second half
  s.Run("*8");
  for (int32_t col = 1; col <= 13; ++col) {
    EXPECT_NEAR(s.host.ColumnWidth(s.sheet, col), RestoredChars(42), kPixelInChars) << col;
  }
  EXPECT_NEAR(s.host.ColumnWidth(s.sheet, 14), 8.43, 0.01);
  for (int32_t row = 60; row <= 70; ++row) {
    EXPECT_EQ(s.host.RowHeight(s.sheet, row), 12 + 3 * (row - 60)) << row;
  }
}

TEST(RestoreBlockSizes, AWordCountsAsZeroAndHides) {
  SizedSheet s;
  s.host.AddComment(s.sheet, At("A60"),
                    "54,wide," + Repeat("54", 11) + ",tall," + Repeat("13.5", 10));
  s.Activate("C62");
  s.Run("*8");
  EXPECT_EQ(s.host.ColumnWidth(s.sheet, 2), 0);
  EXPECT_NEAR(s.host.ColumnWidth(s.sheet, 3), RestoredChars(54), kPixelInChars);
  EXPECT_EQ(s.host.RowHeight(s.sheet, 60), 0);
  EXPECT_EQ(s.host.RowHeight(s.sheet, 61), 13.5);
}

TEST(RestoreBlockSizes, AShortNoteAppliesWhatItHoldsInOrder) {
  SizedSheet s;
  s.host.AddComment(s.sheet, At("A60"), Repeat("42", 13) + ",20.25,21");
  s.Activate("C62");
  s.Run("*8");
  EXPECT_NEAR(s.host.ColumnWidth(s.sheet, 13), RestoredChars(42), kPixelInChars);
  EXPECT_EQ(s.host.RowHeight(s.sheet, 60), 20.25);
  EXPECT_EQ(s.host.RowHeight(s.sheet, 61), 21);
  EXPECT_EQ(s.host.RowHeight(s.sheet, 62), 13.5);
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(RestoreBlockSizes, ARefusedWidthStopsAtThatColumn) {
  SizedSheet s;
  s.host.AddComment(s.sheet, At("A60"), "42,42,2000," + Repeat("42", 10) + "," + Repeat("20", 11));
  s.Activate("C62");
  s.Run("*8");
  EXPECT_NEAR(s.host.ColumnWidth(s.sheet, 2), RestoredChars(42), kPixelInChars);
  EXPECT_NEAR(s.host.ColumnWidth(s.sheet, 3), kChars54Points, 0.01);
  EXPECT_NEAR(s.host.ColumnWidth(s.sheet, 4), kChars54Points, 0.01);
  EXPECT_EQ(s.host.RowHeight(s.sheet, 60), 13.5);
  EXPECT_TRUE(s.Boxes().empty());
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(RestoreBlockSizes, WithoutANoteNothingChanges) {
  for (const bool emptyComment : {false, true}) {
    SizedSheet s;
    if (emptyComment) s.host.AddComment(s.sheet, At("A60"), "");
    s.Activate("C62");
    s.Run("*8");
    EXPECT_NEAR(s.host.ColumnWidth(s.sheet, 1), kChars54Points, 0.01);
    EXPECT_EQ(s.host.RowHeight(s.sheet, 60), 13.5);
    EXPECT_TRUE(s.Boxes().empty());
    EXPECT_TRUE(s.host.ScreenUpdating());
  }
}

}  // namespace
}  // namespace tezlo::testing
