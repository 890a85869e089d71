// Shared pieces of the workbench tests: a terminal that replays scripted events and keeps what
// it was shown, and a comparable picture of a whole workbook.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "memory/memory_host.h"
#include "tui/terminal.h"

namespace tezlo::testing {

class ScriptedTerminal final : public Terminal {
 public:
  ScriptedTerminal(int width, int height) : width_(width), height_(height) {}

  void Queue(const KeyEvent& e) { events_.push_back(e); }
  void Type(const std::string& text);

  int Width() override { return width_; }
  int Height() override { return height_; }
  void Present(const ScreenBuffer& screen, Caret caret) override {
    shown_ = screen;
    caret_ = caret;
    history_ += ShownText();
    ++presents_;
  }
  std::optional<KeyEvent> NextEvent(int) override {
    if (events_.empty()) {
      closed_ = true;
      return std::nullopt;
    }
    KeyEvent e = events_.front();
    events_.pop_front();
    return e;
  }
  void TrackPointer(bool on) override { tracking_ = on; }
  bool InputClosed() override { return closed_ && events_.empty(); }

  const ScreenBuffer& Shown() const { return shown_; }
  // The text of every line shown last, joined by line breaks.
  std::string ShownText() const;
  // Whether any screen shown so far held `text`.
  bool EverShown(const std::string& text) const { return history_.find(text) != std::string::npos; }
  bool Tracking() const { return tracking_; }
  int Presents() const { return presents_; }
  size_t Left() const { return events_.size(); }
  void Reopen() { closed_ = false; }

 private:
  int width_;
  int height_;
  std::deque<KeyEvent> events_;
  ScreenBuffer shown_;
  Caret caret_;
  bool tracking_ = false;
  bool closed_ = false;
  int presents_ = 0;
  std::string history_;
};

// Every stored cell of every sheet (value, formula, comment, colour, format), the sheets' names
// and frames (sizes, column formats, view), in order: equal pictures mean equal workbooks.
std::string Picture(MemoryHost& host);

}  // namespace tezlo::testing
