#include "extension/box_ticker.h"

#include <exception>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <cppuhelper/implbase1.hxx>

namespace tezlo::extension {

namespace uno = css::uno;

struct BoxTicker::State {
  std::mutex mutex;
  std::condition_variable wake;
  bool stopped = false;
  std::function<void()> tick;
};

namespace {

// Runs on the main thread: the tick, unless the timer was stopped meanwhile.
class TickCallback : public cppu::WeakImplHelper1<css::awt::XCallback> {
 public:
  explicit TickCallback(std::shared_ptr<BoxTicker::State> state) : state_(std::move(state)) {}
  void SAL_CALL notify(const uno::Any&) override {
    std::function<void()> tick;
    {
      std::lock_guard<std::mutex> lock(state_->mutex);
      if (state_->stopped) return;
      tick = state_->tick;
    }
    try {
      tick();
    } catch (const std::exception&) {
      // A tick that fails leaves the box as it was; nothing may leave a call from the office.
    } catch (const uno::Exception&) {
    }
  }

 private:
  std::shared_ptr<BoxTicker::State> state_;
};

}  // namespace

void BoxTicker::Start(int32_t intervalMs, std::function<void()> tick) {
  if (state_) return;
  auto state = std::make_shared<State>();
  state->tick = std::move(tick);
  const uno::Reference<css::awt::XRequestCallback> post = css::awt::AsyncCallback::create(context_);
  std::thread([state, post, intervalMs] {
    std::unique_lock<std::mutex> lock(state->mutex);
    while (!state->wake.wait_for(lock, std::chrono::milliseconds(intervalMs),
                                 [&] { return state->stopped; })) {
      lock.unlock();
      try {
        post->addCallback(new TickCallback(state), uno::Any());
      } catch (const uno::Exception&) {
        return;  // the office is shutting down
      }
      lock.lock();
    }
  }).detach();
  state_ = std::move(state);
}

void BoxTicker::Stop() {
  if (!state_) return;
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->stopped = true;
  }
  state_->wake.notify_all();
  state_.reset();
}

}  // namespace tezlo::extension
