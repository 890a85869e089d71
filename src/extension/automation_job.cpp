#include "extension/automation_job.h"

#include <exception>
#include <string>
#include <vector>

#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <cppuhelper/supportsservice.hxx>

#include "calc/uno_text.h"
#include "extension/extension_names.h"
#include "extension/office_session.h"

namespace tezlo::extension {

namespace uno = css::uno;
using css::beans::NamedValue;

namespace {

// Answers given as a sequence of strings, or as a sequence of anys holding strings (what a
// scripting language's list becomes).
std::vector<std::string> AnswersOf(const uno::Any& value) {
  std::vector<std::string> answers;
  uno::Sequence<OUString> texts;
  if (value >>= texts) {
    for (const OUString& t : texts) answers.push_back(ToUtf8(t));
    return answers;
  }
  uno::Sequence<uno::Any> anys;
  if (!(value >>= anys))
    throw css::lang::IllegalArgumentException("Answers: a list of strings", {}, 0);
  for (const uno::Any& a : anys) {
    OUString t;
    if (!(a >>= t)) throw css::lang::IllegalArgumentException("Answers: a list of strings", {}, 0);
    answers.push_back(ToUtf8(t));
  }
  return answers;
}

NamedValue Named(const char* name, const uno::Any& value) {
  return NamedValue(OUString::createFromAscii(name), value);
}

}  // namespace

uno::Reference<uno::XInterface> AutomationJob::Create(
    const uno::Reference<uno::XComponentContext>& context) {
  return static_cast<cppu::OWeakObject*>(new AutomationJob(context));
}

OUString AutomationJob::ImplementationName() { return OUString::createFromAscii(kAutomationName); }

uno::Sequence<OUString> AutomationJob::ServiceNames() {
  const OUString name = OUString::createFromAscii(kAutomationName);
  return uno::Sequence<OUString>(&name, 1);
}

sal_Bool AutomationJob::supportsService(const OUString& name) {
  return cppu::supportsService(this, name);
}

uno::Any AutomationJob::execute(const uno::Sequence<NamedValue>& arguments) {
  std::optional<std::string> code;
  std::vector<std::string> answers;
  uno::Reference<css::frame::XModel> document;
  for (const NamedValue& argument : arguments) {
    if (argument.Name == "Code") {
      OUString text;
      if (!(argument.Value >>= text))
        throw css::lang::IllegalArgumentException("Code: a string", {}, 0);
      code = ToUtf8(text);
    } else if (argument.Name == "Answers") {
      answers = AnswersOf(argument.Value);
    } else if (argument.Name == "Document") {
      if (!(argument.Value >>= document))
        throw css::lang::IllegalArgumentException("Document: a document", {}, 0);
    } else {
      throw css::lang::IllegalArgumentException("unknown argument " + argument.Name, {}, 0);
    }
  }
  if (!code) throw css::lang::IllegalArgumentException("Code is missing", {}, 0);
  if (!document.is()) {
    document.set(css::frame::Desktop::create(context_)->getCurrentComponent(), uno::UNO_QUERY);
  }
  ScriptedOutcome outcome;
  try {
    outcome = OfficeSession::Of(context_).RunScripted(*code, document, answers);
  } catch (const std::exception& e) {
    // Nothing may leave a call from the office but its own exceptions.
    throw uno::RuntimeException(ToOUString(std::string("Tezlo: ") + e.what()));
  }
  const NamedValue result[] = {
      Named("Ran", uno::Any(outcome.ran)),
      Named("Dialogs", uno::Any(ToOUString(outcome.dialogs))),
      Named("InternalError", uno::Any(ToOUString(outcome.internalError.value_or("")))),
      Named("UnusedAnswers", uno::Any(static_cast<sal_Int32>(outcome.unusedAnswers))),
  };
  return uno::Any(uno::Sequence<NamedValue>(result, 4));
}

}  // namespace tezlo::extension
