#include "memory/wildcard.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>

#include "text/valid_utf8.h"

namespace tezlo {
namespace {

TEST(Wildcard, WholeTextWithoutRegardToCase) {
  EXPECT_TRUE(WildcardMatches("abc", "abc"));
  EXPECT_TRUE(WildcardMatches("ABC", "abc"));
  EXPECT_FALSE(WildcardMatches("Straße", "STRASSE"));  // simple folding: ß stays ß
  EXPECT_TRUE(WildcardMatches("ÄÖÜ", "äöü"));
  EXPECT_TRUE(WildcardMatches("ΣΑΣ", "σας"));  // final sigma folds like sigma
  EXPECT_FALSE(WildcardMatches("abc", "abcd"));
  EXPECT_FALSE(WildcardMatches("abcd", "abc"));
  EXPECT_TRUE(WildcardMatches("", ""));
  EXPECT_FALSE(WildcardMatches("", "a"));
}

TEST(Wildcard, StarAndQuestionMark) {
  EXPECT_TRUE(WildcardMatches("*", ""));
  EXPECT_TRUE(WildcardMatches("*", "anything"));
  EXPECT_TRUE(WildcardMatches("a*", "a"));
  EXPECT_TRUE(WildcardMatches("a*c", "abbbc"));
  EXPECT_FALSE(WildcardMatches("a*c", "abbbd"));
  EXPECT_TRUE(WildcardMatches("*b*", "abc"));
  EXPECT_TRUE(WildcardMatches("?", "x"));
  EXPECT_FALSE(WildcardMatches("?", ""));
  EXPECT_FALSE(WildcardMatches("??", "x"));
  EXPECT_TRUE(WildcardMatches("a?c*", "abcdef"));
  EXPECT_TRUE(WildcardMatches("*ab", "aab"));
  EXPECT_TRUE(WildcardMatches("*aab", "aaab"));
  EXPECT_TRUE(WildcardMatches("**a", "ba"));
}

TEST(Wildcard, TildeMakesTheNextCharacterLiteral) {
  EXPECT_TRUE(WildcardMatches("a~*", "a*"));
  EXPECT_FALSE(WildcardMatches("a~*", "ab"));
  EXPECT_TRUE(WildcardMatches("~?", "?"));
  EXPECT_FALSE(WildcardMatches("~?", "x"));
  EXPECT_TRUE(WildcardMatches("~~", "~"));
  EXPECT_TRUE(WildcardMatches("a~", "a~"));  // a trailing tilde stands for itself
  EXPECT_TRUE(WildcardMatches("*~*", "5*"));
}

TEST(Wildcard, CountsCharactersNotBytes) {
  EXPECT_TRUE(WildcardMatches("身?证", "身份证"));
  EXPECT_TRUE(WildcardMatches("??", "主题"));
  EXPECT_FALSE(WildcardMatches("???", "主题"));
  EXPECT_TRUE(WildcardMatches("j21*", "j21身份证信息"));
  EXPECT_TRUE(WildcardMatches("?", "\xF0\x9F\x98\x80"));
}

TEST(Wildcard, InvalidUtf8IsMatchedAsTheTextMadeValid) {
  EXPECT_TRUE(WildcardMatches("?", "\xFF"));
  EXPECT_TRUE(WildcardMatches("a\xFF", "A\xFF"));
  EXPECT_TRUE(WildcardMatches("?", "\xE8\xBA"));  // a cut-off character is one U+FFFD
  EXPECT_FALSE(WildcardMatches("??", "\xE8\xBA"));
  EXPECT_TRUE(WildcardMatches("\xFE", "\xFF"));  // each reads as U+FFFD
  EXPECT_TRUE(WildcardMatches("\xFF", "\uFFFD"));
  EXPECT_FALSE(WildcardMatches("\xFF", "\xC3\xBF"));  // not the same as U+00FF
  // Random patterns and texts: the answer is the one for the texts made valid first.
  const std::string pieces[] = {"a",           "B",        "?",        "*",
                                "~",           "\xC3\xA4", "\xC3\x84", "\xE4\xB8\xAD",
                                "\xC3",        "\xE4\xB8", "\x80",     "\xFF",
                                "\xEF\xBF\xBD"};
  std::mt19937 rng(31);
  std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> count(0, 6);
  auto randomText = [&] {
    std::string text;
    for (int k = count(rng); k > 0; --k) text += pieces[piece(rng)];
    return text;
  };
  int matches = 0;
  for (int round = 0; round < 20000; ++round) {
    const std::string pattern = randomText();
    const std::string text = randomText();
    const bool matched = WildcardMatches(pattern, text);
    ASSERT_EQ(matched, WildcardMatches(ValidUtf8(pattern), ValidUtf8(text))) << round;
    matches += matched ? 1 : 0;
  }
  EXPECT_GT(matches, 1000);  // both answers occurred
  EXPECT_LT(matches, 19000);
}

TEST(Wildcard, ManyStarsStayLinear) {
  // Backtracking into every star would take far too long on this input.
  const std::string text(20000, 'a');
  EXPECT_FALSE(WildcardMatches("*a*a*a*a*a*a*a*a*a*a*b", text));
  EXPECT_TRUE(WildcardMatches("*a*a*a*a*a*a*a*a*a*a*", text));
  EXPECT_TRUE(WildcardMatches("*a*a*a*a*b", text + "b"));
}

}  // namespace
}  // namespace tezlo
