// A repeating timer for the command box. The office's API offers no timer, so a thread of ours
// waits out each interval and hands the tick to the office's main thread (AsyncCallback), where
// every window call belongs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <com/sun/star/uno/XComponentContext.hpp>

namespace tezlo::extension {

class BoxTicker {
 public:
  explicit BoxTicker(css::uno::Reference<css::uno::XComponentContext> context)
      : context_(std::move(context)) {}
  ~BoxTicker() { Stop(); }
  BoxTicker(const BoxTicker&) = delete;
  BoxTicker& operator=(const BoxTicker&) = delete;

  // Calls `tick` on the main thread every `intervalMs` until Stop; nothing when already running.
  void Start(int32_t intervalMs, std::function<void()> tick);
  // No tick arrives after this returns (one already queued is dropped). It never waits for the
  // thread, which may itself be waiting for the main thread this is called on.
  void Stop();
  bool Running() const { return state_ != nullptr; }

  // What the waiting thread and the main thread's tick share; it outlives a stopped ticker.
  struct State;

 private:
  css::uno::Reference<css::uno::XComponentContext> context_;
  std::shared_ptr<State> state_;
};

}  // namespace tezlo::extension
