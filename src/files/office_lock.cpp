#include "files/office_lock.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "files/file_errors.h"
#include "host/path_parts.h"
#include "text/valid_utf8.h"

namespace tezlo {

namespace {

constexpr std::string_view kTezloProfileFolder = "/.config/tezlo/";
constexpr size_t kMaxLockBytes = 64 * 1024;

std::string ReadSmallFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string out(kMaxLockBytes, '\0');
  in.read(out.data(), static_cast<std::streamsize>(out.size()));
  out.resize(static_cast<size_t>(in.gcount()));
  return out;
}

std::string ReadFd(int fd) {
  std::string out(kMaxLockBytes, '\0');
  const ssize_t n = pread(fd, out.data(), out.size(), 0);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return out;
}

std::string HomeOf(uid_t uid) {
  char buffer[4096];
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr)
    return found->pw_dir;
  return {};
}

std::string HostName() {
  char name[256] = {};
  gethostname(name, sizeof name - 1);
  return name;
}

// Field 22 of /proc/PID/stat: when the process started, in clock ticks since boot. Together with
// the process number it names one process, even after the number is reused.
std::optional<unsigned long long> StartTime(long pid) {
  const std::string stat = ReadSmallFile("/proc/" + std::to_string(pid) + "/stat");
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(stat.substr(close + 1));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
    if (i == 22) return std::strtoull(field.c_str(), nullptr, 10);
  }
  return std::nullopt;
}

std::string WithoutTrailingSlash(std::string url) {
  while (url.size() > 1 && url.back() == '/') url.pop_back();
  return url;
}

// The profiles the running LibreOffice processes of this host use.
std::vector<std::string> OfficeProfilesInUse() {
  std::vector<std::string> profiles;
  std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), &closedir);
  if (!proc) return profiles;
  while (const dirent* entry = readdir(proc.get())) {
    const std::string pid = entry->d_name;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string cmdline = ReadSmallFile("/proc/" + pid + "/cmdline");
    std::vector<std::string> args;
    for (size_t at = 0; at < cmdline.size();) {
      const size_t end = cmdline.find('\0', at);
      args.push_back(cmdline.substr(at, end == std::string::npos ? std::string::npos : end - at));
      at = end == std::string::npos ? cmdline.size() : end + 1;
    }
    if (args.empty()) continue;
    const std::string program = FileNameOf(args.front());
    if (program.rfind("soffice", 0) != 0 && program != "oosplash") continue;
    std::string profile;
    for (const std::string& arg : args) {
      constexpr std::string_view kOption = "-env:UserInstallation=";
      if (arg.rfind(kOption, 0) == 0) profile = arg.substr(kOption.size());
    }
    if (profile.empty()) {
      struct stat st {};
      if (stat(("/proc/" + pid).c_str(), &st) != 0) continue;
      profile = "file://" + HomeOf(st.st_uid) + "/.config/libreoffice/4";
    }
    profiles.push_back(WithoutTrailingSlash(profile));
  }
  return profiles;
}

// "file://HOME/.config/tezlo/PID-START" for a Tezlo process's lock; nothing for other profiles.
std::optional<std::pair<long, unsigned long long>> TezloProcessOf(const std::string& profile) {
  const size_t at = profile.rfind(kTezloProfileFolder);
  if (at == std::string::npos) return std::nullopt;
  const std::string id = profile.substr(at + kTezloProfileFolder.size());
  char* end = nullptr;
  const long pid = std::strtol(id.c_str(), &end, 10);
  if (end == id.c_str() || *end != '-') return std::nullopt;
  return std::make_pair(pid, std::strtoull(end + 1, nullptr, 10));
}

std::string Escaped(const std::string& field) {
  std::string out;
  for (char c : field) {
    if (c == ',' || c == ';' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%d.%m.%Y %H:%M", &local);
  return text;
}

std::string OwnerText(const LockOwner& owner, const std::string& workbook) {
  return "'" + workbook + "' is open in another program, by " +
         (owner.Shown().empty() ? std::string("an unknown user") : owner.Shown()) +
         (owner.host.empty() ? "" : " on " + owner.host) +
         (owner.since.empty() ? "" : " since " + owner.since);
}

}  // namespace

std::optional<LockOwner> ParseOfficeLock(std::string_view content) {
  std::vector<std::string> fields(1);
  bool ended = false;
  for (size_t i = 0; i < content.size() && !ended; ++i) {
    const char c = content[i];
    if (c == '\\' && i + 1 < content.size()) {
      fields.back() += content[++i];
    } else if (c == ',') {
      fields.emplace_back();
    } else if (c == ';') {
      ended = true;
    } else {
      fields.back() += c;
    }
  }
  if (!ended || fields.size() < 5) return std::nullopt;
  return LockOwner{fields[0], fields[1], fields[2], fields[3], fields[4]};
}

std::string FormatOfficeLock(const LockOwner& o) {
  return Escaped(o.name) + "," + Escaped(o.user) + "," + Escaped(o.host) + "," + Escaped(o.since) +
         "," + Escaped(o.profile) + ";";
}

std::optional<std::string> ParseExcelOwnerFile(std::string_view content) {
  // The first byte is the length of the name that follows in the local code page; after the
  // 54-byte first field the same name may follow in UTF-16, which is preferred when it is there.
  if (content.size() < 2) return std::nullopt;
  const size_t length = static_cast<unsigned char>(content[0]);
  if (length == 0 || length + 1 > content.size()) return std::nullopt;
  if (content.size() >= 56) {
    const size_t wide = static_cast<unsigned char>(content[54]) |
                        static_cast<size_t>(static_cast<unsigned char>(content[55])) << 8;
    if (wide == length && 56 + 2 * wide <= content.size()) {
      std::string name;
      bool wellFormed = true;
      for (size_t i = 0; i < wide; ++i) {
        const unsigned unit = static_cast<unsigned char>(content[56 + 2 * i]) |
                              static_cast<unsigned>(static_cast<unsigned char>(content[57 + 2 * i]))
                                  << 8;
        if (unit >= 0xD800 && unit < 0xE000) {
          wellFormed = false;  // a surrogate pair: a name beyond the first plane, rare enough
          break;
        }
        AppendUtf8(name, static_cast<char32_t>(unit));
      }
      if (wellFormed) return name;
    }
  }
  std::string name(content.substr(1, length));
  // Bytes outside ASCII are in a code page we cannot know: shown as '?'.
  for (char& c : name) {
    if (static_cast<unsigned char>(c) >= 0x80 || static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return name;
}

std::string OfficeLockPath(const std::string& workbook) {
  return FolderOf(workbook) + "/.~lock." + FileNameOf(workbook) + "#";
}

std::string ExcelOwnerPath(const std::string& workbook) {
  return FolderOf(workbook) + "/~$" + FileNameOf(workbook);
}

LockOwner OwnLockOwner() {
  static const LockOwner own = [] {
    LockOwner o;
    const uid_t uid = geteuid();
    char buffer[4096];
    passwd entry{};
    passwd* found = nullptr;
    std::string home;
    if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
      o.user = found->pw_name;
      home = found->pw_dir;
      const std::string gecos = found->pw_gecos ? found->pw_gecos : "";
      o.name = gecos.substr(0, gecos.find(','));
    } else {
      o.user = std::to_string(uid);
    }
    o.host = HostName();
    const long pid = getpid();
    o.profile = "file://" + home + std::string(kTezloProfileFolder) + std::to_string(pid) + "-" +
                std::to_string(StartTime(pid).value_or(0));
    return o;
  }();
  LockOwner now = own;
  now.since = Now();
  return now;
}

bool LockIsLive(const LockOwner& owner) {
  const LockOwner own = OwnLockOwner();
  if (owner.profile == own.profile && owner.host == own.host) return false;
  if (owner.host != own.host) return true;
  if (const auto process = TezloProcessOf(owner.profile)) {
    const auto start = StartTime(process->first);
    return start && *start == process->second;
  }
  const std::string profile = WithoutTrailingSlash(owner.profile);
  for (const std::string& used : OfficeProfilesInUse()) {
    if (used == profile) return true;
  }
  return false;
}

std::optional<LockOwner> ForeignLockOwner(const std::string& workbook) {
  if (const auto owner = ParseOfficeLock(ReadSmallFile(OfficeLockPath(workbook)))) {
    if (LockIsLive(*owner)) return owner;
  }
  struct stat st {};
  const std::string excel = ExcelOwnerPath(workbook);
  if (stat(excel.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    LockOwner owner;
    owner.user = ParseExcelOwnerFile(ReadSmallFile(excel)).value_or("");
    owner.name = owner.user.empty() ? "" : owner.user + " (Excel)";
    return owner;
  }
  return std::nullopt;
}

void RefuseWhenLockedByOthers(const std::string& workbook) {
  if (const auto owner = ForeignLockOwner(workbook)) {
    throw LockedFileError(OwnerText(*owner, workbook), owner->Shown());
  }
}

WorkbookLock WorkbookLock::Acquire(const std::string& workbook) {
  const std::string path = OfficeLockPath(workbook);
  for (int attempt = 0; attempt < 5; ++attempt) {
    bool created = true;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0 && errno == EEXIST) {
      created = false;
      fd = open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    }
    if (fd < 0) {
      if (errno == ENOENT) continue;  // removed between the two opens
      return WorkbookLock();          // no lock can be kept in this folder
    }
    auto give_up = [&] {
      if (created) unlink(path.c_str());
      close(fd);
    };
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      // Another Tezlo process holds it right now (only Tezlo locks the lock file itself); it
      // may not have written its name yet.
      const std::optional<LockOwner> owner = ParseOfficeLock(ReadFd(fd));
      close(fd);
      if (!owner)
        throw LockedFileError("'" + workbook + "' is being opened by another Tezlo process", "");
      throw LockedFileError(OwnerText(*owner, workbook), owner->Shown());
    }
    // The file may have been removed (and another made) between open and flock.
    struct stat held {};
    struct stat named {};
    if (fstat(fd, &held) != 0 || stat(path.c_str(), &named) != 0 || held.st_ino != named.st_ino ||
        held.st_dev != named.st_dev) {
      close(fd);
      continue;
    }
    if (const auto owner = ParseOfficeLock(ReadFd(fd)); owner && LockIsLive(*owner)) {
      close(fd);
      throw LockedFileError(OwnerText(*owner, workbook), owner->Shown());
    }
    struct stat excel {};
    if (stat(ExcelOwnerPath(workbook).c_str(), &excel) == 0) {
      give_up();
      RefuseWhenLockedByOthers(workbook);
    }
    const std::string content = FormatOfficeLock(OwnLockOwner());
    if (ftruncate(fd, 0) != 0 ||
        pwrite(fd, content.data(), content.size(), 0) != static_cast<ssize_t>(content.size())) {
      give_up();
      return WorkbookLock();
    }
    fsync(fd);
    return WorkbookLock(fd, path, content);
  }
  throw LockedFileError("'" + workbook + "' is being opened by another program; try again", "");
}

WorkbookLock::WorkbookLock(WorkbookLock&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), content_(std::move(other.content_)) {
  other.fd_ = -1;
}

WorkbookLock& WorkbookLock::operator=(WorkbookLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    content_ = std::move(other.content_);
    other.fd_ = -1;
  }
  return *this;
}

WorkbookLock::~WorkbookLock() { Release(); }

void WorkbookLock::Release() {
  if (fd_ < 0) return;
  // Removed only while it is still ours: another program may have taken over a lock it judged
  // stale.
  struct stat held {};
  struct stat named {};
  if (fstat(fd_, &held) == 0 && stat(path_.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
      ReadFd(fd_) == content_) {
    unlink(path_.c_str());
  }
  close(fd_);
  fd_ = -1;
}

}  // namespace tezlo
