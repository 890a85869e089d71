// A System that forwards every question to another, as HostWrapper does for the Host: a system
// that answers some questions its own way (a fixed date, the pointer where the front end saw it)
// derives from it and overrides only those.
#pragma once

#include <string>
#include <vector>

#include "host/system.h"

namespace tezlo {

class SystemWrapper : public System {
 public:
  explicit SystemWrapper(System& target) : target_(target) {}

  CalendarDate Today() override { return target_.Today(); }
  std::vector<ProcessInfo> Processes() override { return target_.Processes(); }
  std::vector<std::string> DriveFolderListing() override { return target_.DriveFolderListing(); }
  std::vector<std::string> DesktopItems() override { return target_.DesktopItems(); }
  std::string TemplateFolder() override { return target_.TemplateFolder(); }
  PointerPosition Pointer() override { return target_.Pointer(); }

 private:
  System& target_;
};

}  // namespace tezlo
