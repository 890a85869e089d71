#include "extension/command_box_handler.h"

#include <exception>
#include <com/sun/star/frame/FeatureStateEvent.hpp>
#include <cppuhelper/supportsservice.hxx>

#include "extension/extension_names.h"
#include "extension/office_session.h"

namespace tezlo::extension {

namespace uno = css::uno;

uno::Reference<uno::XInterface> CommandBoxHandler::Create(
    const uno::Reference<uno::XComponentContext>& context) {
  return static_cast<cppu::OWeakObject*>(new CommandBoxHandler(context));
}

OUString CommandBoxHandler::ImplementationName() {
  return OUString::createFromAscii(kCommandBoxHandlerName);
}

uno::Sequence<OUString> CommandBoxHandler::ServiceNames() {
  const OUString name = "com.sun.star.frame.ProtocolHandler";
  return uno::Sequence<OUString>(&name, 1);
}

sal_Bool CommandBoxHandler::supportsService(const OUString& name) {
  return cppu::supportsService(this, name);
}

void CommandBoxHandler::initialize(const uno::Sequence<uno::Any>& arguments) {
  if (arguments.hasElements()) arguments[0] >>= frame_;
}

uno::Reference<css::frame::XDispatch> CommandBoxHandler::queryDispatch(const css::util::URL& url,
                                                                       const OUString&, sal_Int32) {
  if (url.Complete != OUString::createFromAscii(kShowCommandBoxUrl)) return {};
  return this;
}

uno::Sequence<uno::Reference<css::frame::XDispatch>> CommandBoxHandler::queryDispatches(
    const uno::Sequence<css::frame::DispatchDescriptor>& requests) {
  uno::Sequence<uno::Reference<css::frame::XDispatch>> dispatches(requests.getLength());
  auto* out = dispatches.getArray();
  for (sal_Int32 i = 0; i < requests.getLength(); ++i) {
    out[i] = queryDispatch(requests[i].FeatureURL, requests[i].FrameName, requests[i].SearchFlags);
  }
  return dispatches;
}

void CommandBoxHandler::dispatch(const css::util::URL& url,
                                 const uno::Sequence<css::beans::PropertyValue>&) {
  if (url.Complete != OUString::createFromAscii(kShowCommandBoxUrl)) return;
  try {
    OfficeSession::Of(context_).ShowCommandBox(frame_);
  } catch (const std::exception& e) {
    // Nothing may leave a call from the office but its own exceptions.
    throw uno::RuntimeException(ToOUString(std::string("Tezlo: ") + e.what()));
  }
}

void CommandBoxHandler::addStatusListener(
    const uno::Reference<css::frame::XStatusListener>& listener, const css::util::URL& url) {
  if (!listener.is()) return;
  css::frame::FeatureStateEvent state;
  state.Source = static_cast<cppu::OWeakObject*>(this);
  state.FeatureURL = url;
  state.IsEnabled = true;
  state.Requery = false;
  listener->statusChanged(state);
}

}  // namespace tezlo::extension
