// The base of the automation doubles: an IDispatch whose members are answered by name. Every
// member name gets one DISPID for the whole process, as Excel's do.
#pragma once

#include <string>
#include <vector>

#include "com/variant.h"
#include "com/win32.h"

namespace tezlo::fake {

// One call: the arguments in the caller's order (optional ones left out are VT_ERROR
// DISP_E_PARAMNOTFOUND) and, for a property put, the value assigned.
struct Call {
  std::wstring member;
  std::vector<VARIANT> args;
  bool put = false;
  VARIANT value{};

  bool Given(size_t i) const {
    return i < args.size() && !(args[i].vt == VT_ERROR && args[i].scode == DISP_E_PARAMNOTFOUND);
  }
  // Argument i with references followed.
  const VARIANT& Arg(size_t i) const;
  int32_t Int(size_t i) const;
  double Double(size_t i) const;
  std::string Text(size_t i) const;
  bool Bool(size_t i) const;
  IDispatch* Object(size_t i) const;
  // The assigned value of a put.
  const VARIANT& Value() const;
};

// Thrown by a member for a run-time error; the caller gets DISP_E_EXCEPTION with this text.
struct Failure {
  std::string what;
};

class FakeDispatch : public IDispatch {
 public:
  FakeDispatch() = default;
  FakeDispatch(const FakeDispatch&) = delete;
  FakeDispatch& operator=(const FakeDispatch&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

  static DISPID IdOf(const std::wstring& name);

 protected:
  virtual ~FakeDispatch() = default;
  // Answers one call; returns false for a member the object does not have.
  virtual bool Answer(const Call& call, com::Variant& result) = 0;
  // Other interfaces the object offers.
  virtual void* Offer(REFIID) { return nullptr; }

 private:
  LONG refs_ = 1;
};

// A result holding a new reference to `object` (which the caller created with refcount 1).
com::Variant Hand(FakeDispatch* object);

}  // namespace tezlo::fake
