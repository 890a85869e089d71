// The class factory of Connect, handed out by DllGetClassObject.
#pragma once

#include "com/win32.h"
#include "shell/module.h"

namespace tezlo::shell {

class ClassFactory final : public IClassFactory {
 public:
  static ClassFactory* Create() { return new ClassFactory(); }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return refs_.Add(); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  ClassFactory() = default;
  virtual ~ClassFactory() = default;

  RefCount refs_;
};

}  // namespace tezlo::shell
