// Saves under pressure: signals during the write, leftovers of killed saves, links, ownership
// and read-only files. The signal cases fork a child that saves in a loop and stop it at the
// moment its temporary file appears (inotify), as a user's Ctrl+C or a shutdown would.
#include <gtest/gtest.h>

#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "files/temp_file.h"
#include "files/workbook_file.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

// A workbook whose save takes long enough to be caught in the middle.
std::unique_ptr<Workbook> BigBook() {
  auto wb = std::make_unique<Workbook>("big", 1048576, 16384, 7, 1);
  Sheet& s = wb->GetSheet(1);
  for (int32_t r = 1; r <= 10000; ++r) {
    for (int32_t c = 1; c <= 13; ++c) {
      s.Edit({r, c}, [&](CellRecord& rec) {
        rec.value = Value::Text("topic " + std::to_string(r * 13 + c));
      });
    }
  }
  return wb;
}

std::vector<std::string> TempFiles(const std::filesystem::path& dir, const std::string& name) {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    const std::string n = e.path().filename().string();
    if (n.rfind(TempFilePrefix(name), 0) == 0) out.push_back(n);
  }
  return out;
}

// Starts a child that saves `book` to `path` over and over; returns its pid.
pid_t StartSavingChild(const Workbook& book, const std::string& path) {
  const pid_t pid = fork();
  if (pid == 0) {
    for (;;) {
      try {
        SaveWorkbook(book, path);
      } catch (...) {
        _exit(3);
      }
    }
  }
  return pid;
}

// What became of the temporary file a signal caught.
enum class Fate { Removed, RenamedIntoPlace, Left };

struct Caught {
  Fate fate = Fate::Left;
  int status = 0;
};

// Sends `sig` to a saving child as soon as a temporary file is created, waits for the child to
// end, and reports what became of that file.
Caught SignalDuringSave(const Workbook& book, const ScratchDir& dir, int sig) {
  const int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  inotify_add_watch(watch, dir.Dir().c_str(), IN_CREATE | IN_DELETE | IN_MOVED_FROM);
  const pid_t child = StartSavingChild(book, dir.Path("book.xlsx"));
  std::string temp;
  Caught caught;
  alignas(inotify_event) char buffer[64 * 1024];
  bool ended = false;
  for (;;) {
    pollfd ready{watch, POLLIN, 0};
    // Until the signal is sent, wait for the child's next file; after it, only drain what the
    // child did before it ended.
    if (poll(&ready, 1, ended ? 0 : 30000) <= 0) {
      if (ended) break;
      ADD_FAILURE() << "the saving child made no temporary file";
      kill(child, SIGKILL);
      waitpid(child, &caught.status, 0);
      break;
    }
    const ssize_t n = read(watch, buffer, sizeof buffer);
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      const std::string name = event->len ? event->name : "";
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (temp.empty() && (event->mask & IN_CREATE) &&
          name.rfind(TempFilePrefix("book.xlsx"), 0) == 0) {
        kill(child, sig);
        temp = name;
        waitpid(child, &caught.status, 0);
        ended = true;
      } else if (!temp.empty() && name == temp) {
        caught.fate = (event->mask & IN_DELETE) ? Fate::Removed : Fate::RenamedIntoPlace;
      }
    }
  }
  close(watch);
  return caught;
}

TEST(SafeSave, ACaughtSignalDuringASaveRemovesItsTemporaryFileAndEndsTheProgram) {
  ScratchDir dir;
  const auto book = BigBook();
  SaveWorkbook(*book, dir.Path("book.xlsx"));
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    bool hit = false;
    for (int attempt = 0; attempt < 20 && !hit; ++attempt) {
      const Caught caught = SignalDuringSave(*book, dir, sig);
      ASSERT_TRUE(WIFSIGNALED(caught.status))
          << "signal " << sig << " exit "
          << (WIFEXITED(caught.status) ? WEXITSTATUS(caught.status) : -1);
      EXPECT_EQ(WTERMSIG(caught.status), sig);
      EXPECT_TRUE(TempFiles(dir.Dir(), "book.xlsx").empty()) << "signal " << sig;
      hit = caught.fate == Fate::Removed;
    }
    EXPECT_TRUE(hit) << "no save was caught while its temporary file existed (signal " << sig
                     << ")";
    EXPECT_NO_THROW(LoadWorkbook(dir.Path("book.xlsx")));
  }
}

TEST(SafeSave, AKilledSavesLeftoverGoesWithTheNextSaveButALiveWritersFileStays) {
  ScratchDir dir;
  const auto book = BigBook();
  const std::string path = dir.Path("book.xlsx");
  SaveWorkbook(*book, path);
  // SIGKILL cannot be caught: the file stays until a later save finds its writer gone.
  for (int attempt = 0; attempt < 20 && TempFiles(dir.Dir(), "book.xlsx").empty(); ++attempt) {
    SignalDuringSave(*book, dir, SIGKILL);
  }
  ASSERT_EQ(TempFiles(dir.Dir(), "book.xlsx").size(), 1u);
  const std::string dead = TempFiles(dir.Dir(), "book.xlsx").front();

  // A writer that still runs: its file carries its process number and its lock.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t writer = fork();
  if (writer == 0) {
    const std::string own =
        dir.Path(TempFilePrefix("book.xlsx") + std::to_string(getpid()) + "-abcdef");
    const int fd = open(own.c_str(), O_CREAT | O_RDWR, 0600);
    flock(fd, LOCK_EX);
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char x;
  ASSERT_EQ(read(ready[0], &x, 1), 1);
  const std::string live = TempFilePrefix("book.xlsx") + std::to_string(writer) + "-abcdef";

  SaveWorkbook(*book, path);
  std::vector<std::string> left = TempFiles(dir.Dir(), "book.xlsx");
  EXPECT_EQ(left, std::vector<std::string>{live})
      << "the dead writer's " << dead << " should be gone";

  kill(writer, SIGKILL);
  waitpid(writer, nullptr, 0);
  SaveWorkbook(*book, path);
  EXPECT_TRUE(TempFiles(dir.Dir(), "book.xlsx").empty());
  close(ready[0]);
  close(ready[1]);
}

TEST(SafeSave, SymbolicAndHardLinksKeepPointingAtTheSavedWorkbook) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.Path("real"));
  Workbook wb("Book1", 1048576, 16384, 7, 1);
  wb.GetSheet(1).Edit({1, 1}, [](CellRecord& r) { r.value = Value::Text("saved"); });

  // A chain of two links, the second relative to its own folder.
  WriteFileBytes(dir.Path("real/target.xlsx"), "old");
  std::filesystem::create_symlink("real/target.xlsx", dir.Path("middle.xlsx"));
  std::filesystem::create_symlink(dir.Path("middle.xlsx"), dir.Path("book.xlsx"));
  SaveWorkbook(wb, dir.Path("book.xlsx"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("book.xlsx")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("middle.xlsx")));
  EXPECT_EQ(LoadWorkbook(dir.Path("real/target.xlsx"))->GetSheet(1).Find({1, 1})->value,
            Value::Text("saved"));
  EXPECT_TRUE(TempFiles(dir.Dir(), "book.xlsx").empty());
  EXPECT_TRUE(TempFiles(dir.Path("real"), "target.xlsx").empty());

  // A file with a second name: both names see the new content, still one file.
  WriteFileBytes(dir.Path("a.xlsx"), "old");
  std::filesystem::create_hard_link(dir.Path("a.xlsx"), dir.Path("b.xlsx"));
  struct stat before {};
  stat(dir.Path("a.xlsx").c_str(), &before);
  SaveWorkbook(wb, dir.Path("a.xlsx"));
  struct stat after {};
  stat(dir.Path("b.xlsx").c_str(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_nlink, 2u);
  EXPECT_EQ(ReadFileBytes(dir.Path("b.xlsx")), ReadFileBytes(dir.Path("a.xlsx")));
  EXPECT_EQ(LoadWorkbook(dir.Path("b.xlsx"))->GetSheet(1).Find({1, 1})->value,
            Value::Text("saved"));
  EXPECT_TRUE(TempFiles(dir.Dir(), "a.xlsx").empty());

  // A loop of links is refused.
  std::filesystem::create_symlink(dir.Path("loop2.xlsx"), dir.Path("loop1.xlsx"));
  std::filesystem::create_symlink(dir.Path("loop1.xlsx"), dir.Path("loop2.xlsx"));
  EXPECT_THROW(SaveWorkbook(wb, dir.Path("loop1.xlsx")), FileError);
}

TEST(SafeSave, OwnerGroupAndModeAreKeptAndAGroupThatCannotBeIsReported) {
  if (geteuid() != 0) GTEST_SKIP() << "staging other owners needs root";
  ScratchDir dir;
  Workbook wb("Book1", 1048576, 16384, 7, 1);
  const std::string path = dir.Path("shared.xlsx");
  WriteFileBytes(path, "old");
  ASSERT_EQ(chown(path.c_str(), 1234, 5678), 0);
  ASSERT_EQ(chmod(path.c_str(), 0660), 0);
  EXPECT_TRUE(SaveWorkbook(wb, path).notes.empty());
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 1234u);
  EXPECT_EQ(st.st_gid, 5678u);
  EXPECT_EQ(st.st_mode & 07777, 0660u);

  // An unprivileged saver may not give the file a group it is not in: the save goes ahead and
  // says so.
  constexpr uid_t kNobody = 65534;
  chmod(dir.Dir().c_str(), 0777);
  ASSERT_EQ(chown(path.c_str(), kNobody, 0), 0);
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  const pid_t child = fork();
  if (child == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
    try {
      const SaveReport saved = SaveWorkbook(wb, path);
      for (const std::string& note : saved.notes) (void)!write(report[1], note.data(), note.size());
    } catch (...) {
      _exit(1);
    }
    _exit(0);
  }
  close(report[1]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  std::string notes(4096, '\0');
  notes.resize(
      static_cast<size_t>(std::max<ssize_t>(read(report[0], notes.data(), notes.size()), 0)));
  close(report[0]);
  EXPECT_NE(notes.find("could not be kept"), std::string::npos) << notes;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, kNobody);
  EXPECT_EQ(st.st_mode & 07777, 0660u);
}

TEST(SafeSave, AReadOnlyFileIsNotReplacedUnlessForced) {
  ScratchDir dir;
  Workbook wb("Book1", 1048576, 16384, 7, 1);
  const std::string path = dir.Path("frozen.xlsx");
  WriteFileBytes(path, "keep me");
  chmod(path.c_str(), 0444);
  EXPECT_THROW(SaveWorkbook(wb, path), ReadOnlyFileError);
  EXPECT_EQ(ReadFileBytes(path), "keep me");
  SaveOptions force;
  force.force = true;
  SaveWorkbook(wb, path, force);
  EXPECT_NO_THROW(LoadWorkbook(path));
  struct stat st {};
  stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
}

}  // namespace
}  // namespace tezlo
