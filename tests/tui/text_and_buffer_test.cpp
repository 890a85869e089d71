// Measuring UTF-8 text in terminal cells and writing it into the screen buffer: wide characters
// take two cells and are never cut in half.
#include <gtest/gtest.h>

#include "tui/screen_buffer.h"
#include "tui/text_width.h"

namespace tezlo {
namespace {

TEST(TextWidth, CountsWideCharactersTwiceAndCombiningMarksNotAtAll) {
  EXPECT_EQ(TextWidth("abc"), 3);
  EXPECT_EQ(TextWidth("主题"), 4);
  EXPECT_EQ(TextWidth("a主b"), 4);
  EXPECT_EQ(TextWidth("e\xCC\x81"), 1);  // e with a combining acute accent
  EXPECT_EQ(TextWidth("，"), 2);         // full-width comma
  EXPECT_EQ(TextWidth(""), 0);
}

TEST(TextWidth, MalformedBytesReadAsOneReplacementCharacterPerMaximalSubpart) {
  const std::string bad = "a\xE4\xB8z\xFF";  // a truncated three-byte sequence, then a stray byte
  size_t pos = 0;
  EXPECT_EQ(DecodeUtf8(bad, pos), U'a');
  EXPECT_EQ(DecodeUtf8(bad, pos), char32_t{0xFFFD});
  EXPECT_EQ(pos, 3u);
  EXPECT_EQ(DecodeUtf8(bad, pos), U'z');
  EXPECT_EQ(DecodeUtf8(bad, pos), char32_t{0xFFFD});
  EXPECT_EQ(pos, bad.size());
  std::string encoded;
  AppendUtf8(encoded, U'主');
  AppendUtf8(encoded, U'😀');
  EXPECT_EQ(encoded, "主😀");
}

TEST(TextWidth, FitPrefixNeverSplitsAWideCharacter) {
  EXPECT_EQ(FitPrefix("主题词", 5), "主题");
  EXPECT_EQ(FitPrefix("主题词", 1), "");
  EXPECT_EQ(FitPrefix("ab主", 3), "ab");
  EXPECT_EQ(FitPrefix("ab主", 4), "ab主");
}

TEST(ScreenBuffer, WideCharacterThatDoesNotFitIsLeftOut) {
  ScreenBuffer b(6, 1);
  EXPECT_EQ(b.Put(0, 0, "a主题", Attr{}, 4), 3);  // a + 主; 题 would need cells 3 and 4
  EXPECT_EQ(b.RowText(0), "a主   ");
  EXPECT_EQ(b.At(1, 0).width, 2);
  EXPECT_EQ(b.At(2, 0).width, 0);
  EXPECT_EQ(b.At(3, 0).ch, U' ');
  // The screen's edge cuts the same way.
  ScreenBuffer edge(3, 1);
  edge.Put(1, 0, "主题", Attr{}, 10);
  EXPECT_EQ(edge.RowText(0), " 主");
}

TEST(ScreenBuffer, OverwritingHalfAWideCharacterBlanksTheOtherHalf) {
  ScreenBuffer b(4, 1);
  b.Put(0, 0, "主题", Attr{}, 4);
  b.PutChar(1, 0, U'*', Attr{Role::CommentFlag, 0});
  EXPECT_EQ(b.RowText(0), " *题");
  b.Put(2, 0, "x", Attr{}, 1);
  EXPECT_EQ(b.RowText(0), " *x ");
  for (int x = 0; x < 4; ++x) EXPECT_NE(b.At(x, 0).width, 0) << x;
}

TEST(ScreenBuffer, ControlCharactersShowAsBlanksAndNothingIsWrittenOffScreen) {
  ScreenBuffer b(5, 2);
  b.Put(0, 0, "a\nb\tc", Attr{}, 5);
  EXPECT_EQ(b.RowText(0), "a b c");
  b.Put(-2, 1, "xyz", Attr{}, 5);
  EXPECT_EQ(b.RowText(1), "z    ");
  b.Put(0, 5, "nothing", Attr{}, 5);
  b.Fill(3, 9, 4, Attr{});
  EXPECT_EQ(b.Height(), 2);
}

}  // namespace
}  // namespace tezlo
