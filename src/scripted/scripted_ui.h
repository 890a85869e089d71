// A Ui that answers from a script and records every dialog, for tests and the batch runner.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "host/ui.h"

namespace tezlo {

class ScriptedUi : public Ui {
 public:
  // A dialog as it was shown, in the order shown.
  using Dialog = std::variant<MessageBoxRequest, InputBoxRequest>;

  // Answers for message boxes that offer a choice (OK/Cancel), used in the order queued. An
  // OK-only box answers Ok without using one. With none left, a box answers its default button.
  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  // Answers for input boxes, in the order queued: a text, or nothing for Cancel. With none left,
  // an input box is cancelled.
  void QueueInput(std::optional<std::string> input) { inputs_.push_back(std::move(input)); }

  Answer MessageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> InputBox(const InputBoxRequest& request) override;

  const std::vector<Dialog>& Dialogs() const { return dialogs_; }
  std::vector<MessageBoxRequest> MessageBoxes() const;
  // Each dialog shown as one line, for comparing two runs: "box TITLE: TEXT" or
  // "input TITLE: PROMPT [DEFAULT]".
  std::vector<std::string> DialogLines() const;
  std::vector<InputBoxRequest> InputBoxes() const;
  // Queued answers not used yet.
  size_t UnusedAnswers() const { return answers_.size(); }
  size_t UnusedInputs() const { return inputs_.size(); }
  // Forgets the dialogs shown so far (the queues stay).
  void ClearDialogs() { dialogs_.clear(); }

 private:
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> inputs_;
  std::vector<Dialog> dialogs_;
};

}  // namespace tezlo
