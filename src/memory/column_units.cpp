#include "memory/column_units.h"

#include <cmath>

namespace tezlo {

namespace {

constexpr int kPaddingPx = 5;  // the cell margins and gridline a column adds to its characters

int DigitWidth(int maxDigitWidthPx) { return maxDigitWidthPx > 0 ? maxDigitWidthPx : 1; }

// Whole pixels a width in characters takes. From one character on, the width is stored in
// 1/256 of a character with the padding included, and the pixels are taken from that stored
// width; narrower columns shrink linearly to 0 pixels.
int CharsToPixels(double chars, int mdw) {
  if (!(chars > 0)) return 0;
  if (chars < 1) return static_cast<int>(std::floor(chars * (mdw + kPaddingPx) + 0.5));
  // A tiny allowance keeps an exact product from falling one unit short in binary.
  const double stored256 = std::floor((chars * mdw + kPaddingPx) * 256.0 / mdw + 1e-9);
  return static_cast<int>(std::floor((stored256 + std::floor(128.0 / mdw)) / 256.0 * mdw));
}

double RoundToHundredths(double v) { return std::floor(v * 100.0 + 0.5) / 100.0; }

}  // namespace

double ColumnCharsToPoints(double chars, int maxDigitWidthPx) {
  return CharsToPixels(chars, DigitWidth(maxDigitWidthPx)) * 72.0 / 96.0;
}

double ColumnPointsToChars(double points, int maxDigitWidthPx) {
  const int mdw = DigitWidth(maxDigitWidthPx);
  const double px = std::floor(points * 96.0 / 72.0 + 0.5);
  if (!(px > 0)) return 0;
  if (px < mdw + kPaddingPx) return RoundToHundredths(px / (mdw + kPaddingPx));
  return RoundToHundredths((px - kPaddingPx) / mdw);
}

}  // namespace tezlo
