#include "shell/click_sink.h"

#include "com/automation.h"
#include "host/host_error.h"
#include "shell/identity.h"

namespace tezlo::shell {

ClickSink* ClickSink::Create(std::function<void()> showBox) {
  return new ClickSink(std::move(showBox));
}

void ClickSink::OnClick(IDispatch* control, VARIANT_BOOL* cancelDefault) {
  bool show = false;
  try {
    show = com::Object::Of(control, com::Lookup::EachCall).Call(L"OnAction").ToText() == "ShowForm";
  } catch (...) {
    // An unreadable OnAction opens nothing.
  }
  if (show) {
    try {
      showBox_();
    } catch (...) {
    }
  }
  if (cancelDefault) *cancelDefault = VARIANT_TRUE;
}

STDMETHODIMP ClickSink::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kCommandBarButtonEvents ||
      iid == IID__cbEvents) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ClickSink::Release() {
  const ULONG n = refs_.Release();
  if (n == 0) delete this;
  return n;
}

STDMETHODIMP ClickSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP ClickSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP ClickSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = (i == 0 && lstrcmpiW(names[i], L"Click") == 0) ? kClickDispid : DISPID_UNKNOWN;
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

STDMETHODIMP ClickSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO*, UINT*) {
  if (result) VariantInit(result);
  if (id != kClickDispid) return S_OK;  // other button events are not handled
  if (!params || params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
  // Arguments arrive last first: rgvarg[1] is Ctrl, rgvarg[0] is CancelDefault.
  const VARIANT& ctrl = params->rgvarg[1];
  const VARIANT& cancel = params->rgvarg[0];
  IDispatch* control = nullptr;
  if (ctrl.vt == VT_DISPATCH) control = ctrl.pdispVal;
  if (ctrl.vt == (VT_DISPATCH | VT_BYREF) && ctrl.ppdispVal) control = *ctrl.ppdispVal;
  VARIANT_BOOL* cancelDefault = cancel.vt == (VT_BOOL | VT_BYREF) ? cancel.pboolVal : nullptr;
  OnClick(control, cancelDefault);
  return S_OK;
}

}  // namespace tezlo::shell
