// The operating system as the tools see it inside the office: the Linux System, with the pointer
// read from the X display the office's windows are on.
#pragma once

#include <string>
#include <vector>

#include "host/host_error.h"
#include "system/posix/posix_system.h"
#include "system/posix/x11_pointer.h"

namespace tezlo::extension {

class OfficeSystem final : public System {
 public:
  CalendarDate Today() override { return base_.Today(); }
  std::vector<ProcessInfo> Processes() override { return base_.Processes(); }
  std::vector<std::string> DriveFolderListing() override { return base_.DriveFolderListing(); }
  std::vector<std::string> DesktopItems() override { return base_.DesktopItems(); }
  std::string TemplateFolder() override { return base_.TemplateFolder(); }
  // HostError without an X display (a headless office): the readout then leaves the box alone.
  PointerPosition Pointer() override {
    if (const auto at = X11PointerPosition()) return *at;
    throw HostError("the office shows no pointer on an X display");
  }

 private:
  PosixSystem base_;
};

}  // namespace tezlo::extension
