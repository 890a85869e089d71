// One command, one step in the document's undo list: everything the command changes through the
// API is gathered into one undo action, so that Ctrl+Z takes back a whole command.
#pragma once

#include <string>

#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>

namespace tezlo::extension {

class UndoStep {
 public:
  // Opens the step on `document`'s undo list, titled `title`. A document without an undo list
  // (none that Calc opens) gets no step.
  UndoStep(const css::uno::Reference<css::sheet::XSpreadsheetDocument>& document,
           const std::string& title);
  // Closes it; a step that changed nothing leaves nothing in the list.
  ~UndoStep();
  UndoStep(const UndoStep&) = delete;
  UndoStep& operator=(const UndoStep&) = delete;

 private:
  css::uno::Reference<css::document::XUndoManager> undo_;
};

}  // namespace tezlo::extension
