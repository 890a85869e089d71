// The lock files office programs keep beside an open document, read and written as they do.
//
// LibreOffice writes ".~lock.NAME#" beside NAME while it has NAME open: one line
// "Full Name,user,host,DD.MM.YYYY HH:MM,profile URL;" (commas, semicolons and backslashes inside
// a field are escaped with a backslash). Excel writes an owner file "~$NAME" that starts with the
// owner's name. Tezlo holds the LibreOffice lock while it has a workbook open, so that each
// program sees the other, and its lock's profile names the Tezlo process itself.
//
// A lock is live when its owner may still have the file open. On another host that cannot be
// told, so it is live; on this host it is live while a running office process uses the profile
// it names (a LibreOffice started with that user installation, or the Tezlo process it names).
// An Excel owner file carries no host, so it always counts as live.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tezlo {

struct LockOwner {
  std::string name;  // the office user's full name; may be empty
  std::string user;  // the system user
  std::string host;
  std::string since;    // "DD.MM.YYYY HH:MM"
  std::string profile;  // the owner's office profile, as a URL
  // The name to show: the full name, else the user.
  std::string Shown() const { return name.empty() ? user : name; }
  bool operator==(const LockOwner&) const = default;
};

// The lock file content; nothing for text that is not one.
std::optional<LockOwner> ParseOfficeLock(std::string_view content);
std::string FormatOfficeLock(const LockOwner& owner);
// The owner's name in an Excel owner file; nothing for content too short to hold one.
std::optional<std::string> ParseExcelOwnerFile(std::string_view content);

std::string OfficeLockPath(const std::string& workbook);
std::string ExcelOwnerPath(const std::string& workbook);

// The owner this process writes into its locks.
LockOwner OwnLockOwner();
// Whether the lock's owner may still hold the file (see above). Locks of this process are not.
bool LockIsLive(const LockOwner& owner);

// The live owner of a lock on `workbook` that is not this process's, if any (the LibreOffice
// lock first, then Excel's owner file).
std::optional<LockOwner> ForeignLockOwner(const std::string& workbook);
// LockedFileError naming the owner when ForeignLockOwner finds one.
void RefuseWhenLockedByOthers(const std::string& workbook);

// The LibreOffice lock of one workbook, held from Acquire until destruction, which removes it.
// Between Tezlo processes the lock file also carries an flock, so two of them never both take it.
class WorkbookLock {
 public:
  // Takes the lock (a stale one is taken over). LockedFileError when a live owner holds it.
  // A folder where no lock file can be made (read-only) gives a lock that holds nothing.
  static WorkbookLock Acquire(const std::string& workbook);
  WorkbookLock() = default;
  WorkbookLock(WorkbookLock&& other) noexcept;
  WorkbookLock& operator=(WorkbookLock&& other) noexcept;
  WorkbookLock(const WorkbookLock&) = delete;
  WorkbookLock& operator=(const WorkbookLock&) = delete;
  ~WorkbookLock();

  bool Held() const { return fd_ >= 0; }
  void Release();

 private:
  WorkbookLock(int fd, std::string path, std::string content)
      : fd_(fd), path_(std::move(path)), content_(std::move(content)) {}
  int fd_ = -1;
  std::string path_;
  std::string content_;
};

}  // namespace tezlo
