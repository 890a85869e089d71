#include "system/posix/folder_listing.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <memory>

#include "text/valid_utf8.h"

namespace tezlo {
namespace {

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

struct FolderEntry {
  std::string name;
  std::string linkTarget;  // empty unless the entry is a link to a folder
  time_t changed = 0;
};

std::string JoinPath(const std::string& root, const std::string& name) {
  return (!root.empty() && root.back() == '/') ? root + name : root + "/" + name;
}

std::string Timestamp(time_t when) {
  tm local{};
  if (localtime_r(&when, &local) == nullptr) return "                 ";
  char text[32];
  const size_t n = strftime(text, sizeof text, "%Y-%m-%d  %H:%M", &local);
  return std::string(text, n);
}

std::string PadRight(std::string s, size_t width) {
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

std::string PadLeft(const std::string& s, size_t width) {
  return s.size() < width ? std::string(width - s.size(), ' ') + s : s;
}

// The folders directly in `root`, by name; nothing when it cannot be read.
bool ReadFolders(const std::string& root, std::vector<FolderEntry>& folders) {
  const std::unique_ptr<DIR, DirCloser> dir(opendir(root.c_str()));
  if (!dir) return false;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name.empty() || name.front() == '.') continue;
    const std::string path = JoinPath(root, name);
    struct stat own {};
    if (lstat(path.c_str(), &own) != 0) continue;
    FolderEntry folder{name, {}, own.st_mtime};
    if (S_ISLNK(own.st_mode)) {
      struct stat target {};
      if (stat(path.c_str(), &target) != 0 || !S_ISDIR(target.st_mode)) continue;
      std::string link(4096, '\0');
      const ssize_t n = readlink(path.c_str(), link.data(), link.size());
      link.resize(n > 0 ? static_cast<size_t>(n) : 0);
      folder.linkTarget = link.empty() ? "?" : link;
    } else if (!S_ISDIR(own.st_mode)) {
      continue;
    }
    folders.push_back(std::move(folder));
  }
  std::sort(folders.begin(), folders.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return true;
}

}  // namespace

std::vector<std::string> FolderListing(const std::vector<std::string>& roots) {
  std::vector<std::string> lines;
  for (const std::string& root : roots) {
    std::vector<FolderEntry> folders;
    if (!ReadFolders(root, folders)) continue;
    lines.push_back(ValidUtf8(" Directory of " + root));
    lines.push_back("");
    for (const FolderEntry& f : folders) {
      const std::string kind = f.linkTarget.empty() ? "<DIR>" : "<SYMLINKD>";
      std::string line = Timestamp(f.changed) + "    " + PadRight(kind, 15) + f.name;
      if (!f.linkTarget.empty()) line += " [" + f.linkTarget + "]";
      MakeValidUtf8(line);  // names are bytes to the file system; the lines are text
      lines.push_back(std::move(line));
    }
    lines.push_back(PadLeft(std::to_string(folders.size()), 16) + " Dir(s)");
    lines.push_back("");
  }
  lines.push_back("");
  return lines;
}

}  // namespace tezlo
