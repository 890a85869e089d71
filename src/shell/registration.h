// Per-user registration of the add-in (HKEY_CURRENT_USER only, so no administrator rights are
// needed): the class Connect with its ProgID, the type library, and Excel's add-in record.
#pragma once

#include <string>
#include <vector>

#include "com/win32.h"

namespace tezlo::shell {

// One registry value the registration writes: key below HKEY_CURRENT_USER, value name (empty
// for the key's default value), and either text or a DWORD.
struct RegistryEntry {
  std::wstring key;
  std::wstring name;
  bool isDword = false;
  std::wstring text;
  DWORD number = 0;
};

// Everything DllRegisterServer writes for the DLL at `dllPath`; `win64` picks the type
// library's platform subkey.
std::vector<RegistryEntry> RegistrationEntries(const std::wstring& dllPath, bool win64);

// The key trees DllUnregisterServer deletes, each below HKEY_CURRENT_USER.
std::vector<std::wstring> RegistrationTrees();

// Writes every entry; on a failure removes what it wrote and returns the failure.
HRESULT RegisterAddIn(const std::wstring& dllPath, bool win64);
// Removes every key and value RegisterAddIn writes, and the parent keys it leaves empty.
HRESULT UnregisterAddIn(bool win64);

std::wstring GuidText(const GUID& guid);

}  // namespace tezlo::shell
