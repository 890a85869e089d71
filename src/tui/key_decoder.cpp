#include "tui/key_decoder.h"

#include <cstdlib>
#include <vector>

#include "tui/text_width.h"

namespace tezlo {
namespace {

std::vector<int> Params(std::string_view body) {
  std::vector<int> out;
  int value = 0;
  bool any = false;
  for (char c : body) {
    if (c >= '0' && c <= '9') {
      value = value * 10 + (c - '0');
      if (value > 100000) value = 100000;
      any = true;
    } else if (c == ';') {
      out.push_back(any ? value : 0);
      value = 0;
      any = false;
    }
  }
  out.push_back(any ? value : 0);
  return out;
}

// xterm's modifier parameter: 1 + (shift 1, alt 2, ctrl 4).
void ApplyModifier(KeyEvent& e, int modifier) {
  if (modifier < 2) return;
  const int bits = modifier - 1;
  e.shift = (bits & 1) != 0;
  e.alt = (bits & 2) != 0;
  e.ctrl = (bits & 4) != 0;
}

std::optional<KeyEvent> LetterKey(char final) {
  switch (final) {
    case 'A': return KeyEvent::Of(Key::Up);
    case 'B': return KeyEvent::Of(Key::Down);
    case 'C': return KeyEvent::Of(Key::Right);
    case 'D': return KeyEvent::Of(Key::Left);
    case 'H': return KeyEvent::Of(Key::Home);
    case 'F': return KeyEvent::Of(Key::End);
    case 'Q': return KeyEvent::Of(Key::F2);
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<KeyEvent> KeyDecoder::DecodeCsi(std::string_view body, char final, bool& ignored) {
  ignored = false;
  if (!body.empty() && body.front() == '<' && (final == 'M' || final == 'm')) {
    const std::vector<int> p = Params(body.substr(1));
    if (p.size() < 3) {
      ignored = true;
      return std::nullopt;
    }
    const int button = p[0];
    KeyEvent e;
    const bool motion = (button & 32) != 0;
    if (final == 'm' || (!motion && (button & 3) != 0) || (button & 64) != 0) {
      ignored = true;  // releases, other buttons and the wheel
      return std::nullopt;
    }
    e.key = motion ? Key::MouseMove : Key::MousePress;
    e.shift = (button & 4) != 0;
    e.ctrl = (button & 16) != 0;
    if (pixelReports_) {
      e.pixelX = p[1];
      e.pixelY = p[2];
      e.x = -1;
      e.y = -1;
    } else {
      e.x = p[1] - 1;
      e.y = p[2] - 1;
    }
    return e;
  }
  if (!body.empty() && body.front() == '?' && final == 'y') {
    // A mode report (DECRPM): "?1016;1$y" says the mode is known.
    const std::vector<int> p = Params(body.substr(1));
    if (p.size() >= 2 && p[0] == 1016 && p[1] >= 1 && p[1] <= 4) pixelModeKnown_ = true;
    ignored = true;
    return std::nullopt;
  }
  const std::vector<int> p = Params(body);
  if (final == '~') {
    KeyEvent e;
    switch (p[0]) {
      case 1:
      case 7: e.key = Key::Home; break;
      case 4:
      case 8: e.key = Key::End; break;
      case 3: e.key = Key::Delete; break;
      case 5: e.key = Key::PageUp; break;
      case 6: e.key = Key::PageDown; break;
      case 12: e.key = Key::F2; break;
      case 19: e.key = Key::F8; break;
      default: ignored = true; return std::nullopt;
    }
    if (p.size() > 1) ApplyModifier(e, p[1]);
    return e;
  }
  if (final == 'Z') return KeyEvent::Of(Key::Tab, true);
  std::optional<KeyEvent> e = LetterKey(final);
  if (!e) {
    ignored = true;
    return std::nullopt;
  }
  if (p.size() > 1) ApplyModifier(*e, p[1]);
  return e;
}

std::optional<KeyEvent> KeyDecoder::DecodeEscape(size_t& length, bool idle) {
  length = 0;
  if (pending_.size() == 1) {
    if (!idle) return std::nullopt;
    length = 1;
    return KeyEvent::Of(Key::Escape);
  }
  const char second = pending_[1];
  if (second == '[' || second == 'O') {
    // CSI: parameters and intermediates, then a final byte 0x40..0x7E.
    for (size_t i = 2; i < pending_.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(pending_[i]);
      if (c >= 0x40 && c <= 0x7E && !(second == '[' && i == 2 && c == '<')) {
        length = i + 1;
        bool ignored = false;
        std::optional<KeyEvent> e;
        if (second == 'O') {
          e = LetterKey(static_cast<char>(c));
          if (e && pending_.size() > 3 && i > 2)
            ApplyModifier(*e, Params(std::string_view(pending_).substr(2, i - 2))[0]);
        } else {
          e = DecodeCsi(std::string_view(pending_).substr(2, i - 2), static_cast<char>(c), ignored);
        }
        return e;
      }
      if (c < 0x20 || i > 64) {  // not a sequence after all
        length = 1;
        return KeyEvent::Of(Key::Escape);
      }
    }
    if (idle) {
      length = pending_.size();  // a broken sequence: dropped
      return std::nullopt;
    }
    return std::nullopt;
  }
  // Alt with a key: Escape followed by it.
  KeyDecoder inner;
  inner.Feed(std::string_view(pending_).substr(1));
  const size_t before = pending_.size() - 1;
  std::optional<KeyEvent> e = inner.Next(idle);
  if (!e) {
    if (idle) {
      length = 1;
      return KeyEvent::Of(Key::Escape);
    }
    return std::nullopt;
  }
  length = 1 + before - inner.pending_.size();
  if (e->key == Key::Escape) return e;
  e->alt = true;
  return e;
}

std::optional<KeyEvent> KeyDecoder::Next(bool idle) {
  while (!pending_.empty()) {
    const unsigned char c = static_cast<unsigned char>(pending_[0]);
    size_t length = 1;
    std::optional<KeyEvent> e;
    if (c == 0x1B) {
      e = DecodeEscape(length, idle);
      if (length == 0) return std::nullopt;
    } else if (c == '\r' || c == '\n') {
      e = KeyEvent::Of(Key::Enter);
    } else if (c == '\t') {
      e = KeyEvent::Of(Key::Tab);
    } else if (c == 0x7F || c == 0x08) {
      e = KeyEvent::Of(Key::Backspace);
    } else if (c < 0x20) {
      e = KeyEvent::Character(static_cast<char32_t>('a' + c - 1), true);
      if (c == 0) e = std::nullopt;
    } else {
      // A UTF-8 character; wait for the rest of an incomplete one.
      const size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
      if (pending_.size() < need && !idle) return std::nullopt;
      size_t pos = 0;
      const char32_t ch = DecodeUtf8(pending_, pos);
      length = pos;
      e = KeyEvent::Character(ch);
    }
    pending_.erase(0, length);
    if (e) return e;
  }
  return std::nullopt;
}

}  // namespace tezlo
