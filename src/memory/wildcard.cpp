#include "memory/wildcard.h"

#include <cstdint>
#include <string>
#include <vector>

#include "text/case_fold.h"

namespace tezlo {

namespace {

enum class Kind : uint8_t { Literal, AnyOne, AnyRun };

struct Token {
  Kind kind;
  char32_t c;
};

std::vector<Token> Tokens(const std::u32string& pattern) {
  std::vector<Token> out;
  out.reserve(pattern.size());
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char32_t c = pattern[i];
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
  const std::vector<Token> p = Tokens(FoldForSearch(pattern));
  const std::u32string t = FoldForSearch(text);
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
