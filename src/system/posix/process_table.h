// Running processes read from a proc file system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/system.h"

namespace tezlo {

// The fields of /proc/<pid>/status the process list uses.
struct ProcessStatus {
  std::string name;                 // "Name:"
  std::optional<uint32_t> ownerId;  // "Uid:", the effective user (second field)
  double residentKb = 0;            // "VmRSS:" in kB; 0 for kernel threads, which have none
};

// Nothing when the text has no "Name:" line.
std::optional<ProcessStatus> ParseProcessStatus(std::string_view text);

// The user name of an identifier, or the empty text when it has none.
std::string UserName(uint32_t uid);

// Every numbered folder of `procRoot` whose status can be read, in identifier order: its name
// (the executable's full file name where the kernel cut the name short), owner, identifier,
// resident memory and executable path (empty where the link cannot be read). A process that
// ends while it is read is left out. HostError when `procRoot` cannot be read.
std::vector<ProcessInfo> ReadProcesses(const std::string& procRoot);

}  // namespace tezlo
