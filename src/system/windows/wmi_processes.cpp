// The running processes from Windows Management Instrumentation, reached through its script
// moniker as a script would: InstancesOf("Win32_Process"), and GetOwner on each instance.
#include <cstdlib>

#include "com/automation.h"
#include "com/win32.h"
#include "host/host_error.h"
#include "system/windows/windows_system.h"

namespace tezlo {

namespace {

using com::Lookup;
using com::Object;
using com::Variant;

// A VARIANT argument the callee writes into (VT_BYREF | VT_VARIANT).
Variant OutArgument(VARIANT& slot) {
  Variant v;
  v.Get()->vt = VT_BYREF | VT_VARIANT;
  v.Get()->pvarVal = &slot;
  return v;
}

std::string Owner(const Object& process) {
  VARIANT user;
  VARIANT domain;
  VariantInit(&user);
  VariantInit(&domain);
  std::string name;
  try {
    const int32_t result =
        process.Call(L"GetOwner", {OutArgument(user), OutArgument(domain)}).ToInt();
    if (result == 0 && user.vt == VT_BSTR) name = com::Utf8(user.bstrVal);
  } catch (const HostError&) {
    // An owner that cannot be read stays empty.
  }
  VariantClear(&user);
  VariantClear(&domain);
  return name;
}

std::string TextOrEmpty(const Object& o, const wchar_t* member) {
  try {
    const Variant v = o.Call(member);
    return v.Type() == VT_NULL ? std::string() : v.ToText();
  } catch (const HostError&) {
    return {};
  }
}

}  // namespace

std::vector<ProcessInfo> WindowsSystem::Processes() {
  com::Ptr<IDispatch> services;
  if (FAILED(CoGetObject(L"winmgmts:", nullptr, IID_IDispatch,
                         reinterpret_cast<void**>(services.Out())))) {
    throw HostError("WMI cannot be reached");
  }
  const Object set =
      Object(services, Lookup::EachCall).Child(L"InstancesOf", {Variant::Text("Win32_Process")});
  const Variant enumVariant = set.Call(L"_NewEnum");
  com::Ptr<IEnumVARIANT> items;
  IUnknown* unknown =
      enumVariant.Type() == VT_UNKNOWN ? enumVariant.Raw().punkVal : enumVariant.Dispatch();
  if (!unknown ||
      FAILED(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(items.Out())))) {
    throw HostError("WMI gave no process list");
  }
  std::vector<ProcessInfo> processes;
  VARIANT item;
  VariantInit(&item);
  while (items->Next(1, &item, nullptr) == S_OK) {
    if (item.vt == VT_DISPATCH && item.pdispVal) {
      const Object process = Object::Of(item.pdispVal, Lookup::EachCall);
      ProcessInfo info;
      info.name = TextOrEmpty(process, L"Caption");
      info.owner = Owner(process);
      try {
        info.id = process.Call(L"ProcessId").ToInt();
      } catch (const HostError&) {
      }
      const std::string workingSet = TextOrEmpty(process, L"WorkingSetSize");
      info.memoryKb = std::strtod(workingSet.c_str(), nullptr) / 1024;
      info.path = TextOrEmpty(process, L"ExecutablePath");
      processes.push_back(std::move(info));
    }
    VariantClear(&item);
  }
  return processes;
}

}  // namespace tezlo
