#include "memory/number_format_names.h"

#include <array>

#include "text/ascii.h"

namespace tezlo {

namespace {

constexpr std::string_view kGeneral = "General";
constexpr std::string_view kLocalGeneral = "G/通用格式";

// Replaces `from` (without regard to ASCII case) by `to` wherever it stands outside a quoted
// literal or a backslash escape: each section of "G/通用格式;-G/通用格式" converts, and a
// literal "General" in quotes stays.
std::string ReplaceName(std::string_view format, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(format.size() + 8);
  bool quoted = false;
  for (size_t i = 0; i < format.size();) {
    const char c = format[i];
    if (c == '"') {
      quoted = !quoted;
      out += c;
      ++i;
    } else if (!quoted && c == '\\' && i + 1 < format.size()) {
      out += format.substr(i, 2);
      i += 2;
    } else if (!quoted && EqualsIgnoringAsciiCase(format.substr(i, from.size()), from)) {
      out += to;
      i += from.size();
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

// Colour of ColorIndex 1 to 56 in a new workbook.
constexpr std::array<uint32_t, 56> kPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,  //  1- 8
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,  //  9-16
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,  // 17-24
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,  // 25-32
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,  // 33-40
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,  // 41-48
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,  // 49-56
};

}  // namespace

std::string CanonicalNumberFormat(std::string_view local) {
  return ReplaceName(local, kLocalGeneral, kGeneral);
}

std::string LocalNumberFormat(std::string_view canonical) {
  return ReplaceName(canonical, kGeneral, kLocalGeneral);
}

uint32_t PaletteColor(int32_t index) {
  if (index < 1 || index > static_cast<int32_t>(kPalette.size())) return 0;
  return kPalette[static_cast<size_t>(index - 1)];
}

}  // namespace tezlo
