// The four entry points of an in-process COM server, and the DLL's entry point.
#include "com/win32.h"

#include <olectl.h>

#include "shell/class_factory.h"
#include "shell/identity.h"
#include "shell/module.h"
#include "shell/registration.h"

using tezlo::shell::ClassFactory;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    tezlo::shell::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != CLSID_Connect) return CLASS_E_CLASSNOTAVAILABLE;
  ClassFactory* factory = ClassFactory::Create();
  const HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

STDAPI DllCanUnloadNow() { return tezlo::shell::ModuleInUse() ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() {
  const HRESULT hr = tezlo::shell::RegisterAddIn(tezlo::shell::ModulePath(), sizeof(void*) == 8);
  return FAILED(hr) ? SELFREG_E_CLASS : S_OK;
}

STDAPI DllUnregisterServer() { return tezlo::shell::UnregisterAddIn(sizeof(void*) == 8); }

}  // extern "C"
