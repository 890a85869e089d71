#include "extension/office_session.h"

#include <atomic>
#include <sstream>

#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>

#include "app/all_tools.h"
#include "cli/batch_ui.h"
#include "extension/screen_ui.h"
#include "extension/undo_step.h"
#include "host/host_error.h"
#include "text/ascii.h"

namespace tezlo::extension {

namespace uno = css::uno;

namespace {

CalcSettings InOffice() {
  CalcSettings settings;
  settings.hidden = false;  // workbooks a tool adds are the user's to see
  settings.completeUndo = true;
  return settings;
}

uno::Reference<css::frame::XModel> ModelOf(const uno::Reference<css::frame::XFrame>& frame) {
  if (!frame.is()) return {};
  const uno::Reference<css::frame::XController> controller = frame->getController();
  return controller.is() ? controller->getModel() : uno::Reference<css::frame::XModel>();
}

}  // namespace

OfficeSession& OfficeSession::Of(const uno::Reference<uno::XComponentContext>& context) {
  // Never destroyed: its references into the office must not be released after the office
  // has taken its service manager down at exit.
  static OfficeSession* const session = new OfficeSession(context);
  return *session;
}

OfficeSession::OfficeSession(const uno::Reference<uno::XComponentContext>& context)
    : context_(context),
      host_(OfficeConnection::InProcess(context), InOffice()),
      ctx_(host_, ui_, system_),
      box_(context, {[this](const std::string& text) { OnEnter(text); }, [this] { OnTick(); }}),
      controller_(ctx_, box_) {
  ctx_.tools = AllTools();
}

void OfficeSession::ShowCommandBox(const uno::Reference<css::frame::XFrame>& frame) {
  if (!frame.is()) return;
  boxFrame_ = frame;
  box_.Show(frame->getContainerWindow());
}

namespace {

// Marks the session busy for one command; `Taken` is false when another command runs (on this
// thread, from a dialog's event loop, or on another one).
class OneAtATime {
 public:
  explicit OneAtATime(std::atomic<bool>& running) : running_(running) {
    bool idle = false;
    taken_ = running_.compare_exchange_strong(idle, true);
  }
  ~OneAtATime() {
    if (taken_) running_ = false;
  }
  OneAtATime(const OneAtATime&) = delete;
  OneAtATime& operator=(const OneAtATime&) = delete;
  bool Taken() const { return taken_; }

 private:
  std::atomic<bool>& running_;
  bool taken_ = false;
};

// The dialogs of one command go to `ui`, and to nobody once it has ended.
class DialogsTo {
 public:
  DialogsTo(ForwardingUi& forward, Ui& ui) : forward_(forward) { forward_.Use(&ui); }
  ~DialogsTo() { forward_.Use(nullptr); }
  DialogsTo(const DialogsTo&) = delete;
  DialogsTo& operator=(const DialogsTo&) = delete;

 private:
  ForwardingUi& forward_;
};

}  // namespace

void OfficeSession::OnEnter(const std::string& text) {
  const OneAtATime turn(running_);
  if (!turn.Taken()) return;
  const uno::Reference<css::frame::XFrame> frame = boxFrame_;
  const uno::Reference<css::awt::XWindowPeer> parent(frame.is()
                                                         ? frame->getContainerWindow()
                                                         : uno::Reference<css::awt::XWindow>(),
                                                     uno::UNO_QUERY);
  const std::unique_ptr<Ui> screen = MakeScreenUi(context_, parent);
  const DialogsTo dialogs(ui_, *screen);
  Enter(text, ModelOf(frame));
}

void OfficeSession::OnTick() {
  const OneAtATime turn(running_);
  if (turn.Taken()) controller_.OnTimer();
}

ScriptedOutcome OfficeSession::RunScripted(const std::string& text,
                                           const uno::Reference<css::frame::XModel>& document,
                                           const std::vector<std::string>& answers) {
  ScriptedOutcome outcome;
  const OneAtATime turn(running_);
  if (!turn.Taken()) return outcome;
  std::ostringstream lines;
  BatchUi script(answers, lines);
  {
    const DialogsTo dialogs(ui_, script);
    outcome.ran = Enter(text, document);
  }
  outcome.dialogs = lines.str();
  outcome.internalError = ctx_.internalError;
  outcome.unusedAnswers = script.UnusedAnswers();
  return outcome;
}

bool OfficeSession::Enter(const std::string& text,
                          const uno::Reference<css::frame::XModel>& document) {
  const uno::Reference<css::sheet::XSpreadsheetDocument> spreadsheet(document, uno::UNO_QUERY);
  if (!spreadsheet.is()) return false;
  try {
    host_.FollowDocument(spreadsheet);
  } catch (const HostError&) {
    return false;  // closed meanwhile
  }
  const UndoStep step(spreadsheet, "Tezlo " + std::string(TrimSpaces(text)));
  controller_.OnEnter(text);
  return true;
}

}  // namespace tezlo::extension
