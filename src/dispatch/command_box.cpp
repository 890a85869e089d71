#include "dispatch/command_box.h"

#include "dispatch/dispatch.h"
#include "host/host_error.h"

namespace tezlo {

std::string TrimSpaces(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

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
