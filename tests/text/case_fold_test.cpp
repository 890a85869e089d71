#include "text/case_fold.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <iterator>
#include <random>
#include <string>

#include "text/valid_utf8.h"

namespace tezlo {
namespace {

TEST(FoldForSearch, FoldsCaseCharacterByCharacter) {
  EXPECT_EQ(FoldForSearch("AbC"), FoldForSearch("aBc"));
  EXPECT_EQ(FoldForSearch("ÄÖÜ"), FoldForSearch("äöü"));
  EXPECT_EQ(FoldForSearch("ΣΑΣ"), FoldForSearch("σας"));  // final sigma folds to sigma
  EXPECT_EQ(FoldForSearch("中文").size(), 2u);
  EXPECT_NE(FoldForSearch("a"), FoldForSearch("b"));
}

TEST(FoldForSearch, StrayBytesReadAsOneReplacementEach) {
  const std::u32string folded =
      FoldForSearch(std::string("a\xff"
                                "b",
                                3));
  ASSERT_EQ(folded.size(), 3u);
  EXPECT_EQ(folded[1], U'\uFFFD');
  EXPECT_NE(folded[1], FoldForSearch("ÿ")[0]);
  // A sequence cut short is one unit, an overlong one a unit per byte (maximal subparts).
  EXPECT_EQ(FoldForSearch("x\xE2\x82y"), U"x\uFFFDy");
  EXPECT_EQ(FoldForSearch("\xC0\xAF"), U"\uFFFD\uFFFD");
}

// ICU's UTF-8 conversion and folding, an independent reading of the same text: the conversion
// puts one U+FFFD for each ill-formed maximal subpart.
std::u32string IcuFolded(const std::string& text) {
  const icu::UnicodeString utf16 = icu::UnicodeString::fromUTF8(text);
  std::u32string out;
  for (int32_t i = 0; i < utf16.length(); i = utf16.moveIndex32(i, 1)) {
    out.push_back(static_cast<char32_t>(u_foldCase(utf16.char32At(i), U_FOLD_CASE_DEFAULT)));
  }
  return out;
}

TEST(FoldForSearch, IllFormedTextFoldsAsTheTextMadeValid) {
  // Random texts of ASCII letters, a few well-formed characters and loose UTF-8 bytes.
  const std::string pieces[] = {
      "A",        "z",        "\xC3\x84", "\xCE\xA3", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80",
      "\xC3",     "\xE4\xB8", "\xF0\x9F", "\x80",     "\xBF",         "\xC0",
      "\xED\xA0", "\xF4\x90", "\xFF"};
  std::mt19937 rng(29);
  std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> count(0, 12);
  int illFormed = 0;
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    for (int k = count(rng); k > 0; --k) text += pieces[piece(rng)];
    const std::u32string folded = FoldForSearch(text);
    ASSERT_EQ(folded, FoldForSearch(ValidUtf8(text))) << round;
    ASSERT_EQ(folded, IcuFolded(text)) << round;
    illFormed += IsValidUtf8(text) ? 0 : 1;
  }
  EXPECT_GT(illFormed, 1000);  // the texts did exercise the ill-formed paths
}

}  // namespace
}  // namespace tezlo
