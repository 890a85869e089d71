// Column widths in characters and in points, through the default font's maximum digit width.
#pragma once

namespace tezlo {

// A width in characters (ColumnWidth) as points (Width), with a maximum digit width in pixels at
// 96 dpi (7 for the default font): 8.43 characters are 64 pixels, 48 points.
double ColumnCharsToPoints(double chars, int maxDigitWidthPx);
// Widths snap to whole pixels: from 1 character on, (chars * mdw + 5) pixels taken through the
// 1/256-character width the file format stores; below 1 character, chars * (mdw + 5) pixels,
// rounded. 0 or less is 0 (a hidden column).
//
// The inverse: the characters a width in points holds, rounded to hundredths as ColumnWidth
// reports it. Round-trips every width a whole number of pixels gives.
double ColumnPointsToChars(double points, int maxDigitWidthPx);

}  // namespace tezlo
