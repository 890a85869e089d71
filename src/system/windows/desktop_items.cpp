// The desktop folder's items as the shell names them (the shell's special folder 16, the
// current user's own desktop directory).
#include <shlobj.h>
#include <shlwapi.h>

#include "com/com_ptr.h"
#include "com/variant.h"
#include "com/win32.h"
#include "host/host_error.h"
#include "system/windows/windows_system.h"

namespace tezlo {

std::vector<std::string> WindowsSystem::DesktopItems() {
  PIDLIST_ABSOLUTE folderId = nullptr;
  if (FAILED(SHGetFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, &folderId))) {
    throw HostError("the desktop folder is not known");
  }
  com::Ptr<IShellFolder> folder;
  const HRESULT bound = SHBindToObject(nullptr, folderId, nullptr, IID_IShellFolder,
                                       reinterpret_cast<void**>(folder.Out()));
  CoTaskMemFree(folderId);
  if (FAILED(bound)) throw HostError("the desktop folder cannot be opened");
  com::Ptr<IEnumIDList> items;
  if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.Out()) != S_OK) {
    return {};  // S_FALSE: nothing to enumerate
  }
  std::vector<std::string> names;
  PITEMID_CHILD item = nullptr;
  while (items->Next(1, &item, nullptr) == S_OK) {
    STRRET name;
    wchar_t* text = nullptr;
    if (SUCCEEDED(folder->GetDisplayNameOf(item, SHGDN_INFOLDER, &name)) &&
        SUCCEEDED(StrRetToStrW(&name, item, &text))) {
      names.push_back(com::Utf8(text, wcslen(text)));
      CoTaskMemFree(text);
    }
    CoTaskMemFree(item);
  }
  return names;
}

}  // namespace tezlo
