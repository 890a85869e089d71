#include "shell/registration.h"

#include "shell/identity.h"

namespace tezlo::shell {

namespace {

const wchar_t* const kClasses = L"Software\\Classes\\";

std::wstring ClassKey() { return std::wstring(kClasses) + L"CLSID\\" + GuidText(CLSID_Connect); }
std::wstring ProgIdKey() { return std::wstring(kClasses) + kProgId; }
std::wstring TypeLibKey() { return std::wstring(kClasses) + L"TypeLib\\" + GuidText(LIBID_Text); }
std::wstring TypeLibVersionKey() { return TypeLibKey() + L"\\1.0"; }
std::wstring PlatformKey(bool win64) {
  return TypeLibVersionKey() + (win64 ? L"\\0\\win64" : L"\\0\\win32");
}

std::wstring Folder(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool KeyExists(const std::wstring& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

// Whether the key has neither subkeys nor values.
bool KeyEmpty(const std::wstring& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  DWORD subkeys = 0;
  DWORD values = 0;
  const LONG r = RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                  nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(h);
  return r == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

// Deletes `key` and then each parent up to (not including) `stop` while it is left empty.
void DeleteTreeAndEmptyParents(const std::wstring& key, const std::wstring& stop) {
  RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
  std::wstring parent = key;
  for (;;) {
    const size_t slash = parent.find_last_of(L'\\');
    if (slash == std::wstring::npos) return;
    parent.resize(slash);
    if (parent.size() <= stop.size() || !KeyEmpty(parent)) return;
    RegDeleteKeyW(HKEY_CURRENT_USER, parent.c_str());
  }
}

LONG Write(const RegistryEntry& e) {
  HKEY h = nullptr;
  LONG r = RegCreateKeyExW(HKEY_CURRENT_USER, e.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_WRITE, nullptr, &h, nullptr);
  if (r != ERROR_SUCCESS) return r;
  const wchar_t* name = e.name.empty() ? nullptr : e.name.c_str();
  if (e.isDword) {
    r = RegSetValueExW(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&e.number),
                       sizeof(DWORD));
  } else {
    r = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(e.text.c_str()),
                       static_cast<DWORD>((e.text.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(h);
  return r;
}

RegistryEntry Text(std::wstring key, std::wstring name, std::wstring text) {
  return RegistryEntry{std::move(key), std::move(name), false, std::move(text), 0};
}

}  // namespace

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::vector<RegistryEntry> RegistrationEntries(const std::wstring& dllPath, bool win64) {
  const std::wstring clsid = GuidText(CLSID_Connect);
  return {
      Text(ProgIdKey(), L"", kProgId),
      Text(ProgIdKey() + L"\\CLSID", L"", clsid),
      Text(ClassKey(), L"", kProgId),
      Text(ClassKey() + L"\\InprocServer32", L"", dllPath),
      Text(ClassKey() + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
      Text(ClassKey() + L"\\ProgID", L"", kProgId),
      Text(ClassKey() + L"\\TypeLib", L"", GuidText(LIBID_Text)),
      Text(TypeLibVersionKey(), L"", kTypeLibraryHelp),
      Text(TypeLibVersionKey() + L"\\FLAGS", L"", L"0"),
      Text(TypeLibVersionKey() + L"\\HELPDIR", L"", Folder(dllPath)),
      Text(PlatformKey(win64), L"", dllPath),
      Text(kAddInKey, L"FriendlyName", kFriendlyName),
      Text(kAddInKey, L"Description", kDescription),
      RegistryEntry{kAddInKey, L"LoadBehavior", true, L"", kLoadBehavior},
  };
}

std::vector<std::wstring> RegistrationTrees() {
  return {ProgIdKey(), ClassKey(), TypeLibKey(), kAddInKey};
}

HRESULT RegisterAddIn(const std::wstring& dllPath, bool win64) {
  for (const RegistryEntry& e : RegistrationEntries(dllPath, win64)) {
    const LONG r = Write(e);
    if (r != ERROR_SUCCESS) {
      UnregisterAddIn(win64);
      return HRESULT_FROM_WIN32(r);
    }
  }
  return S_OK;
}

HRESULT UnregisterAddIn(bool win64) {
  const std::wstring classes = L"Software\\Classes";
  DeleteTreeAndEmptyParents(ProgIdKey(), classes);
  DeleteTreeAndEmptyParents(ClassKey(), classes + L"\\CLSID");
  // The type library's version key is shared by the 32-bit and the 64-bit DLL: only this
  // DLL's platform entry goes, and the rest with the last of them.
  DeleteTreeAndEmptyParents(PlatformKey(win64), TypeLibVersionKey());
  if (!KeyExists(TypeLibVersionKey() + L"\\0")) {
    DeleteTreeAndEmptyParents(TypeLibVersionKey(), classes + L"\\TypeLib");
  }
  DeleteTreeAndEmptyParents(kAddInKey, L"Software\\Microsoft");
  return S_OK;
}

}  // namespace tezlo::shell
