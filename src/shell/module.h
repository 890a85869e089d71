// The DLL itself: its instance handle and path, and the count of live objects and server locks
// that DllCanUnloadNow reports.
#pragma once

#include <string>

#include "com/win32.h"

namespace tezlo::shell {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
// The full path of the DLL file.
std::wstring ModulePath();

// Every COM object and every LockServer(TRUE) holds the module.
void LockModule();
void UnlockModule();
bool ModuleInUse();

// An object's reference count, shared by the classes of the add-in.
class RefCount {
 public:
  RefCount() { LockModule(); }
  RefCount(const RefCount&) = delete;
  RefCount& operator=(const RefCount&) = delete;
  ~RefCount() { UnlockModule(); }
  ULONG Add() { return static_cast<ULONG>(InterlockedIncrement(&count_)); }
  ULONG Release() { return static_cast<ULONG>(InterlockedDecrement(&count_)); }

 private:
  LONG count_ = 1;
};

}  // namespace tezlo::shell
