// Simple case folding of one character and UTF-16 for the national-language API on Windows,
// where ICU is not available: the folding is the invariant locale's lower-case mapping
// (LCMapStringEx), which agrees with the simple case folding for every letter a workbook is
// likely to hold.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "text/valid_utf8.h"

namespace tezlo::win {

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
  const int written =
      LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, in, n, out, 4, nullptr, nullptr, 0);
  if (written != n) return c;
  if (n == 1) return (out[0] >= 0xD800 && out[0] <= 0xDFFF) ? c : out[0];
  if (out[0] < 0xD800 || out[0] > 0xDBFF || out[1] < 0xDC00 || out[1] > 0xDFFF) return c;
  return 0x10000 + ((out[0] - 0xD800) << 10) + (out[1] - 0xDC00);
}

// UTF-16 of UTF-8 (each maximal subpart of an ill-formed sequence becomes one U+FFFD, as
// ValidUtf8 makes it), for the national-language API.
inline std::wstring WideOf(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const Utf8Step step = NextUtf8(utf8, i);
    i += step.length;
    const int32_t c =
        step.codePoint < 0 ? static_cast<int32_t>(kReplacementCodePoint) : step.codePoint;
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
