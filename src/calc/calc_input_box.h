// An input box for LibreOffice, which has no ready one: a dialog model holding a prompt, a text
// field and the OK and Cancel buttons, laid out for the prompt's length.
#pragma once

#include <string>

#include <com/sun/star/awt/XControlModel.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace tezlo {

// The names of the controls inside the model.
inline constexpr const char* kInputPromptName = "Prompt";
inline constexpr const char* kInputFieldName = "Value";
inline constexpr const char* kInputOkName = "Ok";
inline constexpr const char* kInputCancelName = "Cancel";

// The model of an input box titled `title` that asks `prompt` and holds `value`: the text field
// first in the tab order, OK the default button, Cancel the cancel button.
css::uno::Reference<css::awt::XControlModel> InputBoxModel(
    const css::uno::Reference<css::uno::XComponentContext>& context, const std::string& title,
    const std::string& prompt, const std::string& value);

}  // namespace tezlo
