#include "text/ascii.h"

#include <gtest/gtest.h>
#include <strings.h>

#include <cctype>
#include <iterator>
#include <random>
#include <string>

namespace tezlo {
namespace {

// The C library's classes in the "C" locale, an independent definition of the same sets.
TEST(Ascii, ClassesAndCaseAgreeWithTheCLibraryForEveryByte) {
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    EXPECT_EQ(IsAsciiDigit(c), std::isdigit(b) != 0) << b;
    EXPECT_EQ(IsAsciiLetter(c), std::isalpha(b) != 0) << b;
    EXPECT_EQ(AsciiLower(c), static_cast<char>(std::tolower(b))) << b;
    EXPECT_EQ(AsciiUpper(c), static_cast<char>(std::toupper(b))) << b;
    EXPECT_EQ(IsBlank(c), std::isblank(b) != 0) << b;
    EXPECT_EQ(IsWhiteSpace(c), std::isspace(b) != 0 && c != '\v' && c != '\f') << b;
  }
}

std::string_view TrimSet(std::string_view text, std::string_view set) {
  const size_t first = text.find_first_not_of(set);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(set) - first + 1);
}

TEST(Ascii, TrimsAndComparesRandomTexts) {
  const std::string pieces[] = {" ",        "\t",      "\r", "\n",
                                "\v",       "a",       "A",  "z",
                                "Q",        "0",       ".",  "\xE3\x80\x80" /* ideographic space */,
                                "\xC3\xA4", "\xC3\x84"};
  std::mt19937 rng(7);
  std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> count(0, 8);
  auto randomText = [&] {
    std::string text;
    for (int k = count(rng); k > 0; --k) text += pieces[piece(rng)];
    return text;
  };
  int equal = 0;
  for (int round = 0; round < 20000; ++round) {
    const std::string a = randomText();
    const std::string b = randomText();
    ASSERT_EQ(TrimSpaces(a), TrimSet(a, " ")) << round;
    ASSERT_EQ(TrimBlanks(a), TrimSet(a, " \t")) << round;
    ASSERT_EQ(TrimWhiteSpace(a), TrimSet(a, " \t\r\n")) << round;
    const bool same = a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
    ASSERT_EQ(EqualsIgnoringAsciiCase(a, b), same) << round;
    const bool endsWith =
        a.size() >= b.size() && strcasecmp(a.c_str() + (a.size() - b.size()), b.c_str()) == 0;
    ASSERT_EQ(EndsWithIgnoringAsciiCase(a, b), endsWith) << round;
    std::string lower = a;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ASSERT_EQ(LowerAscii(a), lower) << round;
    equal += same ? 1 : 0;
  }
  EXPECT_GT(equal, 100);  // equal texts did occur
  EXPECT_EQ(TrimWhiteSpace("\xE3\x80\x80x\xE3\x80\x80"),
            "\xE3\x80\x80x\xE3\x80\x80");  // U+3000 stays
}

}  // namespace
}  // namespace tezlo
