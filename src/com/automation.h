// Late-bound calls into an automation object by member name, the way a script calls Excel:
// arguments in order, optional ones left out with Variant::Missing(). A failing call becomes a
// HostError that names the member.
#pragma once

#include "com/win32.h"

#include <initializer_list>
#include <string>

#include "com/com_ptr.h"
#include "com/variant.h"

namespace tezlo::com {

// How a member name becomes its DISPID. Excel gives each member name one DISPID across all of
// its objects, so its names are looked up once per process and kept; other servers (Office's
// command bars, WMI, the shell) are asked every time.
enum class Lookup { Cached, EachCall };

class Object {
 public:
  Object() = default;
  explicit Object(Ptr<IDispatch> p, Lookup lookup = Lookup::Cached)
      : p_(std::move(p)), lookup_(lookup) {}
  // Shares the caller's reference.
  static Object Of(IDispatch* p, Lookup lookup = Lookup::Cached) {
    return Object(Ptr<IDispatch>::Share(p), lookup);
  }

  explicit operator bool() const { return static_cast<bool>(p_); }
  IDispatch* Get() const { return p_.Get(); }

  // Property get or method call (as a script's obj.Name(args) does).
  Variant Call(const wchar_t* name, std::initializer_list<Variant> args = {}) const;
  // The same, for a result that must be an object; HostError for Nothing.
  Object Child(const wchar_t* name, std::initializer_list<Variant> args = {}) const;
  // Property put: obj.Name(args) = value.
  void Put(const wchar_t* name, const Variant& value,
           std::initializer_list<Variant> args = {}) const;

  DISPID Id(const wchar_t* name) const;

 private:
  Variant Invoke(const wchar_t* name, WORD flags, const Variant* args, size_t count,
                 bool put) const;

  Ptr<IDispatch> p_;
  Lookup lookup_ = Lookup::Cached;
};

// The HostError for a failed call: the member and, when the server gave one, its description.
[[noreturn]] void ThrowCallError(const wchar_t* member, HRESULT hr, const EXCEPINFO* info);

}  // namespace tezlo::com
