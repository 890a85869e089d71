#include "memory/wildcard.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <vector>

namespace tezlo {

namespace {

// Code points of `text`, case-folded. A byte that is not part of well-formed UTF-8 becomes a
// value above the Unicode range of its own, so it matches only the same byte.
std::vector<UChar32> FoldedCodePoints(std::string_view text) {
  std::vector<UChar32> out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  int32_t i = 0;
  while (i < length) {
    const int32_t start = i;
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      i = start + 1;
      out.push_back(0x110000 + bytes[start]);
    } else {
      out.push_back(u_foldCase(c, U_FOLD_CASE_DEFAULT));
    }
  }
  return out;
}

enum class Kind : uint8_t { Literal, AnyOne, AnyRun };

struct Token {
  Kind kind;
  UChar32 c;
};

std::vector<Token> Tokens(const std::vector<UChar32>& pattern) {
  std::vector<Token> out;
  out.reserve(pattern.size());
  for (size_t i = 0; i < pattern.size(); ++i) {
    const UChar32 c = pattern[i];
    if (c == '~' && i + 1 < pattern.size()) {
      out.push_back({Kind::Literal, pattern[++i]});
    } else if (c == '*') {
      if (out.empty() || out.back().kind != Kind::AnyRun) out.push_back({Kind::AnyRun, 0});
    } else if (c == '?') {
      out.push_back({Kind::AnyOne, 0});
    } else {
      out.push_back({Kind::Literal, c});
    }
  }
  return out;
}

}  // namespace

bool WildcardMatches(std::string_view pattern, std::string_view text) {
  const std::vector<Token> p = Tokens(FoldedCodePoints(pattern));
  const std::vector<UChar32> t = FoldedCodePoints(text);
  // Greedy matching that only ever returns to the most recent *: each * absorbs one more
  // character on a mismatch, which bounds the work by pattern length times text length.
  size_t pi = 0;
  size_t ti = 0;
  size_t starToken = SIZE_MAX;
  size_t starText = 0;
  while (ti < t.size()) {
    if (pi < p.size() && p[pi].kind == Kind::AnyRun) {
      starToken = pi++;
      starText = ti;
    } else if (pi < p.size() && (p[pi].kind == Kind::AnyOne || p[pi].c == t[ti])) {
      ++pi;
      ++ti;
    } else if (starToken != SIZE_MAX) {
      pi = starToken + 1;
      ti = ++starText;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi].kind == Kind::AnyRun) ++pi;
  return pi == p.size();
}

}  // namespace tezlo
