// Column widths as the file stores them. The file's width includes the cell padding
// (8.43 characters of a 7-pixel digit are stored as 9.140625); the engine's width is what
// ColumnWidth reports.
#pragma once

namespace tezlo {

// The stored width of a width in characters. Written at full precision, so that any width,
// pixel-exact or not, reads back unchanged.
double CharsToStoredWidth(double chars, int maxDigitWidthPx);
// The width in characters of a stored width: exact for widths written by CharsToStoredWidth,
// and otherwise through the whole pixels the spreadsheet shows (as it reads a file written by
// another program).
double StoredWidthToChars(double stored, int maxDigitWidthPx);

}  // namespace tezlo
