#include "system/posix/mount_table.h"

#include <dirent.h>

#include <algorithm>
#include <array>
#include <unordered_set>

namespace tezlo {
namespace {

// "\040" -> " ": the kernel writes blank, tab, line feed and backslash as three octal digits.
std::string Unescape(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string_view digits = field.substr(i + 1, 3);
      if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        out += static_cast<char>(((digits[0] - '0') << 6) | ((digits[1] - '0') << 3) |
                                 (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool CanReadFolder(const std::string& path) {
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return false;
  closedir(dir);
  return true;
}

}  // namespace

std::vector<MountEntry> ParseMounts(std::string_view text) {
  std::vector<MountEntry> entries;
  while (!text.empty()) {
    const size_t eol = text.find('\n');
    const std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() < 3) continue;
    entries.push_back(MountEntry{Unescape(fields[0]), Unescape(fields[1]), Unescape(fields[2])});
  }
  return entries;
}

bool IsPseudoFileSystem(std::string_view type) {
  static constexpr std::array<std::string_view, 31> kPseudo = {
      "autofs",    "binfmt_misc",     "bpf",         "cgroup",     "cgroup2",
      "configfs",  "debugfs",         "devpts",      "devtmpfs",   "efivarfs",
      "fusectl",   "hugetlbfs",       "mqueue",      "nsfs",       "pipefs",
      "proc",      "pstore",          "ramfs",       "rpc_pipefs", "securityfs",
      "selinuxfs", "sockfs",          "sysfs",       "tmpfs",      "tracefs",
      "nfsd",      "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs", "binder",
      "devfs"};
  return std::find(kPseudo.begin(), kPseudo.end(), type) != kPseudo.end();
}

std::vector<std::string> ReadyMountPoints(const std::vector<MountEntry>& entries) {
  std::vector<std::string> points;
  std::unordered_set<std::string> seen;
  for (const MountEntry& entry : entries) {
    if (IsPseudoFileSystem(entry.type)) continue;
    if (!seen.insert(entry.mountPoint).second) continue;
    if (CanReadFolder(entry.mountPoint)) points.push_back(entry.mountPoint);
  }
  return points;
}

}  // namespace tezlo
