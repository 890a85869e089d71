// The dialogs of a batch run: each takes the next --answer in order and is written to the output
// as one line, "dialog TITLE TEXT BUTTONS ANSWER", separated by tabs.
#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "host/ui.h"

namespace tezlo {

// The title a dialog shows when the tool gives none.
inline constexpr const char* kDefaultDialogTitle = "Tezlo";

class BatchUi final : public Ui {
 public:
  BatchUi(std::vector<std::string> answers, std::ostream& out);

  // ok and cancel (letter case aside) press those buttons. With no answer left the box is
  // answered as Escape answers it (Cancel where there is one, else OK) and marked (unanswered).
  // Any other word cannot answer a message box: it is taken as Cancel (OK on an OK-only box)
  // and remembered in Misfit().
  Answer MessageBox(const MessageBoxRequest& request) override;
  // cancel cancels; ok takes the preselected default; any other word is the text typed. With no
  // answer left the box is cancelled and marked (unanswered).
  std::optional<std::string> InputBox(const InputBoxRequest& request) override;

  // The first answer that did not fit the dialog it was given to.
  const std::optional<std::string>& Misfit() const { return misfit_; }
  size_t UnusedAnswers() const { return answers_.size(); }

 private:
  std::optional<std::string> NextAnswer();
  void WriteLine(const std::string& title, const std::string& text, const char* buttons,
                 const std::string& answer);

  std::deque<std::string> answers_;
  std::ostream& out_;
  std::optional<std::string> misfit_;
};

// A field of an output line: backslash, tab and line breaks (CR LF, LF or CR) written as \\, \t
// and \n, so that every event stays on one line and the fields can be split at tabs.
std::string EscapeField(std::string_view text);

}  // namespace tezlo
