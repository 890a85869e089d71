// The two kinds of dialog the block tools show: an OK/Cancel question before a destructive step,
// and a plain OK-only notice with the host's default title.
#pragma once

#include <string>

#include "host/ui.h"

namespace tezlo::blocks {

// "提示", OK and Cancel, Cancel the default button, no icon. True when the user chose OK.
inline bool ConfirmChange(Ui& ui, const std::string& text) {
  MessageBoxRequest request;
  request.text = text;
  request.title = "提示";
  request.buttons = Buttons::OkCancel;
  request.icon = Icon::None;
  request.defaultButton = DefaultButton::Second;
  return ui.MessageBox(request) == Answer::Ok;
}

// OK only, no icon, the host's default title.
inline void ShowNotice(Ui& ui, const std::string& text) {
  MessageBoxRequest request;
  request.text = text;
  ui.MessageBox(request);
}

}  // namespace tezlo::blocks
