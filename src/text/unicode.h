// The few Unicode services the engine and the tools need from the platform: simple case folding
// of one character and the zh-CN collation. ICU provides them on Linux (unicode_icu.cpp); the
// Windows build has its own implementation beside it. UTF-8 is decoded by NextUtf8
// (valid_utf8.h) on every platform.
#pragma once

#include <cstdint>
#include <string_view>

namespace tezlo {

// The simple case folding of one character ("A" -> "a").
int32_t FoldCodePoint(int32_t c);

// Orders two UTF-8 texts as a zh-CN spreadsheet sorts them: Latin before Han, Chinese by pinyin,
// letter case ignored. Returns <0, 0 or >0; byte order when no collation data is available.
int CompareChinese(std::string_view a, std::string_view b);

}  // namespace tezlo
