// The process-wide state of the add-in: xlApp (inside the Excel adapter), the shared variables of
// the commands, the command box, and the button of the current connection.
#pragma once

#include "dispatch/command_box.h"
#include "dispatch/context.h"
#include "excel/excel_host.h"
#include "excel/excel_ui.h"
#include "shell/command_bar_button.h"
#include "shell/command_box_window.h"
#include "system/windows/windows_system.h"

namespace tezlo::shell {

class AddIn {
 public:
  // The one instance of the process, made on first use.
  static AddIn& Get();

  // Keeps the application as xlApp, then adds the button with a new click sink (the previous
  // connection's button and sink, if any are still there, are removed first). HostError when the
  // button cannot be built; xlApp stays set then.
  void Connect(IDispatch* application);
  // Removes this connection's button and its sink, and drops xlApp. A box still open stays
  // open; a command entered there finds no application and changes nothing.
  void Disconnect();

  // Shows the command box, owned by Excel's main window.
  void ShowCommandBox();

  bool Connected() const { return static_cast<bool>(host_.Application()); }
  Context& Commands() { return context_; }
  CommandBoxWin32& Box() { return box_; }

 private:
  AddIn();

  ExcelHost host_;
  ExcelUi ui_{host_};
  WindowsSystem system_;
  Context context_{host_, ui_, system_};
  CommandBoxWin32 box_;
  CommandBox controller_{context_, box_};
  CommandBarButton button_;
};

}  // namespace tezlo::shell
