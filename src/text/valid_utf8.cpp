#include "text/valid_utf8.h"

namespace tezlo {

namespace {

// The bytes allowed second in a sequence led by `lead` (Unicode's table of well-formed UTF-8
// byte sequences); the third and fourth are always 80..BF. Sets `length` to the sequence's
// length, 0 for a byte that cannot lead one.
bool SecondByteFits(uint8_t lead, uint8_t second, size_t& length) {
  uint8_t low = 0x80;
  uint8_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    length = 0;
    return false;
  }
  return second >= low && second <= high;
}

bool Continuation(uint8_t b) { return (b & 0xC0) == 0x80; }

}  // namespace

Utf8Step NextUtf8(std::string_view text, size_t i) {
  const auto byte = [&text](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t lead = byte(i);
  if (lead < 0x80) return {lead, 1};
  size_t length = 0;
  if (i + 1 >= text.size() || !SecondByteFits(lead, byte(i + 1), length)) return {-1, 1};
  int32_t cp = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
  for (size_t k = 1; k < length; ++k) {
    if (i + k >= text.size() || !Continuation(byte(i + k))) return {-1, k};
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  return {cp, length};
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    // ASCII runs are the common case; take them eight bytes at a time.
    while (i + 8 <= text.size()) {
      uint64_t block = 0;
      for (size_t k = 0; k < 8; ++k)
        block |= static_cast<uint64_t>(static_cast<uint8_t>(text[i + k])) << (8 * k);
      if ((block & 0x8080808080808080ull) != 0) break;
      i += 8;
    }
    if (i >= text.size()) break;
    const Utf8Step step = NextUtf8(text, i);
    if (step.codePoint < 0) return false;
    i += step.length;
  }
  return true;
}

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const Utf8Step step = NextUtf8(text, i);
    if (step.codePoint < 0) {
      out += kReplacementCharacter;
    } else {
      out.append(text.data() + i, step.length);
    }
    i += step.length;
  }
  return out;
}

void MakeValidUtf8(std::string& text) {
  if (!IsValidUtf8(text)) text = ValidUtf8(text);
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

}  // namespace tezlo
