// The real terminal, through ncursesw for drawing. Input is read from the terminal directly and
// decoded by KeyDecoder (xterm key and mouse sequences), so that every modified key and the
// pixel mouse reports come through the same way on every xterm-like terminal.
#pragma once

#include <map>
#include <optional>
#include <utility>

#include "tui/key_decoder.h"
#include "tui/terminal.h"

namespace tezlo {

class CursesTerminal final : public Terminal {
 public:
  // Takes over the terminal (alternate screen, raw keys, mouse clicks reported).
  CursesTerminal();
  // Gives it back as it was.
  ~CursesTerminal() override;

  int Width() override;
  int Height() override;
  void Present(const ScreenBuffer& screen, Caret caret) override;
  std::optional<KeyEvent> NextEvent(int timeoutMs) override;
  void TrackPointer(bool on) override;
  bool InputClosed() override { return closed_; }

 private:
  short PairFor(int fg, int bg);
  void Send(const char* sequence);
  void ApplyResize();

  KeyDecoder decoder_;
  bool closed_ = false;
  bool tracking_ = false;
  bool colors256_ = false;
  std::map<std::pair<int, int>, short> pairs_;
};

}  // namespace tezlo
