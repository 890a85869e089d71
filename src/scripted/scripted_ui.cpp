#include "scripted/scripted_ui.h"

namespace tezlo {

Answer ScriptedUi::MessageBox(const MessageBoxRequest& request) {
  dialogs_.emplace_back(request);
  if (request.buttons == Buttons::Ok) return Answer::Ok;
  if (answers_.empty()) {
    return request.defaultButton == DefaultButton::First ? Answer::Ok : Answer::Cancel;
  }
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::string> ScriptedUi::InputBox(const InputBoxRequest& request) {
  dialogs_.emplace_back(request);
  if (inputs_.empty()) return std::nullopt;
  std::optional<std::string> input = std::move(inputs_.front());
  inputs_.pop_front();
  return input;
}

std::vector<std::string> ScriptedUi::DialogLines() const {
  std::vector<std::string> lines;
  for (const Dialog& d : dialogs_) {
    if (const auto* box = std::get_if<MessageBoxRequest>(&d)) {
      lines.push_back("box " + box->title + ": " + box->text);
    } else {
      const auto& input = std::get<InputBoxRequest>(d);
      lines.push_back("input " + input.title + ": " + input.prompt + " [" + input.defaultValue +
                      "]");
    }
  }
  return lines;
}

std::vector<MessageBoxRequest> ScriptedUi::MessageBoxes() const {
  std::vector<MessageBoxRequest> boxes;
  for (const Dialog& d : dialogs_) {
    if (const auto* box = std::get_if<MessageBoxRequest>(&d)) boxes.push_back(*box);
  }
  return boxes;
}

std::vector<InputBoxRequest> ScriptedUi::InputBoxes() const {
  std::vector<InputBoxRequest> boxes;
  for (const Dialog& d : dialogs_) {
    if (const auto* box = std::get_if<InputBoxRequest>(&d)) boxes.push_back(*box);
  }
  return boxes;
}

}  // namespace tezlo
