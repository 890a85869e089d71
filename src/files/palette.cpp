#include "files/palette.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "memory/number_format_names.h"
#include "text/ascii.h"

namespace tezlo {

namespace {

constexpr int kPaletteSize = 56;
constexpr int kFirstPaletteIndexed = 8;

constexpr std::array<uint32_t, 12> kOfficeTheme = {
    0xFFFFFF, 0x000000, 0xEEECE1, 0x1F497D, 0x4F81BD, 0xC0504D,
    0x9BBB59, 0x8064A2, 0x4BACC6, 0xF79646, 0x0000FF, 0x800080,
};

uint32_t ApplyTint(uint32_t rgb, double tint) {
  double r = ((rgb >> 16) & 0xFF) / 255.0;
  double g = ((rgb >> 8) & 0xFF) / 255.0;
  double b = (rgb & 0xFF) / 255.0;
  const double hi = std::max({r, g, b});
  const double lo = std::min({r, g, b});
  double h = 0;
  double s = 0;
  double l = (hi + lo) / 2;
  const double d = hi - lo;
  if (d > 0) {
    s = l > 0.5 ? d / (2 - hi - lo) : d / (hi + lo);
    if (hi == r) {
      h = (g - b) / d + (g < b ? 6 : 0);
    } else if (hi == g) {
      h = (b - r) / d + 2;
    } else {
      h = (r - g) / d + 4;
    }
    h /= 6;
  }
  l = tint < 0 ? l * (1 + tint) : l * (1 - tint) + tint;
  l = std::clamp(l, 0.0, 1.0);
  auto hue = [](double p, double q, double t) {
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.0 / 6) return p + (q - p) * 6 * t;
    if (t < 0.5) return q;
    if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
  };
  if (s == 0) {
    r = g = b = l;
  } else {
    const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
    const double p = 2 * l - q;
    r = hue(p, q, h + 1.0 / 3);
    g = hue(p, q, h);
    b = hue(p, q, h - 1.0 / 3);
  }
  auto byte = [](double v) {
    return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
  };
  return (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

}  // namespace

int IndexedColorOf(int colorIndex) { return colorIndex + kFirstPaletteIndexed - 1; }

int ColorIndexOfIndexed(int indexed) {
  if (indexed < 0 || indexed >= kFirstPaletteIndexed + kPaletteSize) return 0;
  if (indexed < kFirstPaletteIndexed) return indexed + 1;
  return indexed - kFirstPaletteIndexed + 1;
}

int NearestColorIndex(uint32_t rgb) {
  int best = 1;
  int64_t bestDistance = INT64_MAX;
  for (int i = 1; i <= kPaletteSize; ++i) {
    const uint32_t p = PaletteColor(i);
    const int64_t dr = static_cast<int64_t>((p >> 16) & 0xFF) - ((rgb >> 16) & 0xFF);
    const int64_t dg = static_cast<int64_t>((p >> 8) & 0xFF) - ((rgb >> 8) & 0xFF);
    const int64_t db = static_cast<int64_t>(p & 0xFF) - (rgb & 0xFF);
    const int64_t distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

std::optional<uint32_t> ParseRgb(std::string_view text) {
  if (text.size() != 8 && text.size() != 6) return std::nullopt;
  uint32_t v = 0;
  for (char c : text) {
    const int d = HexDigitValue(c);
    if (d < 0) return std::nullopt;
    v = v * 16 + static_cast<uint32_t>(d);
  }
  return v & 0xFFFFFF;  // the alpha of "AARRGGBB" is not used
}

std::optional<uint32_t> ThemeColor(int theme, double tint) {
  if (theme < 0 || theme >= static_cast<int>(kOfficeTheme.size())) return std::nullopt;
  const uint32_t base = kOfficeTheme[static_cast<size_t>(theme)];
  if (!(tint >= -1 && tint <= 1) || tint == 0) return base;
  return ApplyTint(base, tint);
}

}  // namespace tezlo
