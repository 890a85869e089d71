#include "calc/calc_input_box.h"

#include <algorithm>

#include <com/sun/star/awt/PushButtonType.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>

#include "calc/uno_text.h"
#include "text/valid_utf8.h"

namespace tezlo {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

// The layout in dialog units (Map AppFont: a quarter of the average character width, an eighth
// of the line height). The prompt stands at the left, the buttons at the right, the text field
// across the bottom.
constexpr int kMargin = 6;
constexpr int kPromptWidth = 160;
constexpr int kPromptColumns = 38;  // characters of average width on one prompt line
constexpr int kLineHeight = 9;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kFieldHeight = 12;

void Set(const Reference<css::beans::XPropertySet>& props, const char* name, const Any& value) {
  props->setPropertyValue(OUString::createFromAscii(name), value);
}

Reference<css::beans::XPropertySet> AddControl(const Reference<css::uno::XInterface>& dialog,
                                               const char* service, const char* name, int x, int y,
                                               int width, int height) {
  Reference<css::lang::XMultiServiceFactory> factory(dialog, UNO_QUERY_THROW);
  Reference<css::beans::XPropertySet> control(factory->createInstance(
                                                  OUString::createFromAscii(service)),
                                              UNO_QUERY_THROW);
  Set(control, "Name", Any(OUString::createFromAscii(name)));
  Set(control, "PositionX", Any(static_cast<sal_Int32>(x)));
  Set(control, "PositionY", Any(static_cast<sal_Int32>(y)));
  Set(control, "Width", Any(static_cast<sal_Int32>(width)));
  Set(control, "Height", Any(static_cast<sal_Int32>(height)));
  Reference<css::container::XNameContainer>(dialog, UNO_QUERY_THROW)
      ->insertByName(OUString::createFromAscii(name), Any(control));
  return control;
}

// The number of lines the prompt takes in a label `width` characters wide: its own lines, each
// wrapped, a wide (East Asian) character counting twice.
int PromptLines(const std::string& prompt, int width) {
  int lines = 0;
  int used = 0;  // width taken on the current line
  auto endLine = [&] {
    lines += std::max(1, (used + width - 1) / width);
    used = 0;
  };
  for (size_t i = 0; i < prompt.size();) {
    const Utf8Step step = NextUtf8(prompt, i);
    i += step.length;
    if (step.codePoint == '\r') {
      if (i < prompt.size() && prompt[i] == '\n') ++i;
      endLine();
    } else if (step.codePoint == '\n') {
      endLine();
    } else {
      used += step.codePoint >= 0x1100 ? 2 : 1;
    }
  }
  endLine();
  return lines;
}

}  // namespace

Reference<css::awt::XControlModel> InputBoxModel(
    const Reference<css::uno::XComponentContext>& context, const std::string& title,
    const std::string& prompt, const std::string& value) {
  Reference<css::uno::XInterface> dialog = context->getServiceManager()->createInstanceWithContext(
      "com.sun.star.awt.UnoControlDialogModel", context);
  Reference<css::beans::XPropertySet> props(dialog, UNO_QUERY_THROW);

  const int promptHeight =
      std::max(2 * kButtonHeight + 4, PromptLines(prompt, kPromptColumns) * kLineHeight);
  const int buttonsX = kMargin + kPromptWidth + kMargin;
  const int fieldY = kMargin + promptHeight + 4;
  const int width = buttonsX + kButtonWidth + kMargin;

  Set(props, "Title", Any(ToOUString(title)));
  Set(props, "Width", Any(static_cast<sal_Int32>(width)));
  Set(props, "Height", Any(static_cast<sal_Int32>(fieldY + kFieldHeight + kMargin)));
  Set(props, "Moveable", Any(true));
  Set(props, "Closeable", Any(true));

  auto label = AddControl(dialog, "com.sun.star.awt.UnoControlFixedTextModel", kInputPromptName,
                          kMargin, kMargin, kPromptWidth, promptHeight);
  Set(label, "Label", Any(ToOUString(prompt)));
  Set(label, "MultiLine", Any(true));
  // No accelerator of the office's own choosing appended to the prompt ("(A)" after Chinese text).
  Set(label, "NoLabel", Any(true));

  auto field = AddControl(dialog, "com.sun.star.awt.UnoControlEditModel", kInputFieldName, kMargin,
                          fieldY, width - 2 * kMargin, kFieldHeight);
  Set(field, "Text", Any(ToOUString(value)));
  Set(field, "TabIndex", Any(static_cast<sal_Int16>(0)));

  auto ok = AddControl(dialog, "com.sun.star.awt.UnoControlButtonModel", kInputOkName, buttonsX,
                       kMargin, kButtonWidth, kButtonHeight);
  Set(ok, "Label", Any(OUString("OK")));
  Set(ok, "PushButtonType", Any(static_cast<sal_Int16>(css::awt::PushButtonType_OK)));
  Set(ok, "DefaultButton", Any(true));
  Set(ok, "TabIndex", Any(static_cast<sal_Int16>(1)));

  auto cancel = AddControl(dialog, "com.sun.star.awt.UnoControlButtonModel", kInputCancelName,
                           buttonsX, kMargin + kButtonHeight + 4, kButtonWidth, kButtonHeight);
  Set(cancel, "Label", Any(OUString("Cancel")));
  Set(cancel, "PushButtonType", Any(static_cast<sal_Int16>(css::awt::PushButtonType_CANCEL)));
  Set(cancel, "TabIndex", Any(static_cast<sal_Int16>(2)));

  return Reference<css::awt::XControlModel>(dialog, UNO_QUERY_THROW);
}

}  // namespace tezlo
