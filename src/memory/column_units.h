// Column widths in characters and in points, through the default font's maximum digit width.
#pragma once

namespace tezlo {

// A width in characters (ColumnWidth) as points (Width), with a maximum digit width in pixels at
// 96 dpi (7 for the default font): 8.43 characters are 64 pixels, 48 points.
double ColumnCharsToPoints(double chars, int maxDigitWidthPx);
// The inverse: the characters a width in points holds.
double ColumnPointsToChars(double points, int maxDigitWidthPx);

}  // namespace tezlo
