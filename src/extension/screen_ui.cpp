#include "extension/screen_ui.h"

#include "calc/calc_ui.h"

namespace tezlo::extension {

std::unique_ptr<Ui> MakeScreenUi(const css::uno::Reference<css::uno::XComponentContext>& context,
                                 const css::uno::Reference<css::awt::XWindowPeer>& parent) {
  return std::make_unique<CalcUi>(context, parent);
}

}  // namespace tezlo::extension
