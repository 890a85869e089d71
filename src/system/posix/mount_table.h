// The mounted file systems, as /proc/self/mounts lists them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tezlo {

struct MountEntry {
  std::string device;
  std::string mountPoint;
  std::string type;
  bool operator==(const MountEntry&) const = default;
};

// One entry per well-formed line ("device mount-point type options ..."), in file order, with
// the octal escapes of blanks, tabs, line feeds and backslashes ("\040") decoded.
std::vector<MountEntry> ParseMounts(std::string_view text);

// File systems that hold no user files: the kernel's views (proc, sysfs, cgroup, ...) and the
// memory-backed ones (tmpfs, devtmpfs, ramfs).
bool IsPseudoFileSystem(std::string_view type);

// The mount points of the real file systems in `entries`, each once (where one is mounted over
// another, at its first place in the list), keeping only those whose root folder can be read.
std::vector<std::string> ReadyMountPoints(const std::vector<MountEntry>& entries);

}  // namespace tezlo
