// Colours for the terminal: the spreadsheet's 56-colour palette matched to the xterm 256-colour
// set, and the colours each screen role is drawn in.
#pragma once

#include <cstdint>

#include "tui/screen_buffer.h"

namespace tezlo {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

// The default palette's colour for an interior colour index 1..56 (black outside).
Rgb PaletteRgb(int32_t index);
// The nearest of the xterm 256-colour set's cube and grey ramp (16..255).
int NearestXterm256(Rgb color);
// Black or white, whichever reads better on `background`.
bool IsDark(Rgb color);

// Foreground and background as xterm 256-colour numbers, -1 for the terminal's default.
struct ColorPair {
  int fg = -1;
  int bg = -1;
  bool bold = false;
  bool operator==(const ColorPair&) const = default;
};
ColorPair ColorsFor(Attr attr);

}  // namespace tezlo
