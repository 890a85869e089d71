// The dialogs of the add-in inside Excel: message boxes owned by Excel's main window (so they
// stay in front of it and block it while open) and Excel's own input box.
#pragma once

#include "excel/excel_host.h"
#include "host/ui.h"

namespace tezlo {

class ExcelUi final : public Ui {
 public:
  // The title a message box shows when the tool gives none: the add-in project's name.
  static constexpr const char* kDefaultTitle = "Text";

  explicit ExcelUi(ExcelHost& host) : host_(host) {}

  // MessageBoxW with Excel's main window (Application.Hwnd) as owner; no owner when Excel is
  // not reachable.
  Answer MessageBox(const MessageBoxRequest& request) override;
  // Application.InputBox(Prompt, Title, Default): nothing when the user cancels (the box then
  // answers False) or when Excel is not reachable.
  std::optional<std::string> InputBox(const InputBoxRequest& request) override;

 private:
  ExcelHost& host_;
};

// Excel's main window: Application.Hwnd, or null.
void* ExcelWindow(const com::Object& application);

}  // namespace tezlo
