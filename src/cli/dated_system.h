// A System that forwards to another and, when given a date, takes it as today.
#pragma once

#include <optional>

#include "host/system_wrapper.h"

namespace tezlo {

class DatedSystem final : public SystemWrapper {
 public:
  DatedSystem(System& base, std::optional<CalendarDate> today)
      : SystemWrapper(base), today_(today) {}

  CalendarDate Today() override { return today_ ? *today_ : SystemWrapper::Today(); }

 private:
  std::optional<CalendarDate> today_;
};

}  // namespace tezlo
