#include "tui/text_width.h"

#include <clocale>
#include <cstring>
#include <cwchar>
#include <langinfo.h>

namespace tezlo {

char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int extra = 0;
  char32_t c = 0;
  char32_t min = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, c = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, c = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, c = lead & 0x07, min = 0x10000;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (pos + static_cast<size_t>(extra) >= text.size()) {
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i <= extra; ++i) {
    const unsigned char b = byte(pos + i);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++pos;
    return 0xFFFD;
  }
  pos += static_cast<size_t>(extra) + 1;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
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
