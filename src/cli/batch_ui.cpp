#include "cli/batch_ui.h"

#include <algorithm>
#include <utility>

namespace tezlo {
namespace {

constexpr const char* kUnanswered = " (unanswered)";

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  return s;
}

}  // namespace

std::string EscapeField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

BatchUi::BatchUi(std::vector<std::string> answers, std::ostream& out)
    : answers_(answers.begin(), answers.end()), out_(out) {}

std::optional<std::string> BatchUi::NextAnswer() {
  if (answers_.empty()) return std::nullopt;
  std::string a = std::move(answers_.front());
  answers_.pop_front();
  return a;
}

void BatchUi::WriteLine(const std::string& title, const std::string& text, const char* buttons,
                        const std::string& answer) {
  out_ << "dialog\t" << EscapeField(title.empty() ? kDefaultDialogTitle : title) << '\t'
       << EscapeField(text) << '\t' << buttons << '\t' << EscapeField(answer) << '\n';
  out_.flush();
}

Answer BatchUi::MessageBox(const MessageBoxRequest& request) {
  const bool okCancel = request.buttons == Buttons::OkCancel;
  const char* buttons = okCancel ? "okcancel" : "ok";
  const std::optional<std::string> given = NextAnswer();
  Answer answer = okCancel ? Answer::Cancel : Answer::Ok;  // what Escape gives
  std::string shown;
  if (!given) {
    shown = std::string(okCancel ? "cancel" : "ok") + kUnanswered;
  } else if (const std::string word = Lower(*given); word == "ok") {
    answer = Answer::Ok;
    shown = "ok";
  } else if (word == "cancel") {
    shown = okCancel ? "cancel" : "ok";
  } else {
    if (!misfit_) misfit_ = *given;
    shown = okCancel ? "cancel" : "ok";
  }
  WriteLine(request.title, request.text, buttons, shown);
  return answer;
}

std::optional<std::string> BatchUi::InputBox(const InputBoxRequest& request) {
  const std::optional<std::string> given = NextAnswer();
  std::optional<std::string> result;
  std::string shown;
  if (!given) {
    shown = std::string("cancel") + kUnanswered;
  } else if (const std::string word = Lower(*given); word == "cancel") {
    shown = "cancel";
  } else if (word == "ok") {
    result = request.defaultValue;
    shown = request.defaultValue;
  } else {
    result = *given;
    shown = *given;
  }
  WriteLine(request.title, request.prompt, "input", shown);
  return result;
}

}  // namespace tezlo
