// The screen and keyboard the workbench runs on: the curses terminal, or a scripted one in
// tests.
#pragma once

#include <optional>

#include "tui/dialogs.h"
#include "tui/key_event.h"
#include "tui/screen_buffer.h"

namespace tezlo {

class Terminal {
 public:
  Terminal() = default;
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;
  virtual ~Terminal() = default;

  virtual int Width() = 0;
  virtual int Height() = 0;
  // Shows the buffer, with the cursor at `caret` (hidden when caret.x < 0).
  virtual void Present(const ScreenBuffer& screen, Caret caret) = 0;
  // The next input event, waiting at most `timeoutMs` (forever when negative); nothing when the
  // time ran out.
  virtual std::optional<KeyEvent> NextEvent(int timeoutMs) = 0;
  // Reports every pointer movement (for the pointer readout), in pixels where the terminal can.
  virtual void TrackPointer(bool on) = 0;
  // The input has ended (the terminal went away): no more events will come.
  virtual bool InputClosed() = 0;
};

}  // namespace tezlo
