#include "memory/column_units.h"

#include <gtest/gtest.h>

namespace tezlo {
namespace {

TEST(ColumnUnits, StandardWidths) {
  EXPECT_EQ(ColumnCharsToPoints(8.43, 7), 48);  // 64 px
  EXPECT_EQ(ColumnPointsToChars(48, 7), 8.43);
  EXPECT_EQ(ColumnCharsToPoints(10, 7), 56.25);    // 75 px
  EXPECT_EQ(ColumnCharsToPoints(8.57, 7), 48.75);  // 65 px
  EXPECT_EQ(ColumnCharsToPoints(1, 7), 9);         // 12 px
  EXPECT_EQ(ColumnCharsToPoints(255, 7), 1342.5);  // 1790 px
}

TEST(ColumnUnits, HalfPixelWidthsRoundDown) {
  // 8.5 characters are 64.5 pixels; the stored 1/256 width gives 64.
  EXPECT_EQ(ColumnCharsToPoints(8.5, 7), 48);
  // 54 points restored as 54 * 8.5 / 42 characters: 76.5 + 5 pixels, snapped to 81.
  EXPECT_EQ(ColumnCharsToPoints(54 * 8.5 / 42, 7), 60.75);
}

TEST(ColumnUnits, NarrowAndHiddenColumns) {
  EXPECT_EQ(ColumnCharsToPoints(0, 7), 0);
  EXPECT_EQ(ColumnCharsToPoints(-3, 7), 0);
  EXPECT_EQ(ColumnCharsToPoints(0.5, 7), 4.5);  // 6 px of the 12 one character takes
  EXPECT_EQ(ColumnCharsToPoints(0.04, 7), 0);
  EXPECT_EQ(ColumnPointsToChars(0, 7), 0);
  EXPECT_EQ(ColumnPointsToChars(4.5, 7), 0.5);
  EXPECT_EQ(ColumnPointsToChars(-1, 7), 0);
}

TEST(ColumnUnits, EveryPixelWidthRoundTrips) {
  for (int mdw : {6, 7, 8, 9, 11, 15}) {
    for (int px = 0; px <= 255 * mdw + 5; ++px) {
      const double points = px * 0.75;
      const double chars = ColumnPointsToChars(points, mdw);
      ASSERT_EQ(ColumnCharsToPoints(chars, mdw), points) << "mdw " << mdw << " px " << px;
    }
  }
}

TEST(ColumnUnits, WiderDigitsMakeWiderColumns) {
  EXPECT_EQ(ColumnCharsToPoints(8.43, 8), 54);  // 72 px
  EXPECT_EQ(ColumnPointsToChars(54, 8), 8.38);
  EXPECT_EQ(ColumnCharsToPoints(2, 0), ColumnCharsToPoints(2, 1));  // no digit width: 1 px
}

}  // namespace
}  // namespace tezlo
