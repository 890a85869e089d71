#include "files/temp_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "files/workbook_file.h"

namespace tezlo {

namespace {

// ---- Removal on a fatal signal ----
// The handler may only use async-signal-safe calls, so the paths live in fixed buffers and the
// table is changed with the signals blocked.
constexpr std::array<int, 4> kFatalSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr size_t kSlots = 8;
char gPaths[kSlots][PATH_MAX];
volatile sig_atomic_t gUsed[kSlots];
int gRegistered = 0;
struct sigaction gPrevious[kFatalSignals.size()];
bool gInstalled[kFatalSignals.size()];

void OnFatalSignal(int sig) {
  for (size_t i = 0; i < kSlots; ++i) {
    if (gUsed[i]) unlink(gPaths[i]);
  }
  // Hand the signal on to whatever would have had it: the default action ends the program.
  for (size_t i = 0; i < kFatalSignals.size(); ++i) {
    if (kFatalSignals[i] == sig && gInstalled[i]) sigaction(sig, &gPrevious[i], nullptr);
  }
  raise(sig);
}

class SignalsBlocked {
 public:
  SignalsBlocked() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : kFatalSignals) sigaddset(&set, sig);
    pthread_sigmask(SIG_BLOCK, &set, &old_);
  }
  ~SignalsBlocked() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  SignalsBlocked(const SignalsBlocked&) = delete;
  SignalsBlocked& operator=(const SignalsBlocked&) = delete;

 private:
  sigset_t old_;
};

// Returns the slot, or -1 when the path does not fit (the file is then only removed on ordinary
// ways out and by the next save).
int Register(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  SignalsBlocked blocked;
  for (size_t i = 0; i < kSlots; ++i) {
    if (gUsed[i]) continue;
    std::memcpy(gPaths[i], path.c_str(), path.size() + 1);
    gUsed[i] = 1;
    if (gRegistered++ == 0) {
      for (size_t k = 0; k < kFatalSignals.size(); ++k) {
        struct sigaction current {};
        sigaction(kFatalSignals[k], nullptr, &current);
        // A signal the program ignores does not end it: nothing to clean up for it.
        gInstalled[k] = current.sa_handler != SIG_IGN;
        if (!gInstalled[k]) continue;
        struct sigaction ours {};
        ours.sa_handler = OnFatalSignal;
        sigemptyset(&ours.sa_mask);
        sigaction(kFatalSignals[k], &ours, &gPrevious[k]);
      }
    }
    return static_cast<int>(i);
  }
  return -1;
}

void Unregister(int slot) {
  if (slot < 0) return;
  SignalsBlocked blocked;
  gUsed[slot] = 0;
  if (--gRegistered == 0) {
    for (size_t k = 0; k < kFatalSignals.size(); ++k) {
      if (gInstalled[k]) sigaction(kFatalSignals[k], &gPrevious[k], nullptr);
      gInstalled[k] = false;
    }
  }
}

int SlotOf(const std::string& path) {
  for (size_t i = 0; i < kSlots; ++i) {
    if (gUsed[i] && path == gPaths[i]) return static_cast<int>(i);
  }
  return -1;
}

bool ProcessRuns(long pid) {
  if (pid <= 0 || pid > INT_MAX) return false;
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

std::string TempFilePrefix(std::string_view name) { return "." + std::string(name) + ".tezlo-"; }

TempFile::TempFile(const std::string& folder, const std::string& name, const std::string& what) {
  std::string pattern = folder + "/" + TempFilePrefix(name) + std::to_string(getpid()) + "-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  // Registered before the file exists, so that no moment passes with a file a signal would leave.
  {
    SignalsBlocked blocked;
    fd_ = mkostemp(buffer.data(), O_CLOEXEC);
    if (fd_ >= 0) {
      path_ = buffer.data();
      Register(path_);
    }
  }
  if (fd_ < 0) {
    throw FileError("cannot save " + what + ": cannot create a file in '" + folder +
                    "': " + std::strerror(errno));
  }
  flock(fd_, LOCK_EX | LOCK_NB);
}

TempFile::~TempFile() {
  if (fd_ < 0) return;
  if (remove_) unlink(path_.c_str());
  Unregister(SlotOf(path_));
  close(fd_);
}

int RemoveLeftoverTempFiles(const std::string& folder, const std::string& name) {
  const std::string prefix = TempFilePrefix(name);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), &closedir);
  if (!dir) return 0;
  std::vector<std::string> candidates;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view entryName = entry->d_name;
    if (entryName.size() > prefix.size() && entryName.substr(0, prefix.size()) == prefix) {
      candidates.emplace_back(entryName);
    }
  }
  int removed = 0;
  for (const std::string& candidate : candidates) {
    // ".NAME.tezlo-PID-XXXXXX": a writer that still runs keeps its file. Names without a process
    // number were made before files carried one; the lock alone decides for them.
    const std::string rest = candidate.substr(prefix.size());
    const size_t dash = rest.find('-');
    if (dash != std::string::npos) {
      char* end = nullptr;
      const long pid = std::strtol(rest.c_str(), &end, 10);
      if (end == rest.c_str() + dash && pid != getpid() && ProcessRuns(pid)) continue;
    }
    const std::string path = folder + "/" + candidate;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st {};
    // Only regular files, and only when no process holds the writer's lock.
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && SlotOf(path) < 0 &&
        flock(fd, LOCK_EX | LOCK_NB) == 0 && unlink(path.c_str()) == 0) {
      ++removed;
    }
    close(fd);
  }
  return removed;
}

}  // namespace tezlo
