// The dialogs of the tools inside LibreOffice Calc: the office's own message boxes and a small
// input box built from its dialog controls, both modal over the window they are given.
#pragma once

#include <optional>
#include <string>

#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "host/ui.h"

namespace tezlo {

class CalcUi final : public Ui {
 public:
  // The title a message box shows when the tool gives none: the tools' project name, as in Excel.
  static constexpr const char* kDefaultTitle = "Text";
  // The title of an input box that the tool gives none, as Excel's own input box shows it.
  static constexpr const char* kDefaultInputTitle = "Input";

  // `parent` is the window the dialogs belong to (a document frame's container window); empty:
  // no parent.
  CalcUi(css::uno::Reference<css::uno::XComponentContext> context,
         css::uno::Reference<css::awt::XWindowPeer> parent);

  // The toolkit's message box of the icon's type, its title and text as given; waits for the
  // user. An OK-only box answers Ok however it is closed. The office has no information box with
  // a Cancel button: OK/Cancel with the information icon is a box without icon. HostError when
  // the office refuses.
  Answer MessageBox(const MessageBoxRequest& request) override;
  // A prompt, a text field holding the default value selected, OK (pressed by Enter) and Cancel;
  // the text on OK, nothing on Cancel or Escape. HostError when the office refuses.
  std::optional<std::string> InputBox(const InputBoxRequest& request) override;

 private:
  css::uno::Reference<css::uno::XComponentContext> context_;
  css::uno::Reference<css::awt::XWindowPeer> parent_;
};

}  // namespace tezlo
