// The tools inside the office, once per office process: the Calc host over the user's documents,
// the dialogs, the shared variables that live from one command to the next, and the command box.
// Commands come from the box (Enter) and from the automation entry; each runs as one undo step
// on the document it was given, one at a time.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "calc/calc_host.h"
#include "dispatch/command_box.h"
#include "dispatch/context.h"
#include "extension/command_box_dialog.h"
#include "extension/forwarding_ui.h"
#include "extension/office_system.h"

namespace tezlo::extension {

// What a command given by the automation entry did.
struct ScriptedOutcome {
  std::string dialogs;  // one line per dialog, as `tezlo run` prints them
  std::optional<std::string> internalError;
  size_t unusedAnswers = 0;
  bool ran = false;  // false: another command was running, nothing was done
};

class OfficeSession {
 public:
  // The one session of this office, made on first use.
  static OfficeSession& Of(const css::uno::Reference<css::uno::XComponentContext>& context);

  // Opens the command box over `frame`'s window; its commands act on that frame's document.
  void ShowCommandBox(const css::uno::Reference<css::frame::XFrame>& frame);
  // The text as typed into the box and Enter, on `document`, with the dialogs answered from
  // `answers` as the batch runner answers them.
  ScriptedOutcome RunScripted(const std::string& text,
                              const css::uno::Reference<css::frame::XModel>& document,
                              const std::vector<std::string>& answers);
  const CommandBoxDialog& Box() const { return box_; }

 private:
  explicit OfficeSession(const css::uno::Reference<css::uno::XComponentContext>& context);
  // Enter in the box: the controller runs the text against the box's document.
  void OnEnter(const std::string& text);
  void OnTick();
  // Runs Enter on `document` as one undo step, the session's turn taken; false when the
  // document is not a spreadsheet (or no longer open).
  bool Enter(const std::string& text, const css::uno::Reference<css::frame::XModel>& document);

  css::uno::Reference<css::uno::XComponentContext> context_;
  CalcHost host_;
  ForwardingUi ui_;
  OfficeSystem system_;
  Context ctx_;
  CommandBoxDialog box_;
  CommandBox controller_;
  css::uno::Reference<css::frame::XFrame> boxFrame_;
  // One command at a time: a second one arriving while a dialog of the first waits (from the
  // box, or from another thread through the automation entry) is not run.
  std::atomic<bool> running_ = false;
};

}  // namespace tezlo::extension
