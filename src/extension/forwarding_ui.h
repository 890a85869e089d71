// The dialogs of the session: each command picks who answers them, the user (the office's own
// dialogs over the document window) or a script (the automation entry).
#pragma once

#include <optional>
#include <string>

#include "host/host_error.h"
#include "host/ui.h"

namespace tezlo::extension {

class ForwardingUi final : public Ui {
 public:
  void Use(Ui* target) { target_ = target; }

  Answer MessageBox(const MessageBoxRequest& request) override {
    if (target_ == nullptr) throw HostError("no window to show the dialog over");
    return target_->MessageBox(request);
  }
  std::optional<std::string> InputBox(const InputBoxRequest& request) override {
    if (target_ == nullptr) throw HostError("no window to show the dialog over");
    return target_->InputBox(request);
  }

 private:
  Ui* target_ = nullptr;
};

}  // namespace tezlo::extension
