// The operating system as the tools see it on Windows: processes from WMI, the ready drives'
// root folders as the command interpreter lists them, the desktop folder as the shell names its
// items, the local clock and the pointer.
#pragma once

#include <string>
#include <vector>

#include "host/system.h"

namespace tezlo {

class WindowsSystem final : public System {
 public:
  // The template workbook's folder, fixed by the add-in's users' layout.
  static constexpr const char* kTemplateFolder = "D:\\My Documents\\1\\44";

  // GetLocalTime.
  CalendarDate Today() override;
  // WMI's Win32_Process instances, in its order: Caption, the owner from GetOwner (empty when it
  // reports failure), ProcessId, WorkingSetSize / 1024 and ExecutablePath. HostError when WMI
  // cannot be reached.
  std::vector<ProcessInfo> Processes() override;
  // The output of one "cmd.exe /c dir <drives>  /ad" over every ready drive's root, split at line
  // feeds (a carriage return stays at the end of its line). HostError when the command cannot
  // be started.
  std::vector<std::string> DriveFolderListing() override;
  // The names of the current user's desktop folder's items as the shell displays them.
  std::vector<std::string> DesktopItems() override;
  std::string TemplateFolder() override { return kTemplateFolder; }
  // GetCursorPos.
  PointerPosition Pointer() override;
};

// The command line of the drive listing for the given root folders ("C:\", "D:\", ...).
std::wstring DriveListingCommand(const std::vector<std::wstring>& roots);
// Splits a listing at line feeds only; the text after the last line feed is the last line.
std::vector<std::string> SplitAtLineFeeds(const std::string& text);

}  // namespace tezlo
