#include "com/automation.h"

#include <map>
#include <mutex>
#include <vector>

#include "host/host_error.h"

namespace tezlo::com {

namespace {

// Excel's member names and their DISPIDs, filled as the adapter first uses each name. Every
// call arrives on Excel's user-interface thread; the lock only guards against a stray caller.
class DispidCache {
 public:
  bool Find(const std::wstring& name, DISPID& id) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = ids_.find(name);
    if (it == ids_.end()) return false;
    id = it->second;
    return true;
  }
  void Add(const std::wstring& name, DISPID id) {
    std::lock_guard<std::mutex> lock(mutex_);
    ids_.emplace(name, id);
  }

 private:
  std::mutex mutex_;
  std::map<std::wstring, DISPID> ids_;
};

DispidCache& Cache() {
  static DispidCache cache;
  return cache;
}

}  // namespace

void ThrowCallError(const wchar_t* member, HRESULT hr, const EXCEPINFO* info) {
  std::string what = Utf8(member, wcslen(member));
  char code[16];
  snprintf(code, sizeof code, " (0x%08lx)", static_cast<unsigned long>(hr));
  what += code;
  if (info && info->bstrDescription) what += ": " + Utf8(info->bstrDescription);
  throw HostError(what);
}

DISPID Object::Id(const wchar_t* name) const {
  if (!p_) ThrowCallError(name, E_POINTER, nullptr);
  DISPID id = DISPID_UNKNOWN;
  if (lookup_ == Lookup::Cached && Cache().Find(name, id)) return id;
  LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
  const HRESULT hr = p_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) ThrowCallError(name, hr, nullptr);
  if (lookup_ == Lookup::Cached) Cache().Add(name, id);
  return id;
}

Variant Object::Invoke(const wchar_t* name, WORD flags, const Variant* args, size_t count,
                       bool put) const {
  const DISPID id = Id(name);
  // DISPPARAMS takes the arguments last to first.
  std::vector<VARIANT> reversed(count);
  for (size_t i = 0; i < count; ++i) reversed[count - 1 - i] = args[i].Raw();
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = static_cast<UINT>(count);
  if (put) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  Variant result;
  EXCEPINFO info{};
  UINT argError = 0;
  const HRESULT hr = p_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                put ? nullptr : result.Get(), &info, &argError);
  if (FAILED(hr)) {
    struct Cleanup {
      EXCEPINFO& i;
      ~Cleanup() {
        SysFreeString(i.bstrSource);
        SysFreeString(i.bstrDescription);
        SysFreeString(i.bstrHelpFile);
      }
    } cleanup{info};
    ThrowCallError(name, hr == DISP_E_EXCEPTION && info.scode ? info.scode : hr, &info);
  }
  return result;
}

Variant Object::Call(const wchar_t* name, std::initializer_list<Variant> args) const {
  return Invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args.begin(), args.size(), false);
}

Object Object::Child(const wchar_t* name, std::initializer_list<Variant> args) const {
  Variant v = Call(name, args);
  IDispatch* d = v.Dispatch();
  if (!d) ThrowCallError(name, E_POINTER, nullptr);
  return Object(Ptr<IDispatch>::Share(d), lookup_);
}

void Object::Put(const wchar_t* name, const Variant& value,
                 std::initializer_list<Variant> args) const {
  std::vector<Variant> all(args.begin(), args.end());
  all.push_back(value);
  Invoke(name, DISPATCH_PROPERTYPUT, all.data(), all.size(), true);
}

}  // namespace tezlo::com
