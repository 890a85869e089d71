// SaveWorkbook: the package's parts built and zipped in memory, then handed to ReplaceFile.
#include <sys/stat.h>

#include <new>
#include <vector>

#include "files/file_paths.h"
#include "host/path_parts.h"
#include "files/file_replace.h"
#include "files/office_lock.h"
#include "files/package_builder.h"
#include "files/workbook_file.h"
#include "files/zip_writer.h"
#include "memory/display_text.h"

namespace tezlo {

namespace {

bool SameFile(const std::string& a, const std::string& b) {
  if (AbsolutePath(a) == AbsolutePath(b)) return true;
  struct stat sa {};
  struct stat sb {};
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// At most ten items, then how many more there are.
std::string ListForMessage(const std::vector<std::string>& items) {
  constexpr size_t kShown = 10;
  std::string out;
  for (size_t i = 0; i < items.size() && i < kShown; ++i) out += (i == 0 ? "" : ", ") + items[i];
  if (items.size() > kShown)
    out += " and " + GroupThousands(std::to_string(items.size() - kShown)) + " more";
  return out;
}

// The zipped package; `what` names the workbook in messages.
std::string PackageBytes(const Workbook& book, const std::string& what) {
  try {
    ZipWriter zip;
    BuildPackage(book, zip);
    return zip.Bytes(what);
  } catch (const std::bad_alloc&) {
    throw FileError("cannot save " + what + ": not enough memory");
  }
}

}  // namespace

std::string SaveWorkbookToBytes(const Workbook& book) {
  return PackageBytes(book, "'" + book.Name() + "'");
}

SaveReport SaveWorkbook(const Workbook& book, const std::string& path, const SaveOptions& options) {
  const std::string what = "'" + path + "'";
  if (FileNameOf(path).empty()) throw FileError("cannot save " + what + ": no file name given");
  if (!book.UnmodelledContent().empty() && SameFile(path, book.UnmodelledSource())) {
    throw FileError(what + " holds content Tezlo does not keep (" +
                    ListForMessage(book.UnmodelledContent()) +
                    "); saving over it would lose that, so save the workbook under another name");
  }
  if (const std::string why = CannotWrite(book); !why.empty())
    throw FileError("cannot save " + what + ": " + why);
  RefuseWhenLockedByOthers(path);
  const std::string bytes = PackageBytes(book, what);
  ReplaceOptions replace;
  replace.force = options.force;
  return SaveReport{ReplaceFile(path, bytes, what, replace)};
}

}  // namespace tezlo
