#include "shell/connect.h"

#include "host/host_error.h"
#include "shell/addin.h"

namespace tezlo::shell {

namespace {

// IDTExtensibility2's members in DISPID order (1 to 5).
const wchar_t* const kMembers[] = {L"OnConnection", L"OnDisconnection", L"OnAddInsUpdate",
                                   L"OnStartupComplete", L"OnBeginShutdown"};

IDispatch* DispatchArgument(const VARIANT& v) {
  if (v.vt == VT_DISPATCH) return v.pdispVal;
  if (v.vt == (VT_DISPATCH | VT_BYREF) && v.ppdispVal) return *v.ppdispVal;
  if (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal) return DispatchArgument(*v.pvarVal);
  return nullptr;
}

}  // namespace

STDMETHODIMP Connect::OnConnection(IDispatch* application, long, IDispatch*, SAFEARRAY**) {
  try {
    AddIn::Get().Connect(application);
    return S_OK;
  } catch (const HostError&) {
    return E_FAIL;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

STDMETHODIMP Connect::OnDisconnection(long, SAFEARRAY**) {
  try {
    AddIn::Get().Disconnect();
  } catch (...) {
  }
  return S_OK;
}

STDMETHODIMP Connect::OnAddInsUpdate(SAFEARRAY**) { return S_OK; }
STDMETHODIMP Connect::OnStartupComplete(SAFEARRAY**) { return S_OK; }
STDMETHODIMP Connect::OnBeginShutdown(SAFEARRAY**) { return S_OK; }

STDMETHODIMP Connect::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IDTExtensibility2 ||
      iid == IID__Connect) {
    *out = static_cast<IDTExtensibility2*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) Connect::Release() {
  const ULONG n = refs_.Release();
  if (n == 0) delete this;
  return n;
}

STDMETHODIMP Connect::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP Connect::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP Connect::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    for (DISPID k = 0; i == 0 && k < 5; ++k) {
      if (lstrcmpiW(names[i], kMembers[k]) == 0) ids[i] = k + 1;
    }
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

// Late-bound callers get the same five members; arguments arrive last first.
STDMETHODIMP Connect::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO*, UINT*) {
  if (result) VariantInit(result);
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  const UINT n = params ? params->cArgs : 0;
  switch (id) {
    case 1:
      if (n != 4) return DISP_E_BADPARAMCOUNT;
      return OnConnection(DispatchArgument(params->rgvarg[3]), 0, nullptr, nullptr);
    case 2: return OnDisconnection(0, nullptr);
    case 3:
    case 4:
    case 5: return S_OK;
    default: return DISP_E_MEMBERNOTFOUND;
  }
}

}  // namespace tezlo::shell
