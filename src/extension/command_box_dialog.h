// The command box inside the office: a small modeless window holding one single-line text field
// that fills it, centred over the document window it was opened for. Enter and the readout
// timer go to the portable CommandBox controller, through the session that owns both.
#pragma once

#include <functional>
#include <string>

#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ref.hxx>

#include "dispatch/command_box.h"
#include "extension/box_ticker.h"

namespace tezlo::extension {

class CommandBoxDialog final : public CommandBoxWindow {
 public:
  // The box's client area in twips (1/1440 inch), as the Excel add-in's box; 96 pixels an inch.
  static constexpr int32_t kWidthPixels = 855 * 96 / 1440;
  static constexpr int32_t kHeightPixels = 270 * 96 / 1440;

  struct Events {
    std::function<void(const std::string& text)> enter;  // Enter in the field
    std::function<void()> tick;                          // the readout timer
  };

  CommandBoxDialog(css::uno::Reference<css::uno::XComponentContext> context, Events events);
  ~CommandBoxDialog() override;

  // Shows the box, creating it (empty, centred over `over`) when it is closed, and puts the
  // keyboard focus into its field.
  void Show(const css::uno::Reference<css::awt::XWindow>& over);
  bool IsOpen() const { return box_.is(); }
  // The field's text; empty when the box is closed.
  std::string Text() const;
  // The box's window, for tests and pictures; empty when closed.
  const css::uno::Reference<css::awt::XWindow>& Window() const { return box_; }

  void SetText(const std::string& text) override;
  void StartTimer(int32_t intervalMs) override;
  void StopTimer() override;
  void Close() override;

 private:
  class Listener;
  void Create(const css::uno::Reference<css::awt::XWindow>& over);
  void FitField();

  css::uno::Reference<css::uno::XComponentContext> context_;
  Events events_;
  BoxTicker ticker_;
  css::uno::Reference<css::awt::XWindow> box_;
  css::uno::Reference<css::awt::XWindow> field_;
  rtl::Reference<Listener> listener_;
};

}  // namespace tezlo::extension
