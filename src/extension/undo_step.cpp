#include "extension/undo_step.h"

#include <com/sun/star/document/XUndoManagerSupplier.hpp>

#include "calc/uno_text.h"

namespace tezlo::extension {

namespace uno = css::uno;

UndoStep::UndoStep(const uno::Reference<css::sheet::XSpreadsheetDocument>& document,
                   const std::string& title) {
  const uno::Reference<css::document::XUndoManagerSupplier> supplier(document, uno::UNO_QUERY);
  if (!supplier.is()) return;
  undo_ = supplier->getUndoManager();
  if (undo_.is()) undo_->enterUndoContext(ToOUString(title));
}

UndoStep::~UndoStep() {
  if (!undo_.is()) return;
  try {
    undo_->leaveUndoContext();
  } catch (const uno::Exception&) {
    // The command closed the document: its undo list went with it.
  }
}

}  // namespace tezlo::extension
