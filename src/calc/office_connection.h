// A connection to a running LibreOffice over a named pipe (an office started with
// --accept=pipe,name=NAME;urp;): its component context and its desktop.
#pragma once

#include <string>

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace tezlo {

class OfficeConnection {
 public:
  // Waits up to `seconds` for the office to answer on `pipe`; HostError when it does not.
  static OfficeConnection ToPipe(const std::string& pipe, int seconds);

  const css::uno::Reference<css::uno::XComponentContext>& Context() const { return remote_; }
  const css::uno::Reference<css::frame::XDesktop2>& Desktop() const { return desktop_; }

 private:
  css::uno::Reference<css::uno::XComponentContext> remote_;
  css::uno::Reference<css::frame::XDesktop2> desktop_;
};

}  // namespace tezlo
