// The three ways a procedure treats a failing host call (a HostError):
//   resume-next     every step runs through Step(): a failing step is skipped, the next one runs;
//   jump-to-restore the steps run inside one RunUntilFailure() call, and guards declared before it
//                   switch screen updating and alerts back on however it ends;
//   none            nothing is caught: the error goes to the caller, whose own mode decides.
#pragma once

#include <utility>

#include "host/host.h"
#include "host/host_error.h"

namespace tezlo {

// Runs one resume-next step. Returns false when the step failed (and was skipped).
template <typename F>
bool Step(F&& step) {
  try {
    std::forward<F>(step)();
    return true;
  } catch (const HostError&) {
    return false;
  }
}

// Runs the steps of a jump-to-restore procedure: the first failure ends them. Returns false when
// a step failed. The restoring happens in the guards' destructors, after this returns.
template <typename F>
bool RunUntilFailure(F&& steps) {
  return Step(std::forward<F>(steps));
}

// Switches ScreenUpdating off (unless told otherwise) and back on when it goes out of scope,
// on every way out, including an escaping error.
class ScreenUpdatingGuard {
 public:
  explicit ScreenUpdatingGuard(Host& host, bool switchOff = true) : host_(host) {
    if (switchOff) Step([&] { host_.SetScreenUpdating(false); });
  }
  ~ScreenUpdatingGuard() {
    Step([&] { host_.SetScreenUpdating(true); });
  }
  ScreenUpdatingGuard(const ScreenUpdatingGuard&) = delete;
  ScreenUpdatingGuard& operator=(const ScreenUpdatingGuard&) = delete;

 private:
  Host& host_;
};

// Switches DisplayAlerts off (unless told otherwise) and back on when it goes out of scope.
class AlertsGuard {
 public:
  explicit AlertsGuard(Host& host, bool switchOff = true) : host_(host) {
    if (switchOff) Step([&] { host_.SetDisplayAlerts(false); });
  }
  ~AlertsGuard() {
    Step([&] { host_.SetDisplayAlerts(true); });
  }
  AlertsGuard(const AlertsGuard&) = delete;
  AlertsGuard& operator=(const AlertsGuard&) = delete;

 private:
  Host& host_;
};

}  // namespace tezlo
