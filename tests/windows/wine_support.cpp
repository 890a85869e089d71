#include "wine_support.h"

#include <vector>

namespace tezlo::wintest {

std::wstring DllPath() {
  std::string unix = TEZLO_DLL_UNIX_PATH;
  std::wstring path = L"Z:";
  for (char c : unix) path.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
  return path;
}

int Run(const std::wstring& commandLine, DWORD timeoutMs) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  } else {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

int Regsvr32(bool unregister) {
  return Run(std::wstring(L"regsvr32.exe /s ") + (unregister ? L"/u " : L"") + L"\"" + DllPath() +
             L"\"");
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (GetTickCount64() > end) return false;
    Sleep(10);
  }
}

namespace {

void Collect(HKEY key, const std::wstring& path, std::map<std::wstring, std::wstring>& out) {
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    BYTE data[2048];
    DWORD dataLength = sizeof data;
    DWORD type = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataLength) !=
        ERROR_SUCCESS)
      break;
    std::wstring value;
    if (type == REG_DWORD) {
      value = L"dword:" + std::to_wstring(*reinterpret_cast<DWORD*>(data));
    } else if (type == REG_SZ) {
      value = reinterpret_cast<wchar_t*>(data);
    } else {
      value = L"type:" + std::to_wstring(type);
    }
    out[path + L"|" + name] = value;
  }
  std::vector<std::wstring> subkeys;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    subkeys.push_back(name);
  }
  for (const std::wstring& sub : subkeys) {
    HKEY child = nullptr;
    if (RegOpenKeyExW(key, sub.c_str(), 0, KEY_READ, &child) == ERROR_SUCCESS) {
      Collect(child, path.empty() ? sub : path + L"\\" + sub, out);
      RegCloseKey(child);
    }
  }
}

}  // namespace

std::map<std::wstring, std::wstring> RegistryTree(const std::wstring& key) {
  std::map<std::wstring, std::wstring> out;
  HKEY h = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return out;
  Collect(h, L"", out);
  RegCloseKey(h);
  return out;
}

bool KeyExists(const std::wstring& key) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

std::wstring RegistryText(const std::wstring& key, const wchar_t* name) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return data;
}

HRESULT CreateByProgId(const wchar_t* progId, REFIID iid, void** out, CLSID* clsid) {
  *out = nullptr;
  if (SUCCEEDED(CLSIDFromProgID(progId, clsid))) {
    return CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out);
  }
  const std::wstring classes = L"Software\\Classes\\";
  const std::wstring id = RegistryText(classes + progId + L"\\CLSID", nullptr);
  if (id.empty() || FAILED(CLSIDFromString(id.c_str(), clsid))) return REGDB_E_CLASSNOTREG;
  const std::wstring dll = RegistryText(classes + L"CLSID\\" + id + L"\\InprocServer32", nullptr);
  HMODULE module = LoadLibraryW(dll.c_str());  // kept loaded, as COM keeps a server in use
  if (!module) return REGDB_E_CLASSNOTREG;
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  if (!get) return REGDB_E_CLASSNOTREG;
  IClassFactory* factory = nullptr;
  HRESULT hr = get(*clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(nullptr, iid, out);
  factory->Release();
  return hr;
}

}  // namespace tezlo::wintest
