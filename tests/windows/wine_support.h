// What the Windows tests share: the DLL under test, running a program to its end, pumping the
// thread's messages as Excel's loop would, and the registry as text.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "com/win32.h"

namespace tezlo::wintest {

// The Windows path of the tezlo.dll built next to this test program.
std::wstring DllPath();
// Runs the command line, waits at most `timeoutMs` and returns its exit code (-1: it did not
// start or did not end).
int Run(const std::wstring& commandLine, DWORD timeoutMs = 60000);
// Registers (or unregisters) the DLL silently with regsvr32; the exit code.
int Regsvr32(bool unregister);
// Dispatches this thread's messages until `done` holds or `timeoutMs` passes; whether it held.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Every value below `key` of HKEY_CURRENT_USER, keyed "subkey path|value name" ("" for the
// default value), DWORDs as "dword:N"; empty when the key does not exist.
std::map<std::wstring, std::wstring> RegistryTree(const std::wstring& key);
bool KeyExists(const std::wstring& key);
// The text of a value below HKEY_CURRENT_USER; empty when missing.
std::wstring RegistryText(const std::wstring& key, const wchar_t* name);

// Creates the class registered for `progId` and asks it for `iid`, as COM does on Windows, where
// per-user classes (HKEY_CURRENT_USER\Software\Classes) are part of HKEY_CLASSES_ROOT. Wine's
// COM reads only the machine's classes, so there the per-user registration is followed by hand:
// ProgID -> CLSID -> InprocServer32 -> DllGetClassObject. `clsid` receives the class found.
HRESULT CreateByProgId(const wchar_t* progId, REFIID iid, void** out, CLSID* clsid);

}  // namespace tezlo::wintest
