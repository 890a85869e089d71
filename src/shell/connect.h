// Connect: the add-in class Excel creates by its ProgID "Text.Connect" and talks to through
// Office's add-in connection interface, IDTExtensibility2.
#pragma once

#include "com/win32.h"
#include "shell/module.h"
#include "tezlo_idl.h"

namespace tezlo::shell {

class Connect final : public IDTExtensibility2 {
 public:
  static Connect* Create() { return new Connect(); }

  // Keeps Application as xlApp and builds the button; a failure to build it is returned to
  // Excel. The other arguments are not used.
  STDMETHODIMP OnConnection(IDispatch* application, long connectMode, IDispatch* addInInst,
                            SAFEARRAY** custom) override;
  // Removes the button of this connection and drops xlApp.
  STDMETHODIMP OnDisconnection(long removeMode, SAFEARRAY** custom) override;
  // Not handled.
  STDMETHODIMP OnAddInsUpdate(SAFEARRAY** custom) override;
  STDMETHODIMP OnStartupComplete(SAFEARRAY** custom) override;
  STDMETHODIMP OnBeginShutdown(SAFEARRAY** custom) override;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return refs_.Add(); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

 private:
  Connect() = default;
  virtual ~Connect() = default;

  RefCount refs_;
};

}  // namespace tezlo::shell
