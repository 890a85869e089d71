// A running LibreOffice as the Calc host reaches it: its component context and its desktop, either
// over a named pipe (an office started with --accept=pipe,name=NAME;urp;) or, for code loaded
// into the office itself, directly.
#pragma once

#include <string>

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace tezlo {

class OfficeConnection {
 public:
  // Waits up to `seconds` for the office to answer on `pipe`; HostError when it does not.
  static OfficeConnection ToPipe(const std::string& pipe, int seconds);
  // The office this code runs in, through the component context it was given.
  static OfficeConnection InProcess(
      const css::uno::Reference<css::uno::XComponentContext>& context);

  const css::uno::Reference<css::uno::XComponentContext>& Context() const { return context_; }
  const css::uno::Reference<css::frame::XDesktop2>& Desktop() const { return desktop_; }

 private:
  css::uno::Reference<css::uno::XComponentContext> context_;
  css::uno::Reference<css::frame::XDesktop2> desktop_;
};

}  // namespace tezlo
