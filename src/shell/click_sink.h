// cbEvents: the sink of the button's Click event. Office calls it through the button's
// connection point as a dispinterface (_CommandBarButtonEvents).
#pragma once

#include <functional>

#include "com/win32.h"
#include "shell/module.h"

namespace tezlo::shell {

class ClickSink final : public IDispatch {
 public:
  // `showBox` opens the command box; it is called only for a button whose OnAction is
  // "ShowForm".
  static ClickSink* Create(std::function<void()> showBox);

  // Click(Ctrl, CancelDefault), trapping every failure: reads Ctrl.OnAction, opens the box when
  // it is exactly "ShowForm", and in every case sets CancelDefault so that Excel runs no macro.
  void OnClick(IDispatch* control, VARIANT_BOOL* cancelDefault);

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return refs_.Add(); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) override;

 private:
  explicit ClickSink(std::function<void()> showBox) : showBox_(std::move(showBox)) {}
  virtual ~ClickSink() = default;

  RefCount refs_;
  std::function<void()> showBox_;
};

}  // namespace tezlo::shell
