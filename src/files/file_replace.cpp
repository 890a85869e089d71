#include "files/file_replace.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>

#include "files/file_errors.h"
#include "host/path_parts.h"
#include "files/temp_file.h"

namespace tezlo {

namespace {

// Symbolic links followed at the most, as the kernel does.
constexpr int kMaxLinks = 40;

std::string Errno() { return std::strerror(errno); }

std::string GroupName(gid_t gid) {
  char buffer[4096];
  group entry{};
  group* found = nullptr;
  if (getgrgid_r(gid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr)
    return found->gr_name;
  return std::to_string(gid);
}

std::string OwnerName(uid_t uid) {
  char buffer[4096];
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr)
    return found->pw_name;
  return std::to_string(uid);
}

void WriteAll(int fd, std::string_view bytes, off_t at, const std::string& what,
              const char* where) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        pwrite(fd, bytes.data() + done, bytes.size() - done, at + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw FileError("cannot save " + what + ": cannot write " + where + ": " + Errno());
    done += static_cast<size_t>(n);
  }
}

void Flush(int fd, const std::string& what, const char* where) {
  if (fsync(fd) != 0)
    throw FileError("cannot save " + what + ": cannot flush " + where + " to disk: " + Errno());
}

void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Gives the new file the old one's owner and group where the saver may; notes what it could not.
void KeepOwnership(int fd, const struct stat& old, const std::string& what,
                   std::vector<std::string>& notes) {
  if (fchown(fd, old.st_uid, old.st_gid) == 0) return;
  struct stat now {};
  fstat(fd, &now);
  if (now.st_gid != old.st_gid && fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    fstat(fd, &now);
    notes.push_back(what + " now belongs to the group " + GroupName(now.st_gid) + ": its group " +
                    GroupName(old.st_gid) + " could not be kept (" + Errno() + ")");
  }
  if (now.st_uid != old.st_uid) {
    notes.push_back(what + " now belongs to " + OwnerName(now.st_uid) + " instead of " +
                    OwnerName(old.st_uid));
  }
}

// Rewrites the content of a file with several names through one of them, so that all its links
// see it. The complete copy in `temp` is kept when this fails half-way.
void RewriteInPlace(const std::string& target, std::string_view bytes, TempFile& temp,
                    const std::string& what) {
  const int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) throw FileError("cannot save " + what + ": " + Errno());
  try {
    try {
      WriteAll(fd, bytes, 0, what, "it");
      if (ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        throw FileError("cannot save " + what + ": cannot set its size: " + Errno());
      }
      Flush(fd, what, "it");
    } catch (const FileError& e) {
      temp.Keep();
      throw FileError(std::string(e.what()) + "; a complete copy is kept in '" + temp.Path() + "'");
    }
  } catch (...) {
    close(fd);
    throw;
  }
  close(fd);
}

}  // namespace

std::string FollowLinks(const std::string& path, const std::string& what) {
  std::string current = path;
  for (int i = 0; i < kMaxLinks; ++i) {
    struct stat st {};
    if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = readlink(current.c_str(), target.data(), target.size());
    if (n < 0) throw FileError("cannot save " + what + ": cannot read the link: " + Errno());
    target.resize(static_cast<size_t>(n));
    current = target.front() == '/' ? target : FolderOf(current) + "/" + target;
  }
  throw FileError("cannot save " + what + ": its symbolic links form a loop");
}

std::vector<std::string> ReplaceFile(const std::string& path, std::string_view bytes,
                                     const std::string& what, const ReplaceOptions& options) {
  const std::string target = FollowLinks(path, what);
  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) throw FileError("cannot save " + what + ": " + Errno());
  if (exists && S_ISDIR(old.st_mode)) throw FileError("cannot save " + what + ": it is a folder");
  if (exists && !S_ISREG(old.st_mode)) {
    throw FileError("cannot save " + what +
                    ": it is not a regular file (a device, pipe or socket)");
  }
  // Write permission for nobody is the owner's word that the file stays as it is; root could
  // write it all the same, so the mode decides, not access().
  if (exists && !options.force &&
      ((old.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0)) {
    throw ReadOnlyFileError(what + " is read-only, so it was not replaced");
  }

  const std::string folder = FolderOf(target);
  const std::string name = FileNameOf(target);
  RemoveLeftoverTempFiles(folder, name);
  TempFile temp(folder, name, what);
  WriteAll(temp.Fd(), bytes, 0, what, "the new content");
  std::vector<std::string> notes;
  if (exists && old.st_nlink > 1) {
    Flush(temp.Fd(), what, "the new content");
    RewriteInPlace(target, bytes, temp, what);
    return notes;
  }
  if (exists) KeepOwnership(temp.Fd(), old, what, notes);
  mode_t mode = 0;
  if (exists) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  if (fchmod(temp.Fd(), mode) != 0) throw FileError("cannot save " + what + ": " + Errno());
  Flush(temp.Fd(), what, "the new content");
  if (rename(temp.Path().c_str(), target.c_str()) != 0)
    throw FileError("cannot save " + what + ": " + Errno());
  temp.Keep();
  SyncFolder(folder);
  return notes;
}

}  // namespace tezlo
