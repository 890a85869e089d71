// UTF-8 decoding and simple case folding of one character on Windows, where ICU is not
// available: the decoding follows the Unicode standard's well-formed byte sequences, the folding
// is the invariant locale's lower-case mapping (LCMapStringEx), which agrees with the simple case
// folding for every letter a workbook is likely to hold.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tezlo::win {

// Decodes the character starting at bytes[i] and advances i past it. Returns -1 for a byte that
// does not start a well-formed sequence (i then advances by one).
inline int32_t NextCodePoint(const uint8_t* bytes, int32_t& i, int32_t length) {
  const uint8_t lead = bytes[i++];
  if (lead < 0x80) return lead;
  int32_t needed = 0;
  int32_t c = 0;
  uint8_t low = 0x80;
  uint8_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    needed = 1;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    needed = 2;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    needed = 3;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return -1;
  }
  const int32_t start = i;
  for (int32_t k = 0; k < needed; ++k) {
    if (i >= length) {
      i = start;
      return -1;
    }
    const uint8_t b = bytes[i];
    const uint8_t lo = k == 0 ? low : 0x80;
    const uint8_t hi = k == 0 ? high : 0xBF;
    if (b < lo || b > hi) {
      i = start;
      return -1;
    }
    c = (c << 6) | (b & 0x3F);
    ++i;
  }
  return c;
}

// The character's lower-case form, one character for one; the character itself where the
// mapping would change the length.
inline int32_t FoldCodePoint(int32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
  wchar_t in[2];
  int n = 1;
  if (c >= 0x10000) {
    in[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
    in[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    n = 2;
  } else {
    in[0] = static_cast<wchar_t>(c);
  }
  wchar_t out[4] = {};
  const int written = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, in, n, out, 4,
                                    nullptr, nullptr, 0);
  if (written != n) return c;
  if (n == 1) return (out[0] >= 0xD800 && out[0] <= 0xDFFF) ? c : out[0];
  if (out[0] < 0xD800 || out[0] > 0xDBFF || out[1] < 0xDC00 || out[1] > 0xDFFF) return c;
  return 0x10000 + ((out[0] - 0xD800) << 10) + (out[1] - 0xDC00);
}

// UTF-16 of well-formed UTF-8 (ill-formed bytes become U+FFFD), for the national-language API.
inline std::wstring WideOf(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
  const auto length = static_cast<int32_t>(utf8.size());
  int32_t i = 0;
  while (i < length) {
    int32_t c = NextCodePoint(bytes, i, length);
    if (c < 0) c = 0xFFFD;
    if (c >= 0x10000) {
      out.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<wchar_t>(c));
    }
  }
  return out;
}

}  // namespace tezlo::win
