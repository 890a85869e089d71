// Dialogs the tools show: message boxes and the spreadsheet's input box.
#pragma once

#include <optional>
#include <string>

namespace tezlo {

// MsgBox button sets used by the tools (vbOKOnly, vbOKCancel).
enum class Buttons { Ok, OkCancel };
// MsgBox icons (none, vbInformation, vbExclamation, vbCritical, vbQuestion).
enum class Icon { None, Information, Warning, Critical, Question };
// What the user chose; OK-only boxes always answer Ok.
enum class Answer { Ok, Cancel };
// Which button Enter presses (vbDefaultButton1, vbDefaultButton2).
enum class DefaultButton { First, Second };

struct MessageBoxRequest {
  std::string text;
  std::string title;  // empty: the host's default title
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  DefaultButton defaultButton = DefaultButton::First;
  bool operator==(const MessageBoxRequest&) const = default;
};

struct InputBoxRequest {
  std::string prompt;
  std::string title;         // empty: the host's default title
  std::string defaultValue;  // shown preselected; empty for none
  bool operator==(const InputBoxRequest&) const = default;
};

class Ui {
 public:
  Ui() = default;
  Ui(const Ui&) = delete;
  Ui& operator=(const Ui&) = delete;
  virtual ~Ui() = default;

  // MsgBox: waits for the user's choice.
  virtual Answer MessageBox(const MessageBoxRequest& request) = 0;
  // Application.InputBox: the answer as text, or nothing when the user cancels.
  virtual std::optional<std::string> InputBox(const InputBoxRequest& request) = 0;
};

}  // namespace tezlo
