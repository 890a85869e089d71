// Terminal bytes to key events: xterm's cursor and function keys with modifiers, Alt as a
// leading Escape, control characters, UTF-8 text, SGR mouse reports and split reads.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "text/valid_utf8.h"
#include "tui/key_decoder.h"
#include "tui/line_editor.h"

namespace tezlo {
namespace {

std::vector<KeyEvent> Decode(const std::string& bytes, bool idle = true) {
  KeyDecoder d;
  d.Feed(bytes);
  std::vector<KeyEvent> out;
  while (auto e = d.Next(idle)) out.push_back(*e);
  return out;
}

KeyEvent One(const std::string& bytes) {
  const std::vector<KeyEvent> events = Decode(bytes);
  EXPECT_EQ(events.size(), 1u) << bytes.substr(1);
  return events.empty() ? KeyEvent{} : events[0];
}

TEST(KeyDecoder, CursorKeysWithModifiers) {
  EXPECT_EQ(One("\x1b[A").key, Key::Up);
  EXPECT_EQ(One("\x1bOB").key, Key::Down);
  const KeyEvent ctrlLeft = One("\x1b[1;5D");
  EXPECT_EQ(ctrlLeft.key, Key::Left);
  EXPECT_TRUE(ctrlLeft.ctrl);
  EXPECT_FALSE(ctrlLeft.shift);
  const KeyEvent both = One("\x1b[1;6C");
  EXPECT_TRUE(both.ctrl && both.shift);
  EXPECT_TRUE(One("\x1b[1;2A").shift);
  EXPECT_TRUE(One("\x1b[1;5H").ctrl);
  EXPECT_EQ(One("\x1b[1;5H").key, Key::Home);
}

TEST(KeyDecoder, TildeKeysAndFunctionKeys) {
  EXPECT_EQ(One("\x1b[5~").key, Key::PageUp);
  const KeyEvent ctrlPgDn = One("\x1b[6;5~");
  EXPECT_EQ(ctrlPgDn.key, Key::PageDown);
  EXPECT_TRUE(ctrlPgDn.ctrl);
  EXPECT_EQ(One("\x1b[3~").key, Key::Delete);
  EXPECT_EQ(One("\x1b[1~").key, Key::Home);
  EXPECT_EQ(One("\x1b[4~").key, Key::End);
  EXPECT_EQ(One("\x1bOQ").key, Key::F2);
  EXPECT_EQ(One("\x1b[12~").key, Key::F2);
  const KeyEvent shiftF8 = One("\x1b[19;2~");
  EXPECT_EQ(shiftF8.key, Key::F8);
  EXPECT_TRUE(shiftF8.shift);
  const KeyEvent backTab = One("\x1b[Z");
  EXPECT_EQ(backTab.key, Key::Tab);
  EXPECT_TRUE(backTab.shift);
  EXPECT_TRUE(Decode("\x1b[99~").empty());  // unknown keys are dropped
}

TEST(KeyDecoder, AltIsALeadingEscapeAndALoneEscapeWaitsForIdle) {
  const KeyEvent altZ = One("\x1bz");
  EXPECT_EQ(altZ.key, Key::Char);
  EXPECT_EQ(altZ.ch, U'z');
  EXPECT_TRUE(altZ.alt);
  KeyDecoder d;
  d.Feed("\x1b");
  EXPECT_FALSE(d.Next(false).has_value());  // maybe the start of a sequence
  const auto esc = d.Next(true);
  ASSERT_TRUE(esc.has_value());
  EXPECT_EQ(esc->key, Key::Escape);
  EXPECT_FALSE(d.Pending());
}

TEST(KeyDecoder, SequencesSplitAcrossReadsAreJoined) {
  KeyDecoder d;
  d.Feed("\x1b[1;");
  EXPECT_FALSE(d.Next(false).has_value());
  d.Feed("5B\xe4\xb8");
  const auto down = d.Next(false);
  ASSERT_TRUE(down.has_value());
  EXPECT_EQ(down->key, Key::Down);
  EXPECT_FALSE(d.Next(false).has_value());  // half a character
  d.Feed("\xbb");
  const auto ch = d.Next(false);
  ASSERT_TRUE(ch.has_value());
  EXPECT_EQ(ch->ch, U'主');
}

// Whatever bytes the terminal sends, split however across reads, the typed text is well-formed
// UTF-8: valid characters as sent, each ill-formed maximal subpart one U+FFFD.
TEST(KeyDecoder, TypedBytesBecomeWellFormedText) {
  std::mt19937 rng(5);
  const unsigned char leads[] = {0x80, 0xBF, 0xC0, 0xC2, 0xDF, 0xE0, 0xE4, 0xED,
                                 0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0xA0, 0x9F};
  for (int round = 0; round < 2000; ++round) {
    std::string typed;
    const int length = static_cast<int>(rng() % 20);
    for (int k = 0; k < length; ++k) {
      const auto b = rng() % 3 == 0 ? 0x20 + rng() % 0x5F : leads[rng() % sizeof leads];
      typed += static_cast<char>(b);
    }
    KeyDecoder decoder;
    LineEditor editor("");
    for (size_t at = 0; at < typed.size();) {
      const size_t chunk = std::min<size_t>(1 + rng() % 4, typed.size() - at);
      decoder.Feed(std::string_view(typed).substr(at, chunk));
      at += chunk;
      while (auto e = decoder.Next(false)) editor.Handle(*e);
    }
    while (auto e = decoder.Next(true)) editor.Handle(*e);
    ASSERT_EQ(editor.Text(), ValidUtf8(typed)) << ::testing::PrintToString(typed);
  }
  LineEditor editor("");
  editor.Insert(0xD800);  // no character: a surrogate
  editor.Insert(0x110000);
  EXPECT_EQ(editor.Text(), "\uFFFD\uFFFD");
}

TEST(KeyDecoder, ControlCharactersAndText) {
  const std::vector<KeyEvent> e = Decode(
      "\x13\x11\x1a\r\t\x7f"
      "a主");
  ASSERT_EQ(e.size(), 8u);
  EXPECT_TRUE(e[0].ctrl && e[0].ch == U's');
  EXPECT_TRUE(e[1].ctrl && e[1].ch == U'q');
  EXPECT_TRUE(e[2].ctrl && e[2].ch == U'z');
  EXPECT_EQ(e[3].key, Key::Enter);
  EXPECT_EQ(e[4].key, Key::Tab);
  EXPECT_EQ(e[5].key, Key::Backspace);
  EXPECT_EQ(e[6].ch, U'a');
  EXPECT_FALSE(e[6].ctrl);
  EXPECT_EQ(e[7].ch, U'主');
}

TEST(KeyDecoder, SgrMouseReportsInCellsOrPixels) {
  const KeyEvent press = One("\x1b[<0;12;5M");
  EXPECT_EQ(press.key, Key::MousePress);
  EXPECT_EQ(press.x, 11);
  EXPECT_EQ(press.y, 4);
  EXPECT_EQ(press.pixelX, -1);
  EXPECT_TRUE(One("\x1b[<4;1;1M").shift);
  EXPECT_EQ(One("\x1b[<35;3;4M").key, Key::MouseMove);
  EXPECT_TRUE(Decode("\x1b[<0;12;5m").empty());   // a release
  EXPECT_TRUE(Decode("\x1b[<64;12;5M").empty());  // the wheel
  KeyDecoder d;
  d.Feed("\x1b[?1016;2$y");
  EXPECT_FALSE(d.Next(true).has_value());
  EXPECT_TRUE(d.PixelModeKnown());
  d.SetPixelReports(true);
  d.Feed("\x1b[<35;812;394M");
  const auto move = d.Next(true);
  ASSERT_TRUE(move.has_value());
  EXPECT_EQ(move->pixelX, 812);
  EXPECT_EQ(move->pixelY, 394);
  KeyDecoder unknown;
  unknown.Feed("\x1b[?1016;0$y");
  unknown.Next(true);
  EXPECT_FALSE(unknown.PixelModeKnown());
}

TEST(KeyDecoder, GarbageNeverHangsOrCrashes) {
  for (const std::string& junk :
       {std::string("\x1b[\x01"), std::string("\x1b[<;;M"), std::string("\x1b[<1"),
        std::string(200, '\x1b'), std::string("\x1b[") + std::string(100, '1')}) {
    KeyDecoder d;
    d.Feed(junk);
    for (int i = 0; i < 1000 && d.Pending(); ++i) d.Next(true);
    EXPECT_FALSE(d.Pending());
  }
}

}  // namespace
}  // namespace tezlo
