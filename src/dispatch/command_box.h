// What the command box does, apart from drawing it: every front end's box window forwards its
// Enter key and its timer ticks here, and does what the controller asks of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dispatch/context.h"

namespace tezlo {

// The window side of the command box, implemented by each front end.
class CommandBoxWindow {
 public:
  CommandBoxWindow() = default;
  CommandBoxWindow(const CommandBoxWindow&) = delete;
  CommandBoxWindow& operator=(const CommandBoxWindow&) = delete;
  virtual ~CommandBoxWindow() = default;

  // Replaces the text in the box.
  virtual void SetText(const std::string& text) = 0;
  // Starts (or keeps running) a timer that calls CommandBox::OnTimer every `intervalMs`.
  virtual void StartTimer(int32_t intervalMs) = 0;
  // Stops the timer; nothing happens when it is not running.
  virtual void StopTimer() = 0;
  // Closes the box; the next one opens empty.
  virtual void Close() = 0;
};

class CommandBox {
 public:
  // The code that turns the box into a live readout of the pointer position.
  static constexpr std::string_view kPointerReadoutCode = "*10";
  static constexpr int32_t kReadoutIntervalMs = 500;

  CommandBox(Context& ctx, CommandBoxWindow& window) : ctx_(ctx), window_(window) {}

  // Enter in the box. The text, trimmed of leading and trailing spaces (U+0020 only), becomes
  // funcCode. "*10" starts the readout and leaves the box open; anything else stops the timer,
  // closes the box and dispatches.
  void OnEnter(std::string_view text);

  // One readout tick: keeps the timer running every 500 ms, writes the pointer position into the
  // box as "x.y" and sets flowFlag to SkipNextOnce, so that the next dispatch runs nothing. When
  // the pointer cannot be read the tick ends without changing the box or flowFlag.
  void OnTimer();

 private:
  Context& ctx_;
  CommandBoxWindow& window_;
};

}  // namespace tezlo
