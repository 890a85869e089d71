#include "extension/office_session.h"

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

void OfficeSession::OnEnter(const std::string& text) {
  const uno::Reference<css::frame::XFrame> frame = boxFrame_;
  const uno::Reference<css::awt::XWindowPeer> parent(frame.is()
                                                         ? frame->getContainerWindow()
                                                         : uno::Reference<css::awt::XWindow>(),
                                                     uno::UNO_QUERY);
  const std::unique_ptr<Ui> screen = MakeScreenUi(context_, parent);
  ui_.Use(screen.get());
  Enter(text, ModelOf(frame));
  ui_.Use(nullptr);
}

void OfficeSession::OnTick() {
  std::unique_lock<std::mutex> lock(running_, std::try_to_lock);
  if (lock.owns_lock()) controller_.OnTimer();
}

ScriptedOutcome OfficeSession::RunScripted(const std::string& text,
                                           const uno::Reference<css::frame::XModel>& document,
                                           const std::vector<std::string>& answers) {
  std::ostringstream lines;
  BatchUi script(answers, lines);
  ui_.Use(&script);
  ScriptedOutcome outcome;
  outcome.ran = Enter(text, document);
  ui_.Use(nullptr);
  outcome.dialogs = lines.str();
  outcome.internalError = ctx_.internalError;
  outcome.unusedAnswers = script.UnusedAnswers();
  return outcome;
}

bool OfficeSession::Enter(const std::string& text,
                          const uno::Reference<css::frame::XModel>& document) {
  std::unique_lock<std::mutex> lock(running_, std::try_to_lock);
  if (!lock.owns_lock()) return false;
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
