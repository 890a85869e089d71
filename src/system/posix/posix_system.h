// The operating system as the tools see it on Linux: processes from /proc, the mounted file
// systems' root folders, the XDG desktop and documents folders, the local clock.
#pragma once

#include <string>
#include <vector>

#include "host/system.h"

namespace tezlo {

// Where the facts are read from; tests point these at fixture files.
struct PosixSources {
  std::string procRoot = "/proc";
  std::string mountsFile = "/proc/self/mounts";
  std::string home;        // the user's home folder; empty: not known
  std::string configHome;  // where user-dirs.dirs lives; empty: home + "/.config"

  // $HOME (else the password entry's home folder) and $XDG_CONFIG_HOME when it is absolute.
  static PosixSources FromEnvironment();
};

class PosixSystem final : public System {
 public:
  explicit PosixSystem(PosixSources sources = PosixSources::FromEnvironment());

  // The local calendar date.
  CalendarDate Today() override;
  // Every process with a readable status in the proc root, by identifier.
  std::vector<ProcessInfo> Processes() override;
  // The root folders of every mounted real file system that can be read (see folder_listing.h).
  std::vector<std::string> DriveFolderListing() override;
  // The names of the desktop folder's entries, hidden ones left out, sorted. HostError when the
  // folder cannot be read.
  std::vector<std::string> DesktopItems() override;
  // The documents folder + "/1/44" (it may not exist). HostError when the home folder is unknown.
  std::string TemplateFolder() override;
  // A plain Linux host has no pointer of its own: HostError. Front ends with a screen supply it.
  PointerPosition Pointer() override;

 private:
  std::string Home() const;
  std::string UserDir(const std::string& key, const std::string& fallback) const;

  PosixSources sources_;
};

}  // namespace tezlo
