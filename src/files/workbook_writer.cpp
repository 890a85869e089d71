// SaveWorkbook: the package's parts built in memory, zipped into a temporary file in the
// target's folder, flushed to disk, then renamed over the target.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "files/file_paths.h"
#include "files/package_builder.h"
#include "files/workbook_file.h"
#include "files/zip_writer.h"

namespace tezlo {

namespace {

bool SameFile(const std::string& a, const std::string& b) {
  if (AbsolutePath(a) == AbsolutePath(b)) return true;
  struct stat sa {};
  struct stat sb {};
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& s : items) out += (out.empty() ? "" : ", ") + s;
  return out;
}

std::string Errno() { return std::strerror(errno); }

// Flushes a file (or a folder's entry list) to the disk.
bool Sync(const std::string& path, bool folder) {
  const int fd = open(path.c_str(), (folder ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = fsync(fd) == 0;
  close(fd);
  return ok;
}

}  // namespace

void SaveWorkbook(const Workbook& book, const std::string& path) {
  const std::string what = "'" + path + "'";
  if (FileNameOf(path).empty()) throw FileError("cannot save " + what + ": no file name given");
  if (!book.UnmodelledContent().empty() && SameFile(path, book.UnmodelledSource())) {
    throw FileError(what + " holds content Tezlo does not keep (" + Joined(book.UnmodelledContent()) +
                    "); saving over it would lose that, so save the workbook under another name");
  }
  if (const std::string why = CannotWrite(book); !why.empty()) throw FileError("cannot save " + what + ": " + why);
  struct stat target {};
  const bool exists = stat(path.c_str(), &target) == 0;
  if (exists && S_ISDIR(target.st_mode)) throw FileError("cannot save " + what + ": it is a folder");

  const std::string folder = FolderOf(path);
  std::string temp = folder + "/." + FileNameOf(path) + ".tezlo-XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) throw FileError("cannot save " + what + ": cannot create a file in '" + folder + "': " + Errno());
  close(fd);
  temp = name.data();
  try {
    ZipWriter zip;
    try {
      BuildPackage(book, zip);
    } catch (const std::bad_alloc&) {
      throw FileError("cannot save " + what + ": not enough memory");
    }
    zip.Write(temp, what);
    // The new file gets the permissions of the one it replaces (a new one those of mkstemp's
    // owner-only file, widened by the umask as a newly created file would be).
    mode_t mode = 0;
    if (exists) {
      mode = target.st_mode & 07777;
    } else {
      const mode_t mask = umask(0);
      umask(mask);
      mode = 0666 & ~mask;
    }
    if (chmod(temp.c_str(), mode) != 0) throw FileError("cannot save " + what + ": " + Errno());
    if (!Sync(temp, false)) throw FileError("cannot save " + what + ": cannot flush it to disk: " + Errno());
    if (rename(temp.c_str(), path.c_str()) != 0) throw FileError("cannot save " + what + ": " + Errno());
  } catch (...) {
    unlink(temp.c_str());
    throw;
  }
  Sync(folder, true);
}

}  // namespace tezlo
