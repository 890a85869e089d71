// A System whose every answer is set by the test: date, processes, drive listing, desktop
// items, template folder and pointer. Any source can be made unreadable (it then throws
// HostError, as a real source that cannot be read does).
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/system.h"

namespace tezlo {

class FixedSystem : public System {
 public:
  enum class Source { Today, Processes, DriveFolderListing, DesktopItems, TemplateFolder, Pointer };

  void SetToday(CalendarDate date) { today_ = date; }
  void SetProcesses(std::vector<ProcessInfo> processes) { processes_ = std::move(processes); }
  void SetDriveFolderListing(std::vector<std::string> lines) { listing_ = std::move(lines); }
  void SetDesktopItems(std::vector<std::string> items) { desktop_ = std::move(items); }
  void SetTemplateFolder(std::string folder) { templateFolder_ = std::move(folder); }
  void SetPointer(PointerPosition at) { pointer_ = at; }
  void SetUnreadable(Source source, bool unreadable = true);

  CalendarDate Today() override;
  std::vector<ProcessInfo> Processes() override;
  std::vector<std::string> DriveFolderListing() override;
  std::vector<std::string> DesktopItems() override;
  std::string TemplateFolder() override;
  PointerPosition Pointer() override;

 private:
  void ThrowIfUnreadable(Source source, const char* what) const;

  CalendarDate today_{2024, 1, 1};
  std::vector<ProcessInfo> processes_;
  std::vector<std::string> listing_{""};
  std::vector<std::string> desktop_;
  std::string templateFolder_;
  PointerPosition pointer_;
  std::set<Source> unreadable_;
};

}  // namespace tezlo
