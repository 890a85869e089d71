// The terminal's modal dialogs and the command box, each a small state machine fed with key
// events and drawn centred over whatever the screen shows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/ui.h"
#include "tui/key_event.h"
#include "tui/line_editor.h"
#include "tui/screen_buffer.h"

namespace tezlo {

// The title a dialog gets when its request leaves it empty.
inline constexpr const char* kDefaultDialogTitle = "Tezlo";

// Where a drawn dialog wants the terminal cursor; -1 when hidden.
struct Caret {
  int x = -1;
  int y = -1;
};

// A message box: title, icon, text and a row of buttons. Enter presses the focused button (the
// default one at first), Left/Right/Tab move the focus, Escape presses the cancel button.
class MessageDialog {
 public:
  MessageDialog(std::string title, std::string text, Icon icon, std::vector<std::string> buttons,
                size_t defaultButton, size_t cancelButton);
  // The box a tool asks for: OK, or OK and Cancel.
  static MessageDialog For(const MessageBoxRequest& request);

  // The index of the button pressed, once one is.
  std::optional<size_t> Handle(const KeyEvent& event);
  size_t Focus() const { return focus_; }
  void Render(ScreenBuffer& out) const;

 private:
  std::string title_;
  std::string text_;
  Icon icon_;
  std::vector<std::string> buttons_;
  size_t focus_;
  size_t cancel_;
};

// An input box: prompt, a text field holding the default preselected, OK and Cancel. Enter
// answers the text, Escape cancels.
class InputDialog {
 public:
  enum class Outcome { Open, Ok, Cancel };
  explicit InputDialog(const InputBoxRequest& request);

  Outcome Handle(const KeyEvent& event);
  const std::string& Text() const { return field_.Text(); }
  Caret Render(ScreenBuffer& out) const;

 private:
  std::string title_;
  std::string prompt_;
  LineEditor field_;
};

// The command box: one line, a few characters wide, centred, no title.
Caret RenderCommandBox(ScreenBuffer& out, const LineEditor& field);

// Splits text at its line breaks and wherever a line would pass `width` cells, never inside a
// wide character.
std::vector<std::string> WrapText(const std::string& text, int width);

}  // namespace tezlo
