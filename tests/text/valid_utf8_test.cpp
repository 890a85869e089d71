#include "text/valid_utf8.h"

#include <gtest/gtest.h>
#include <unicode/utf8.h>

#include <random>
#include <string>

namespace tezlo {
namespace {

// ICU's decoder, an independent implementation of the same practice: each ill-formed maximal
// subpart is one error.
std::string IcuReplaced(const std::string& text) {
  std::string out;
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  int32_t i = 0;
  while (i < length) {
    const int32_t start = i;
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      out += "\xEF\xBF\xBD";
    } else {
      out.append(text, static_cast<size_t>(start), static_cast<size_t>(i - start));
    }
  }
  return out;
}

TEST(ValidUtf8, ReplacesEachMaximalSubpartOnce) {
  // The Unicode Standard's own example (chapter 3, U+FFFD substitution of maximal subparts).
  const std::string text("\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64");
  EXPECT_EQ(ValidUtf8(text), "a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd");
  EXPECT_EQ(ValidUtf8("\xC0\xAF"), "\uFFFD\uFFFD");                      // overlong: no lead fits
  EXPECT_EQ(ValidUtf8("\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD");            // a surrogate
  EXPECT_EQ(ValidUtf8("\xF4\x90\x80\x80"), "\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
  EXPECT_EQ(ValidUtf8("\xE2\x82"), "\uFFFD");                            // cut short at the end
  EXPECT_EQ(ValidUtf8("\xF0\x9F\x98"), "\uFFFD");
  EXPECT_EQ(ValidUtf8("x\xFFy"), "x\uFFFDy");
  const std::string good = "a中文\U0001F600\u00E9\uFFFF" + std::string(1, '\0') + "z";
  EXPECT_TRUE(IsValidUtf8(good));
  EXPECT_EQ(ValidUtf8(good), good);
  EXPECT_FALSE(IsValidUtf8("abcdefgh\x80"));  // past the eight-byte ASCII steps
  EXPECT_FALSE(IsValidUtf8("\xEF\xBF"));
}

TEST(ValidUtf8, AgreesWithIcuOnRandomBytes) {
  std::mt19937 rng(12);
  // Bytes chosen to hit every lead and continuation boundary often.
  const unsigned char interesting[] = {'a',  0x00, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF,
                                       0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE,
                                       0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFF};
  for (int n = 0; n < 20000; ++n) {
    std::string text;
    const int length = static_cast<int>(rng() % 24);
    for (int k = 0; k < length; ++k) {
      text += static_cast<char>(rng() % 2 ? interesting[rng() % sizeof interesting] : rng() % 256);
    }
    const std::string expected = IcuReplaced(text);
    ASSERT_EQ(ValidUtf8(text), expected) << testing::PrintToString(text);
    ASSERT_EQ(IsValidUtf8(text), expected == text) << testing::PrintToString(text);
    ASSERT_TRUE(IsValidUtf8(expected));
    std::string inPlace = text;
    MakeValidUtf8(inPlace);
    ASSERT_EQ(inPlace, expected);
  }
}

}  // namespace
}  // namespace tezlo
