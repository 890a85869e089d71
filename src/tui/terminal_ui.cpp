#include "tui/terminal_ui.h"

namespace tezlo {

size_t TerminalUi::Ask(MessageDialog dialog) {
  while (true) {
    ScreenBuffer screen = background_();
    dialog.Render(screen);
    terminal_.Present(screen, Caret{});
    const std::optional<KeyEvent> event = terminal_.NextEvent(-1);
    if (terminal_.InputClosed()) return dialog.Handle(KeyEvent::Of(Key::Escape)).value_or(0);
    if (!event) continue;
    if (const std::optional<size_t> chosen = dialog.Handle(*event)) return *chosen;
  }
}

Answer TerminalUi::MessageBox(const MessageBoxRequest& request) {
  const size_t chosen = Ask(MessageDialog::For(request));
  return request.buttons == Buttons::OkCancel && chosen == 1 ? Answer::Cancel : Answer::Ok;
}

std::optional<std::string> TerminalUi::InputBox(const InputBoxRequest& request) {
  InputDialog dialog(request);
  while (true) {
    ScreenBuffer screen = background_();
    const Caret caret = dialog.Render(screen);
    terminal_.Present(screen, caret);
    const std::optional<KeyEvent> event = terminal_.NextEvent(-1);
    if (terminal_.InputClosed()) return std::nullopt;
    if (!event) continue;
    switch (dialog.Handle(*event)) {
      case InputDialog::Outcome::Ok: return dialog.Text();
      case InputDialog::Outcome::Cancel: return std::nullopt;
      case InputDialog::Outcome::Open: break;
    }
  }
}

}  // namespace tezlo
