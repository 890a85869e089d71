#include "shell/command_bar_button.h"

#include <utility>

#include "host/host_error.h"
#include "shell/identity.h"

namespace tezlo::shell {

using com::Lookup;
using com::Object;
using com::Variant;

namespace {

constexpr int32_t kControlButton = 1;  // msoControlButton
constexpr int32_t kCustomId = 1;       // not one of Office's built-in controls
constexpr int32_t kFirstPosition = 1;
constexpr int32_t kIconAndCaption = 3;  // msoButtonIconAndCaption
constexpr int32_t kFaceId = 25;

}  // namespace

CommandBarButton::CommandBarButton(CommandBarButton&& other) noexcept
    : button_(std::move(other.button_)),
      point_(std::move(other.point_)),
      cookie_(std::exchange(other.cookie_, 0)) {}

CommandBarButton& CommandBarButton::operator=(CommandBarButton&& other) noexcept {
  if (this != &other) {
    Remove();
    button_ = std::move(other.button_);
    point_ = std::move(other.point_);
    cookie_ = std::exchange(other.cookie_, 0);
  }
  return *this;
}

CommandBarButton CommandBarButton::Add(IDispatch* application, IDispatch* sink) {
  const Object app = Object::Of(application, Lookup::EachCall);
  const Object bar = app.Child(L"CommandBars").Child(L"Item", {Variant::Text("Standard")});
  CommandBarButton result;
  result.button_ =
      bar.Child(L"Controls")
          .Child(L"Add", {Variant::Int(kControlButton), Variant::Int(kCustomId), Variant::Missing(),
                          Variant::Int(kFirstPosition), Variant::Bool(true)});
  // From here on a failure removes the new button again (the destructor of `result`).
  result.button_.Put(L"Caption", Variant::Text("&Z"));
  result.button_.Put(L"OnAction", Variant::Text("ShowForm"));
  result.button_.Put(L"Style", Variant::Int(kIconAndCaption));
  result.button_.Put(L"TooltipText", Variant::Text("FormShow"));
  result.button_.Put(L"FaceId", Variant::Int(kFaceId));

  com::Ptr<IConnectionPointContainer> container =
      result.button_.Get() ? com::Ptr<IDispatch>::Share(result.button_.Get())
                                 .As<IConnectionPointContainer>(IID_IConnectionPointContainer)
                           : com::Ptr<IConnectionPointContainer>();
  if (!container) throw HostError("the button has no events");
  HRESULT hr = container->FindConnectionPoint(kCommandBarButtonEvents, result.point_.Out());
  if (FAILED(hr)) com::ThrowCallError(L"FindConnectionPoint", hr, nullptr);
  hr = result.point_->Advise(sink, &result.cookie_);
  if (FAILED(hr)) {
    result.point_.Reset();
    com::ThrowCallError(L"Advise", hr, nullptr);
  }
  return result;
}

void CommandBarButton::Remove() {
  if (point_) {
    point_->Unadvise(cookie_);
    point_.Reset();
    cookie_ = 0;
  }
  if (button_) {
    try {
      button_.Call(L"Delete");
    } catch (const HostError&) {
      // Excel may have discarded the bar already (it is closing).
    }
    button_ = Object();
  }
}

}  // namespace tezlo::shell
