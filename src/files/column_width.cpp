#include "files/column_width.h"

#include <cmath>

#include "memory/column_units.h"

namespace tezlo {

namespace {

constexpr double kPaddingPx = 5;

int Mdw(int maxDigitWidthPx) { return maxDigitWidthPx > 0 ? maxDigitWidthPx : 1; }

double Hundredths(double v) { return std::floor(v * 100 + 0.5) / 100; }

}  // namespace

double CharsToStoredWidth(double chars, int maxDigitWidthPx) {
  const double mdw = Mdw(maxDigitWidthPx);
  if (!(chars > 0)) return 0;
  if (chars < 1) return chars * (mdw + kPaddingPx) / mdw;
  return chars + kPaddingPx / mdw;
}

double StoredWidthToChars(double stored, int maxDigitWidthPx) {
  const double mdw = Mdw(maxDigitWidthPx);
  if (!(stored > 0)) return 0;
  if (stored > 1000) stored = 1000;
  // Undo CharsToStoredWidth; a result on whole hundredths came from it (or from a writer as
  // precise), and is kept.
  const double exact = stored < (mdw + kPaddingPx) / mdw ? stored * mdw / (mdw + kPaddingPx)
                                                         : stored - kPaddingPx / mdw;
  if (std::fabs(exact - Hundredths(exact)) < 1e-9) return Hundredths(exact);
  // Otherwise the pixels the spreadsheet shows: the stored width in 1/256 characters, rounded
  // to whole pixels as it does.
  const double px = std::floor((std::floor(stored * 256) + std::floor(128 / mdw)) / 256 * mdw);
  return ColumnPointsToChars(px * 72.0 / 96.0, static_cast<int>(mdw));
}

}  // namespace tezlo
