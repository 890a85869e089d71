#include "tui/text_width.h"

#include <clocale>
#include <cstring>
#include <cwchar>
#include <langinfo.h>

#include "text/valid_utf8.h"

namespace tezlo {

char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  const Utf8Step step = NextUtf8(text, pos);
  pos += step.length;
  return step.codePoint < 0 ? kReplacementCodePoint : static_cast<char32_t>(step.codePoint);
}

int CharWidth(char32_t c) {
  if (c >= 0x20 && c < 0x7F) return 1;
  if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return 1;
  const int w = wcwidth(static_cast<wchar_t>(c));
  return w < 0 ? 1 : w;
}

int TextWidth(std::string_view text) {
  int width = 0;
  for (size_t pos = 0; pos < text.size();) width += CharWidth(DecodeUtf8(text, pos));
  return width;
}

std::string_view FitPrefix(std::string_view text, int cells) {
  int width = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t next = pos;
    const int w = CharWidth(DecodeUtf8(text, next));
    if (width + w > cells) break;
    width += w;
    pos = next;
  }
  return text.substr(0, pos);
}

bool UseUtf8CharacterWidths() {
  const auto utf8 = [] {
    const char* codeset = nl_langinfo(CODESET);
    return codeset != nullptr && (std::strcmp(codeset, "UTF-8") == 0);
  };
  std::setlocale(LC_CTYPE, "");
  if (utf8()) return true;
  std::setlocale(LC_CTYPE, "C.UTF-8");
  return utf8();
}

}  // namespace tezlo
