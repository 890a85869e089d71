#include "calc/calc_ui.h"

#include <utility>

#include <com/sun/star/awt/MessageBoxButtons.hpp>
#include <com/sun/star/awt/MessageBoxResults.hpp>
#include <com/sun/star/awt/MessageBoxType.hpp>
#include <com/sun/star/awt/Selection.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XControl.hpp>
#include <com/sun/star/awt/XControlContainer.hpp>
#include <com/sun/star/awt/XDialog.hpp>
#include <com/sun/star/awt/XMessageBox.hpp>
#include <com/sun/star/awt/XMessageBoxFactory.hpp>
#include <com/sun/star/awt/XTextComponent.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/ui/dialogs/ExecutableDialogResults.hpp>

#include "calc/calc_input_box.h"
#include "calc/uno_errors.h"
#include "calc/uno_text.h"

namespace tezlo {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

// The office's information box has an OK button only, whatever buttons it is asked for; a
// question with the information icon is shown as a plain box, without the icon but with its
// Cancel button.
css::awt::MessageBoxType BoxType(const MessageBoxRequest& request) {
  switch (request.icon) {
    case Icon::None: break;
    case Icon::Information:
      if (request.buttons == Buttons::OkCancel) break;
      return css::awt::MessageBoxType_INFOBOX;
    case Icon::Warning: return css::awt::MessageBoxType_WARNINGBOX;
    case Icon::Critical: return css::awt::MessageBoxType_ERRORBOX;
    case Icon::Question: return css::awt::MessageBoxType_QUERYBOX;
  }
  return css::awt::MessageBoxType_MESSAGEBOX;
}

sal_Int32 BoxButtons(const MessageBoxRequest& request) {
  if (request.buttons == Buttons::Ok) {
    return css::awt::MessageBoxButtons::BUTTONS_OK | css::awt::MessageBoxButtons::DEFAULT_BUTTON_OK;
  }
  return css::awt::MessageBoxButtons::BUTTONS_OK_CANCEL |
         (request.defaultButton == DefaultButton::Second
              ? css::awt::MessageBoxButtons::DEFAULT_BUTTON_CANCEL
              : css::awt::MessageBoxButtons::DEFAULT_BUTTON_OK);
}

// Disposes a dialog's window when the call that showed it ends, however it ends.
class DisposeAtEnd {
 public:
  explicit DisposeAtEnd(Reference<css::lang::XComponent> component)
      : component_(std::move(component)) {}
  DisposeAtEnd(const DisposeAtEnd&) = delete;
  DisposeAtEnd& operator=(const DisposeAtEnd&) = delete;
  ~DisposeAtEnd() {
    try {
      if (component_.is()) component_->dispose();
    } catch (const css::uno::Exception&) {
      // The office may be gone already; the window went with it.
    }
  }

 private:
  Reference<css::lang::XComponent> component_;
};

}  // namespace

CalcUi::CalcUi(Reference<css::uno::XComponentContext> context,
               Reference<css::awt::XWindowPeer> parent)
    : context_(std::move(context)), parent_(std::move(parent)) {}

Answer CalcUi::MessageBox(const MessageBoxRequest& request) {
  try {
    Reference<css::awt::XMessageBoxFactory> factory(css::awt::Toolkit::create(context_),
                                                    UNO_QUERY_THROW);
    const std::string& title = request.title.empty() ? kDefaultTitle : request.title;
    Reference<css::awt::XMessageBox> box =
        factory->createMessageBox(parent_, BoxType(request), BoxButtons(request), ToOUString(title),
                                  ToOUString(request.text));
    DisposeAtEnd end(Reference<css::lang::XComponent>(box, css::uno::UNO_QUERY));
    const sal_Int16 result = box->execute();
    if (request.buttons == Buttons::Ok) return Answer::Ok;
    return result == css::awt::MessageBoxResults::OK ? Answer::Ok : Answer::Cancel;
  } catch (const css::uno::Exception& e) {
    ThrowHostError(e);
  }
}

std::optional<std::string> CalcUi::InputBox(const InputBoxRequest& request) {
  try {
    const std::string& title = request.title.empty() ? kDefaultInputTitle : request.title;
    Reference<css::awt::XControl> dialog(context_->getServiceManager()->createInstanceWithContext(
                                             "com.sun.star.awt.UnoControlDialog", context_),
                                         UNO_QUERY_THROW);
    DisposeAtEnd end(Reference<css::lang::XComponent>(dialog, css::uno::UNO_QUERY));
    dialog->setModel(InputBoxModel(context_, title, request.prompt, request.defaultValue));
    dialog->createPeer(Reference<css::awt::XToolkit>(css::awt::Toolkit::create(context_),
                                                     UNO_QUERY_THROW),
                       parent_);
    Reference<css::awt::XTextComponent> field(
        Reference<css::awt::XControlContainer>(dialog, UNO_QUERY_THROW)
            ->getControl(OUString::createFromAscii(kInputFieldName)),
        UNO_QUERY_THROW);
    field->setSelection(css::awt::Selection(0, field->getText().getLength()));
    const sal_Int16 result = Reference<css::awt::XDialog>(dialog, UNO_QUERY_THROW)->execute();
    if (result != css::ui::dialogs::ExecutableDialogResults::OK) return std::nullopt;
    return ToUtf8(field->getText());
  } catch (const css::uno::Exception& e) {
    ThrowHostError(e);
  }
}

}  // namespace tezlo
