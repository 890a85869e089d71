#include "system/windows/windows_system.h"

#include "com/win32.h"
#include "host/host_error.h"

namespace tezlo {

CalendarDate WindowsSystem::Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return CalendarDate{now.wYear, now.wMonth, now.wDay};
}

PointerPosition WindowsSystem::Pointer() {
  POINT p;
  if (!GetCursorPos(&p)) throw HostError("GetCursorPos failed");
  return PointerPosition{p.x, p.y};
}

}  // namespace tezlo
