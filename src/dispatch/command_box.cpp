#include "dispatch/command_box.h"

#include "dispatch/dispatch.h"
#include "host/host_error.h"
#include "text/ascii.h"

namespace tezlo {

void CommandBox::OnEnter(std::string_view text) {
  ctx_.funcCode = TrimSpaces(text);
  if (ctx_.funcCode == kPointerReadoutCode) {
    OnTimer();
    return;
  }
  window_.StopTimer();
  window_.Close();
  Dispatch(ctx_);
}

void CommandBox::OnTimer() {
  window_.StartTimer(kReadoutIntervalMs);
  PointerPosition at;
  try {
    at = ctx_.system.Pointer();
  } catch (const HostError&) {
    return;
  }
  window_.SetText(std::to_string(at.x) + "." + std::to_string(at.y));
  ctx_.flowFlag = Flow::SkipNextOnce;
}

}  // namespace tezlo
