// Turns the bytes a terminal sends into key and mouse events: xterm's encoding of cursor and
// function keys with their modifiers (CSI and SS3 sequences), Alt as a leading Escape, control
// characters, UTF-8 text and SGR mouse reports (in cells, or in pixels under mode 1016).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "tui/key_event.h"

namespace tezlo {

class KeyDecoder {
 public:
  // Adds bytes read from the terminal.
  void Feed(std::string_view bytes) { pending_.append(bytes); }
  // The next complete event. A lone Escape (or an unfinished sequence) stays pending until
  // `idle` says no more bytes came in time; then it counts as the Escape key.
  std::optional<KeyEvent> Next(bool idle = false);
  bool Pending() const { return !pending_.empty(); }

  // The terminal answered that it knows SGR-pixel mouse mode (1016).
  bool PixelModeKnown() const { return pixelModeKnown_; }
  // Mouse reports come in pixels (after the caller switched mode 1016 on).
  void SetPixelReports(bool on) { pixelReports_ = on; }

 private:
  // Decodes the sequence at the front: the event (or none for an ignored one) and its length;
  // length 0 when the sequence is not complete yet.
  std::optional<KeyEvent> DecodeEscape(size_t& length, bool idle);
  std::optional<KeyEvent> DecodeCsi(std::string_view body, char final, bool& ignored);

  std::string pending_;
  bool pixelModeKnown_ = false;
  bool pixelReports_ = false;
};

}  // namespace tezlo
