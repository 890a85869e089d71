// Local (Simplified-Chinese) names of number formats and the default palette.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tezlo {

// NumberFormatLocal -> NumberFormat: "G/通用格式" -> "General"; formats without a local name
// pass through.
std::string CanonicalNumberFormat(std::string_view local);
// NumberFormat -> NumberFormatLocal.
std::string LocalNumberFormat(std::string_view canonical);

// The default palette's colour of ColorIndex 1 to 56 as 0xRRGGBB; 0 for any other index.
uint32_t PaletteColor(int32_t index);

}  // namespace tezlo
