// The dialogs of the tools shown as modal boxes in the terminal: each waits for its answer in a
// key loop of its own, drawn over the screen as it was.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "host/ui.h"
#include "tui/dialogs.h"
#include "tui/terminal.h"

namespace tezlo {

class TerminalUi final : public Ui {
 public:
  // `background` gives the screen the dialogs are drawn over.
  TerminalUi(Terminal& terminal, std::function<ScreenBuffer()> background)
      : terminal_(terminal), background_(std::move(background)) {}

  Answer MessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> InputBox(const InputBoxRequest& request) override;
  // Any message box: the index of the button chosen.
  size_t Ask(MessageDialog dialog);

 private:
  Terminal& terminal_;
  std::function<ScreenBuffer()> background_;
};

}  // namespace tezlo
