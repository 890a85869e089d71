// The add-in's button on Excel's "Standard" command bar and the subscription of its click sink.
#pragma once

#include "com/automation.h"
#include "com/win32.h"

namespace tezlo::shell {

class CommandBarButton {
 public:
  CommandBarButton() = default;
  CommandBarButton(const CommandBarButton&) = delete;
  CommandBarButton& operator=(const CommandBarButton&) = delete;
  CommandBarButton(CommandBarButton&& other) noexcept;
  CommandBarButton& operator=(CommandBarButton&& other) noexcept;
  ~CommandBarButton() { Remove(); }

  // CommandBars("Standard").Controls.Add(Type:=1, Id:=1, Before:=1, Temporary:=True), then
  // Caption "&Z", OnAction "ShowForm", Style 3, TooltipText "FormShow", FaceId 25 in that order,
  // then `sink` advised on the button's click events. HostError when any step fails; a button
  // already added is removed again.
  static CommandBarButton Add(IDispatch* application, IDispatch* sink);

  // Unadvises the sink and deletes the button from its bar; nothing when there is none.
  void Remove();

  bool Exists() const { return static_cast<bool>(button_); }

 private:
  com::Object button_;
  com::Ptr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

}  // namespace tezlo::shell
