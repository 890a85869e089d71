// The library's entry points, through which the office's shared-library loader finds the
// extension's two implementations (named in the package's tezlo.components).
#include <cppuhelper/factory.hxx>
#include <cppuhelper/implementationentry.hxx>
#include <uno/lbnames.h>

#include "extension/automation_job.h"
#include "extension/command_box_handler.h"

namespace {

const cppu::ImplementationEntry kEntries[] = {
    {&tezlo::extension::CommandBoxHandler::Create,
     &tezlo::extension::CommandBoxHandler::ImplementationName,
     &tezlo::extension::CommandBoxHandler::ServiceNames, &cppu::createSingleComponentFactory,
     nullptr, 0},
    {&tezlo::extension::AutomationJob::Create, &tezlo::extension::AutomationJob::ImplementationName,
     &tezlo::extension::AutomationJob::ServiceNames, &cppu::createSingleComponentFactory, nullptr,
     0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0},
};

}  // namespace

extern "C" SAL_DLLPUBLIC_EXPORT void* component_getFactory(const char* implementation,
                                                           void* serviceManager,
                                                           void* registryKey) {
  return cppu::component_getFactoryHelper(implementation, serviceManager, registryKey, kEntries);
}

extern "C" SAL_DLLPUBLIC_EXPORT void component_getImplementationEnvironment(
    const char** environment, uno_Environment**) {
  *environment = CPPU_CURRENT_LANGUAGE_BINDING_NAME;
}
