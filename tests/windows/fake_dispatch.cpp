#include "fake_dispatch.h"

#include <algorithm>
#include <map>

namespace tezlo::fake {

namespace {

std::wstring Lower(std::wstring s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(towlower(c)); });
  return s;
}

std::map<std::wstring, DISPID>& Ids() {
  static std::map<std::wstring, DISPID> ids;
  return ids;
}

std::wstring NameOf(DISPID id) {
  for (const auto& [name, value] : Ids()) {
    if (value == id) return name;
  }
  return {};
}

}  // namespace

const VARIANT& Call::Arg(size_t i) const {
  const VARIANT* v = &args.at(i);
  while (v->vt == (VT_VARIANT | VT_BYREF)) v = v->pvarVal;
  return *v;
}

int32_t Call::Int(size_t i) const { return com::Variant(Arg(i)).ToInt(); }
double Call::Double(size_t i) const { return com::Variant(Arg(i)).ToDouble(); }
std::string Call::Text(size_t i) const { return com::Variant(Arg(i)).ToText(); }
bool Call::Bool(size_t i) const { return com::Variant(Arg(i)).ToBool(); }
IDispatch* Call::Object(size_t i) const {
  const VARIANT& v = Arg(i);
  return v.vt == VT_DISPATCH ? v.pdispVal : nullptr;
}
const VARIANT& Call::Value() const { return value; }

DISPID FakeDispatch::IdOf(const std::wstring& name) {
  auto& ids = Ids();
  const std::wstring key = Lower(name);
  const auto it = ids.find(key);
  if (it != ids.end()) return it->second;
  const DISPID id = 1000 + static_cast<DISPID>(ids.size());
  ids.emplace(key, id);
  return id;
}

STDMETHODIMP FakeDispatch::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch) {
    *out = static_cast<IDispatch*>(this);
  } else {
    *out = Offer(iid);
  }
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) FakeDispatch::Release() {
  const LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

STDMETHODIMP FakeDispatch::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

STDMETHODIMP FakeDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  for (UINT i = 0; i < count; ++i) ids[i] = IdOf(names[i]);
  return S_OK;
}

STDMETHODIMP FakeDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* exception, UINT*) {
  Call call;
  call.member = NameOf(id);
  if (call.member.empty()) return DISP_E_MEMBERNOTFOUND;
  const UINT named = params ? params->cNamedArgs : 0;
  const UINT count = params ? params->cArgs : 0;
  call.put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (call.put) {
    if (count < 1 || named != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
      return DISP_E_PARAMNOTOPTIONAL;
    }
    call.value = params->rgvarg[0];
    for (UINT i = count; i > 1; --i) call.args.push_back(params->rgvarg[i - 1]);
  } else {
    if (named) return DISP_E_NONAMEDARGS;
    for (UINT i = count; i > 0; --i) call.args.push_back(params->rgvarg[i - 1]);
  }
  com::Variant answer;
  try {
    if (!Answer(call, answer)) return DISP_E_MEMBERNOTFOUND;
  } catch (const Failure& f) {
    if (exception) {
      *exception = EXCEPINFO{};
      exception->scode = static_cast<SCODE>(0x800A03EC);  // Excel's generic run-time error
      exception->bstrDescription = SysAllocString(com::Wide(f.what).c_str());
    }
    return DISP_E_EXCEPTION;
  } catch (const std::exception& e) {
    if (exception) {
      *exception = EXCEPINFO{};
      exception->scode = static_cast<SCODE>(0x800A03EC);
      exception->bstrDescription = SysAllocString(com::Wide(e.what()).c_str());
    }
    return DISP_E_EXCEPTION;
  }
  if (result) {
    VariantInit(result);
    VariantCopy(result, answer.Get());
  }
  return S_OK;
}

com::Variant Hand(FakeDispatch* object) {
  com::Variant v = com::Variant::Object(object);
  object->Release();
  return v;
}

}  // namespace tezlo::fake
