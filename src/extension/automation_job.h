// The automation entry, for tests and scripts: a job (css.task.XJob) that runs one function code
// on a document as if typed into the command box, with the dialogs answered from a script.
//
// Arguments (named values):  Code      string, the text typed into the box (required)
//                            Answers   strings, one per dialog in order, as `tezlo run --answer`
//                                      takes them: ok, cancel, or the text for an input box
//                            Document  the spreadsheet to act on (default: the current document)
// Result (named values):     Ran            false when the document is no spreadsheet or
//                                           another command was running
//                            Dialogs        one line per dialog, as `tezlo run` prints them
//                            InternalError  what stopped the command when a fault of ours did
//                            UnusedAnswers  answers no dialog took
#pragma once

#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/task/XJob.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <cppuhelper/implbase2.hxx>

#include "calc/uno_text.h"

namespace tezlo::extension {

class AutomationJob final : public cppu::WeakImplHelper2<css::task::XJob, css::lang::XServiceInfo> {
 public:
  explicit AutomationJob(css::uno::Reference<css::uno::XComponentContext> context)
      : context_(std::move(context)) {}

  static css::uno::Reference<css::uno::XInterface> SAL_CALL
  Create(const css::uno::Reference<css::uno::XComponentContext>& context);
  static OUString SAL_CALL ImplementationName();
  static css::uno::Sequence<OUString> SAL_CALL ServiceNames();

  css::uno::Any SAL_CALL
  execute(const css::uno::Sequence<css::beans::NamedValue>& arguments) override;

  OUString SAL_CALL getImplementationName() override { return ImplementationName(); }
  sal_Bool SAL_CALL supportsService(const OUString& name) override;
  css::uno::Sequence<OUString> SAL_CALL getSupportedServiceNames() override {
    return ServiceNames();
  }

 private:
  css::uno::Reference<css::uno::XComponentContext> context_;
};

}  // namespace tezlo::extension
