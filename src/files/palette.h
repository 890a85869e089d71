// Colours of the file format mapped to the palette's ColorIndex 1 to 56 (0: no colour).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tezlo {

// The file format's indexed colour of a ColorIndex (ColorIndex 1 is indexed colour 8).
int IndexedColorOf(int colorIndex);
// The ColorIndex of an indexed colour: 8..63 are the palette, 0..7 repeat its first eight;
// 64 and above (system colours) are no colour.
int ColorIndexOfIndexed(int indexed);
// The palette entry nearest to an RGB colour (the lowest index among equals).
int NearestColorIndex(uint32_t rgb);
// "FF99CC00" or "99CC00" -> 0x99CC00; nothing for anything else.
std::optional<uint32_t> ParseRgb(std::string_view text);
// A theme colour of the default Office theme (0 light 1, 1 dark 1, 2 light 2, 3 dark 2, 4..9
// accents, 10 and 11 hyperlinks), lightened or darkened by `tint` (-1 to 1).
std::optional<uint32_t> ThemeColor(int theme, double tint);

}  // namespace tezlo
