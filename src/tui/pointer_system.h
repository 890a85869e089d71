// The operating system as the tools see it from the terminal: everything from the platform's
// System, except the pointer, which is where the terminal last reported the mouse.
#pragma once

#include <string>
#include <vector>

#include "host/system.h"

namespace tezlo {

class PointerSystem final : public System {
 public:
  explicit PointerSystem(System& base) : base_(base) {}

  // The pointer's position: pixels where the terminal reports them, else the screen cell.
  void SetPointer(PointerPosition at) { pointer_ = at; }

  CalendarDate Today() override { return base_.Today(); }
  std::vector<ProcessInfo> Processes() override { return base_.Processes(); }
  std::vector<std::string> DriveFolderListing() override { return base_.DriveFolderListing(); }
  std::vector<std::string> DesktopItems() override { return base_.DesktopItems(); }
  std::string TemplateFolder() override { return base_.TemplateFolder(); }
  PointerPosition Pointer() override { return pointer_; }

 private:
  System& base_;
  PointerPosition pointer_;
};

}  // namespace tezlo
