#include "files/number_formats.h"

#include <array>
#include <utility>

namespace tezlo {

namespace {

struct Builtin {
  int id;
  const char* text;
  bool sameEverywhere;  // written by id: its text does not depend on the locale
};

constexpr std::array<Builtin, 27> kBuiltins = {{
    {0, "General", true},
    {1, "0", true},
    {2, "0.00", true},
    {3, "#,##0", true},
    {4, "#,##0.00", true},
    {9, "0%", true},
    {10, "0.00%", true},
    {11, "0.00E+00", true},
    {12, "# ?/?", true},
    {13, "# ?\?/??", true},
    {14, "yyyy/m/d", false},
    {15, "d-mmm-yy", false},
    {16, "d-mmm", false},
    {17, "mmm-yy", false},
    {18, "h:mm AM/PM", false},
    {19, "h:mm:ss AM/PM", false},
    {20, "h:mm", true},
    {21, "h:mm:ss", true},
    {22, "yyyy/m/d h:mm", false},
    {37, "#,##0 ;(#,##0)", false},
    {38, "#,##0 ;[Red](#,##0)", false},
    {39, "#,##0.00;(#,##0.00)", false},
    {40, "#,##0.00;[Red](#,##0.00)", false},
    {45, "mm:ss", true},
    {46, "[h]:mm:ss", true},
    {47, "mmss.0", true},
    {49, "@", true},
}};

}  // namespace

std::optional<std::string> BuiltinNumberFormat(int id) {
  for (const Builtin& b : kBuiltins) {
    if (b.id == id) return std::string(b.text);
  }
  if (id == 48) return std::string("##0.0E+0");
  // The ids 27 to 36 and 50 to 58 depend on the locale; these are their zh-CN texts.
  static constexpr std::array<std::pair<int, const char*>, 19> kChinese = {{
      {27, "yyyy\"年\"m\"月\""},
      {28, "m\"月\"d\"日\""},
      {29, "m\"月\"d\"日\""},
      {30, "m-d-yy"},
      {31, "yyyy\"年\"m\"月\"d\"日\""},
      {32, "h\"时\"mm\"分\""},
      {33, "h\"时\"mm\"分\"ss\"秒\""},
      {34, "上午/下午h\"时\"mm\"分\""},
      {35, "上午/下午h\"时\"mm\"分\"ss\"秒\""},
      {36, "yyyy\"年\"m\"月\""},
      {50, "yyyy\"年\"m\"月\""},
      {51, "m\"月\"d\"日\""},
      {52, "yyyy\"年\"m\"月\""},
      {53, "m\"月\"d\"日\""},
      {54, "m\"月\"d\"日\""},
      {55, "上午/下午h\"时\"mm\"分\""},
      {56, "上午/下午h\"时\"mm\"分\"ss\"秒\""},
      {57, "yyyy\"年\"m\"月\""},
      {58, "m\"月\"d\"日\""},
  }};
  for (const auto& [chineseId, text] : kChinese) {
    if (chineseId == id) return std::string(text);
  }
  return std::nullopt;
}

std::optional<int> BuiltinNumberFormatId(std::string_view format) {
  for (const Builtin& b : kBuiltins) {
    if (b.sameEverywhere && format == b.text) return b.id;
  }
  return std::nullopt;
}

bool IsDateFormat(std::string_view format) {
  if (format == "General" || format == "@") return false;
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '"') {
      const size_t close = format.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      i = close;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // the next character is literal (or a padding character)
    } else if (c == '[') {
      const size_t close = format.find(']', i + 1);
      if (close == std::string_view::npos) return false;
      const std::string_view inside = format.substr(i + 1, close - i - 1);
      if (!inside.empty()) {
        const char k = inside[0];
        if (k == 'h' || k == 'H' || k == 'm' || k == 'M' || k == 's' || k == 'S') {
          bool elapsed = true;
          for (char x : inside) elapsed = elapsed && (x == k || x == (k ^ 0x20));
          if (elapsed) return true;
        }
      }
      i = close;
    } else if (c == ';') {
      return false;  // only the first section decides
    } else {
      switch (c) {
        case 'y':
        case 'Y':
        case 'm':
        case 'M':
        case 'd':
        case 'D':
        case 'h':
        case 'H':
        case 's':
        case 'S': return true;
        default: break;
      }
    }
  }
  return false;
}

}  // namespace tezlo
