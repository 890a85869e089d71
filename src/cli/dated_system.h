// A System that forwards to another and, when given a date, takes it as today.
#pragma once

#include <optional>

#include "host/system.h"

namespace tezlo {

class DatedSystem final : public System {
 public:
  DatedSystem(System& base, std::optional<CalendarDate> today) : base_(base), today_(today) {}

  CalendarDate Today() override { return today_ ? *today_ : base_.Today(); }
  std::vector<ProcessInfo> Processes() override { return base_.Processes(); }
  std::vector<std::string> DriveFolderListing() override { return base_.DriveFolderListing(); }
  std::vector<std::string> DesktopItems() override { return base_.DesktopItems(); }
  std::string TemplateFolder() override { return base_.TemplateFolder(); }
  PointerPosition Pointer() override { return base_.Pointer(); }

 private:
  System& base_;
  std::optional<CalendarDate> today_;
};

}  // namespace tezlo
