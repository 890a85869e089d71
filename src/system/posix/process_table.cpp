#include "system/posix/process_table.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <memory>

#include "host/host_error.h"
#include "host/path_parts.h"
#include "system/posix/password_entry.h"
#include "system/posix/text_file.h"
#include "text/ascii.h"
#include "text/valid_utf8.h"

namespace tezlo {
namespace {

// The kernel keeps at most 15 bytes of a process name.
constexpr size_t kKernelNameLimit = 15;

template <typename T>
std::optional<T> LeadingUnsigned(std::string_view s) {
  s = TrimWhiteSpace(s);
  T value{};
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc{} || end == s.data()) return std::nullopt;
  return value;
}

std::optional<int64_t> ProcessId(const char* name) {
  const std::string_view s(name);
  if (s.empty() || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  int64_t id = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), id);
  if (ec != std::errc{}) return std::nullopt;
  return id;
}

std::string ReadLink(const std::string& path) {
  std::string target(4096, '\0');
  const ssize_t n = readlink(path.c_str(), target.data(), target.size());
  if (n <= 0) return {};
  target.resize(static_cast<size_t>(n));
  return target;
}

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

}  // namespace

std::optional<ProcessStatus> ParseProcessStatus(std::string_view text) {
  ProcessStatus status;
  bool named = false;
  while (!text.empty()) {
    const size_t eol = text.find('\n');
    const std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, colon);
    const std::string_view rest = line.substr(colon + 1);
    if (key == "Name") {
      status.name = std::string(TrimWhiteSpace(rest));
      named = true;
    } else if (key == "Uid") {
      // Real, effective, saved and file-system user: the effective one owns the process.
      std::string_view fields = TrimWhiteSpace(rest);
      const size_t gap = fields.find_first_of(" \t");
      if (gap != std::string_view::npos)
        status.ownerId = LeadingUnsigned<uint32_t>(fields.substr(gap));
    } else if (key == "VmRSS") {
      if (const auto kb = LeadingUnsigned<uint64_t>(rest))
        status.residentKb = static_cast<double>(*kb);
    }
  }
  if (!named) return std::nullopt;
  return status;
}

std::string UserName(uint32_t uid) {
  const std::optional<PasswordEntry> entry = ReadPasswordEntry(uid);
  return entry ? entry->name : std::string{};
}

std::vector<ProcessInfo> ReadProcesses(const std::string& procRoot) {
  const std::unique_ptr<DIR, DirCloser> dir(opendir(procRoot.c_str()));
  if (!dir) throw HostError("the process table cannot be read");
  std::vector<int64_t> ids;
  while (const dirent* entry = readdir(dir.get())) {
    if (const auto id = ProcessId(entry->d_name)) ids.push_back(*id);
  }
  std::sort(ids.begin(), ids.end());

  std::vector<ProcessInfo> processes;
  processes.reserve(ids.size());
  for (const int64_t id : ids) {
    const std::string folder = procRoot + "/" + std::to_string(id);
    const auto text = ReadTextFile(folder + "/status");
    if (!text) continue;
    const auto status = ParseProcessStatus(*text);
    if (!status) continue;
    ProcessInfo info;
    info.id = id;
    info.path = ReadLink(folder + "/exe");
    info.name = status->name;
    const std::string fileName = FileNameOf(info.path);
    if (info.name.size() == kKernelNameLimit && fileName.size() > kKernelNameLimit &&
        fileName.starts_with(info.name)) {
      info.name = fileName;
    }
    if (status->ownerId) info.owner = UserName(*status->ownerId);
    // Names and paths are bytes to the kernel (and a name cut at 15 bytes may end inside a
    // character); the tools get well-formed text.
    MakeValidUtf8(info.name);
    MakeValidUtf8(info.path);
    MakeValidUtf8(info.owner);
    info.memoryKb = status->residentKb;
    processes.push_back(std::move(info));
  }
  return processes;
}

}  // namespace tezlo
