#include "extension/screen_ui.h"

#include <iostream>

#include "cli/batch_ui.h"

namespace tezlo::extension {

// TEMPORARY until the office dialogs land: every dialog answered as Escape would.
std::unique_ptr<Ui> MakeScreenUi(const css::uno::Reference<css::uno::XComponentContext>&,
                                 const css::uno::Reference<css::awt::XWindowPeer>&) {
  return std::make_unique<BatchUi>(std::vector<std::string>{}, std::clog);
}

}  // namespace tezlo::extension
