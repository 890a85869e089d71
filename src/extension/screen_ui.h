// The dialogs the user sees while a command from the command box runs.
#pragma once

#include <memory>

#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "host/ui.h"

namespace tezlo::extension {

// The office's own message boxes and input box, over `parent` (the document window).
std::unique_ptr<Ui> MakeScreenUi(const css::uno::Reference<css::uno::XComponentContext>& context,
                                 const css::uno::Reference<css::awt::XWindowPeer>& parent);

}  // namespace tezlo::extension
