// The operating system as the tools see it from the terminal: everything from the platform's
// System, except the pointer, which is where the terminal last reported the mouse.
#pragma once

#include "host/system_wrapper.h"

namespace tezlo {

class PointerSystem final : public SystemWrapper {
 public:
  explicit PointerSystem(System& base) : SystemWrapper(base) {}

  // The pointer's position: pixels where the terminal reports them, else the screen cell.
  void SetPointer(PointerPosition at) { pointer_ = at; }

  PointerPosition Pointer() override { return pointer_; }

 private:
  PointerPosition pointer_;
};

}  // namespace tezlo
