#include "system/posix/posix_system.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "host/host_error.h"
#include "system/posix/folder_listing.h"
#include "system/posix/mount_table.h"
#include "system/posix/password_entry.h"
#include "system/posix/process_table.h"
#include "system/posix/text_file.h"
#include "system/posix/user_dirs.h"
#include "text/valid_utf8.h"

namespace tezlo {
namespace {

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string{} : std::string(value);
}

std::string PasswordHome() {
  const std::optional<PasswordEntry> entry = ReadPasswordEntry(getuid());
  return entry ? entry->home : std::string{};
}

}  // namespace

PosixSources PosixSources::FromEnvironment() {
  PosixSources sources;
  sources.home = Environment("HOME");
  if (sources.home.empty()) sources.home = PasswordHome();
  const std::string config = Environment("XDG_CONFIG_HOME");
  if (config.starts_with("/")) sources.configHome = config;
  return sources;
}

PosixSystem::PosixSystem(PosixSources sources) : sources_(std::move(sources)) {}

CalendarDate PosixSystem::Today() {
  const time_t now = time(nullptr);
  tm local{};
  if (localtime_r(&now, &local) == nullptr) throw HostError("the clock cannot be read");
  return CalendarDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::vector<ProcessInfo> PosixSystem::Processes() { return ReadProcesses(sources_.procRoot); }

std::vector<std::string> PosixSystem::DriveFolderListing() {
  const auto mounts = ReadTextFile(sources_.mountsFile);
  if (!mounts) throw HostError("the mounted file systems cannot be read");
  return FolderListing(ReadyMountPoints(ParseMounts(*mounts)));
}

std::vector<std::string> PosixSystem::DesktopItems() {
  const std::string desktop = UserDir("XDG_DESKTOP_DIR", "Desktop");
  const std::unique_ptr<DIR, DirCloser> dir(opendir(desktop.c_str()));
  if (!dir) throw HostError("the desktop folder cannot be read");
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name.empty() || name.front() == '.') continue;
    MakeValidUtf8(name);  // a name is bytes to the file system; the tools get text
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string PosixSystem::TemplateFolder() {
  return UserDir("XDG_DOCUMENTS_DIR", "Documents") + "/1/44";
}

PointerPosition PosixSystem::Pointer() {
  throw HostError("this system has no pointer position to report");
}

std::string PosixSystem::Home() const {
  if (sources_.home.empty()) throw HostError("the home folder is not known");
  return sources_.home;
}

// The folder user-dirs.dirs names for `key`, else home/`fallback`.
std::string PosixSystem::UserDir(const std::string& key, const std::string& fallback) const {
  const std::string home = Home();
  const std::string config = sources_.configHome.empty() ? home + "/.config" : sources_.configHome;
  if (const auto settings = ReadTextFile(config + "/user-dirs.dirs")) {
    if (auto folder = UserDirFromSettings(*settings, key, home)) return *folder;
  }
  return home + "/" + fallback;
}

}  // namespace tezlo
