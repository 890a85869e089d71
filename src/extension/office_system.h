// The operating system as the tools see it inside the office: the Linux System, with the pointer
// read from the X display the office's windows are on.
#pragma once

#include "host/host_error.h"
#include "host/system_wrapper.h"
#include "system/posix/posix_system.h"
#include "system/posix/x11_pointer.h"

namespace tezlo::extension {

class OfficeSystem final : public SystemWrapper {
 public:
  OfficeSystem() : SystemWrapper(posix_) {}

  // HostError without an X display (a headless office): the readout then leaves the box alone.
  PointerPosition Pointer() override {
    if (const auto at = X11PointerPosition()) return *at;
    throw HostError("the office shows no pointer on an X display");
  }

 private:
  PosixSystem posix_;
};

}  // namespace tezlo::extension
