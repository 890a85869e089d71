#include "tui/terminal_colors.h"

#include <array>
#include <climits>

#include "memory/number_format_names.h"

namespace tezlo {
namespace {

constexpr std::array<int, 6> kCubeLevels = {0, 95, 135, 175, 215, 255};

int Distance(Rgb a, int r, int g, int b) {
  const int dr = a.r - r, dg = a.g - g, db = a.b - b;
  return dr * dr * 3 + dg * dg * 4 + db * db * 2;
}

}  // namespace

Rgb PaletteRgb(int32_t index) {
  const uint32_t v = PaletteColor(index);
  return Rgb{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

int NearestXterm256(Rgb color) {
  int best = 16;
  int bestDistance = INT_MAX;
  for (size_t r = 0; r < 6; ++r)
    for (size_t g = 0; g < 6; ++g)
      for (size_t b = 0; b < 6; ++b) {
        const int d = Distance(color, kCubeLevels[r], kCubeLevels[g], kCubeLevels[b]);
        if (d < bestDistance) bestDistance = d, best = static_cast<int>(16 + 36 * r + 6 * g + b);
      }
  for (int i = 0; i < 24; ++i) {
    const int level = 8 + 10 * i;
    const int d = Distance(color, level, level, level);
    if (d < bestDistance) bestDistance = d, best = 232 + i;
  }
  return best;
}

bool IsDark(Rgb c) { return c.r * 299 + c.g * 587 + c.b * 114 < 128000; }

ColorPair ColorsFor(Attr attr) {
  const bool colored = attr.color >= 1 && attr.color <= 56;
  const Rgb fill = PaletteRgb(attr.color);
  switch (attr.role) {
    case Role::Normal:
      if (!colored) return {};
      return ColorPair{IsDark(fill) ? 15 : 16, NearestXterm256(fill), false};
    case Role::Header: return ColorPair{16, 252, false};
    case Role::HeaderActive: return ColorPair{16, 214, true};
    case Role::Selected: return ColorPair{16, 153, false};
    case Role::Active: return ColorPair{15, 25, true};
    case Role::CommentFlag: return ColorPair{196, colored ? NearestXterm256(fill) : -1, true};
    case Role::Status: return ColorPair{255, 236, false};
    case Role::Message: return ColorPair{220, 236, true};
    case Role::Tab: return ColorPair{16, 250, false};
    case Role::TabActive: return ColorPair{16, 231, true};
    case Role::Box: return ColorPair{16, 254, false};
    case Role::BoxField: return ColorPair{16, 231, false};
    case Role::Button: return ColorPair{16, 250, false};
    case Role::ButtonFocus: return ColorPair{15, 25, true};
    case Role::Edit: return ColorPair{16, 230, false};
  }
  return {};
}

}  // namespace tezlo
