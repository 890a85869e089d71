// The handler of the extension's command URL (a protocol handler, as the office asks every frame
// for one): the "&Z" toolbar button and the shortcut dispatch vnd.tezlo:ShowCommandBox, which
// opens the command box over that frame's document.
#pragma once

#include <com/sun/star/frame/XDispatch.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/lang/XInitialization.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <cppuhelper/implbase4.hxx>

#include "calc/uno_text.h"

namespace tezlo::extension {

class CommandBoxHandler final
    : public cppu::WeakImplHelper4<css::frame::XDispatchProvider, css::frame::XDispatch,
                                   css::lang::XInitialization, css::lang::XServiceInfo> {
 public:
  explicit CommandBoxHandler(css::uno::Reference<css::uno::XComponentContext> context)
      : context_(std::move(context)) {}

  static css::uno::Reference<css::uno::XInterface> SAL_CALL
  Create(const css::uno::Reference<css::uno::XComponentContext>& context);
  static OUString SAL_CALL ImplementationName();
  static css::uno::Sequence<OUString> SAL_CALL ServiceNames();

  // The frame the handler serves comes first among the arguments.
  void SAL_CALL initialize(const css::uno::Sequence<css::uno::Any>& arguments) override;

  css::uno::Reference<css::frame::XDispatch> SAL_CALL queryDispatch(const css::util::URL& url,
                                                                    const OUString& target,
                                                                    sal_Int32 flags) override;
  css::uno::Sequence<css::uno::Reference<css::frame::XDispatch>> SAL_CALL
  queryDispatches(const css::uno::Sequence<css::frame::DispatchDescriptor>& requests) override;

  void SAL_CALL dispatch(const css::util::URL& url,
                         const css::uno::Sequence<css::beans::PropertyValue>& arguments) override;
  // The command is always available: a new listener hears so at once.
  void SAL_CALL addStatusListener(const css::uno::Reference<css::frame::XStatusListener>& listener,
                                  const css::util::URL& url) override;
  void SAL_CALL removeStatusListener(const css::uno::Reference<css::frame::XStatusListener>&,
                                     const css::util::URL&) override {}

  OUString SAL_CALL getImplementationName() override { return ImplementationName(); }
  sal_Bool SAL_CALL supportsService(const OUString& name) override;
  css::uno::Sequence<OUString> SAL_CALL getSupportedServiceNames() override {
    return ServiceNames();
  }

 private:
  css::uno::Reference<css::uno::XComponentContext> context_;
  css::uno::Reference<css::frame::XFrame> frame_;
};

}  // namespace tezlo::extension
