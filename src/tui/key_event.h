// One input event from the terminal: a key with its modifiers, a mouse event or a resize.
#pragma once

#include <cstdint>

namespace tezlo {

enum class Key : uint8_t {
  None,
  Char,  // a printable character in `ch`
  Up,
  Down,
  Left,
  Right,
  PageUp,
  PageDown,
  Home,
  End,
  Enter,
  Tab,
  Escape,
  Backspace,
  Delete,
  F2,
  F8,
  MousePress,  // a left-button press at (x, y)
  MouseMove,   // the pointer moved to (x, y)
  Resize,
};

struct KeyEvent {
  Key key = Key::None;
  char32_t ch = 0;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  // Mouse events: the screen cell; and in pixels when the terminal reports them (else -1).
  int x = 0;
  int y = 0;
  int pixelX = -1;
  int pixelY = -1;

  static KeyEvent Of(Key k, bool shift = false, bool ctrl = false) {
    KeyEvent e;
    e.key = k;
    e.shift = shift;
    e.ctrl = ctrl;
    return e;
  }
  static KeyEvent Character(char32_t c, bool ctrl = false, bool alt = false) {
    KeyEvent e;
    e.key = Key::Char;
    e.ch = c;
    e.ctrl = ctrl;
    e.alt = alt;
    return e;
  }
};

}  // namespace tezlo
