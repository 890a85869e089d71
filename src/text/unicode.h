// The few Unicode services the engine and the tools need from the platform: UTF-8 decoding,
// simple case folding of one character and the zh-CN collation. ICU provides them on Linux
// (unicode_icu.cpp); the Windows build has its own implementation beside it.
#pragma once

#include <cstdint>
#include <string_view>

namespace tezlo {

// Decodes the character that starts at bytes[i] and advances i past it. For a byte that does
// not start a well-formed sequence it returns -1 and advances i by one.
int32_t NextCodePoint(const uint8_t* bytes, int32_t& i, int32_t length);

// The simple case folding of one character ("A" -> "a").
int32_t FoldCodePoint(int32_t c);

// Orders two UTF-8 texts as a zh-CN spreadsheet sorts them: Latin before Han, Chinese by pinyin,
// letter case ignored. Returns <0, 0 or >0; byte order when no collation data is available.
int CompareChinese(std::string_view a, std::string_view b);

}  // namespace tezlo
