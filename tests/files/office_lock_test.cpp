// Lock files as office programs keep them: the formats, and who wins when two processes want the
// same workbook.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "files/office_lock.h"
#include "files/workbook_file.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

TEST(OfficeLock, TheFormatsReadAsTheOfficeProgramsWriteThem) {
  // As LibreOffice writes it, and with every character that needs escaping.
  const auto lo = ParseOfficeLock(",root,vm,08.12.2026 15:25,file:///tmp/lotest/profile;");
  ASSERT_TRUE(lo);
  EXPECT_EQ(lo->Shown(), "root");
  EXPECT_EQ(lo->host, "vm");
  EXPECT_EQ(lo->profile, "file:///tmp/lotest/profile");
  const LockOwner odd{"Wang, Li; \\ 王", "wl", "h,1", "01.02.2026 03:04", "file:///a;b"};
  EXPECT_EQ(ParseOfficeLock(FormatOfficeLock(odd)), odd);
  EXPECT_EQ(odd.Shown(), "Wang, Li; \\ 王");
  EXPECT_FALSE(ParseOfficeLock("no fields here"));
  EXPECT_FALSE(ParseOfficeLock(",a,b,c;"));

  // Excel's owner file: the name's length, the name, padding to 54 bytes, then the name again
  // in UTF-16.
  std::string owner(1, '\x04');
  owner += "Anna";
  owner.resize(54, ' ');
  owner += std::string("\x04\x00", 2);
  for (char c : std::string("Anna")) owner += std::string{c, '\0'};
  owner.resize(162, ' ');
  EXPECT_EQ(ParseExcelOwnerFile(owner), "Anna");
  EXPECT_EQ(ParseExcelOwnerFile(std::string("\x03"
                                            "Bob")),
            "Bob");
  EXPECT_FALSE(
      ParseExcelOwnerFile(std::string("\x09"
                                      "Bob")));

  EXPECT_EQ(OfficeLockPath("/x/y/book.xlsx"), "/x/y/.~lock.book.xlsx#");
  EXPECT_EQ(ExcelOwnerPath("book.xlsx"), "./~$book.xlsx");
}

TEST(OfficeLock, OneProcessHoldsTheWorkbookUntilItEndsAndThenItsLockIsStale) {
  ScratchDir dir;
  const std::string book = dir.Path("book.xlsx");
  Workbook wb("Book1", 1048576, 16384, 7, 1);
  SaveWorkbook(wb, book);

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    WorkbookLock lock = WorkbookLock::Acquire(book);
    (void)!write(ready[1], lock.Held() ? "y" : "n", 1);
    pause();
    _exit(0);
  }
  char held = 0;
  ASSERT_EQ(read(ready[0], &held, 1), 1);
  ASSERT_EQ(held, 'y');
  const std::string content = ReadFileBytes(OfficeLockPath(book));
  EXPECT_EQ(ParseOfficeLock(content)->host, OwnLockOwner().host);

  // A second process is refused, by name, and cannot save over the workbook either.
  try {
    WorkbookLock::Acquire(book);
    ADD_FAILURE() << "two processes held the lock";
  } catch (const LockedFileError& e) {
    EXPECT_EQ(e.Owner(), OwnLockOwner().Shown());
    EXPECT_NE(std::string(e.what()).find("is open in another program"), std::string::npos)
        << e.what();
  }
  EXPECT_THROW(SaveWorkbook(wb, book), LockedFileError);

  // Killed, it leaves its lock file, which the next process takes over.
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(ReadFileBytes(OfficeLockPath(book)), content);
  {
    WorkbookLock lock = WorkbookLock::Acquire(book);
    EXPECT_TRUE(lock.Held());
    EXPECT_NE(ReadFileBytes(OfficeLockPath(book)), content);
    EXPECT_NO_THROW(SaveWorkbook(wb, book));  // its own lock does not stop it
  }
  EXPECT_FALSE(std::filesystem::exists(OfficeLockPath(book)));
  close(ready[0]);
  close(ready[1]);
}

TEST(OfficeLock, LocksOfOtherHostsAndExcelOwnerFilesAreRespectedStaleProfilesAreNot) {
  ScratchDir dir;
  const std::string book = dir.Path("book.xlsx");
  const std::string host = OwnLockOwner().host;

  // A LibreOffice of this host whose profile no running process uses: stale.
  WriteFileBytes(OfficeLockPath(book),
                 ",ann," + host + ",01.01.2026 10:00,file:///nonexistent/profile;");
  EXPECT_FALSE(ForeignLockOwner(book));
  WorkbookLock::Acquire(book).Release();
  EXPECT_FALSE(std::filesystem::exists(OfficeLockPath(book)));

  // Another host cannot be asked: its lock holds.
  WriteFileBytes(OfficeLockPath(book),
                 "Ann Lee,ann,elsewhere,01.01.2026 10:00,file:///home/ann/.config/libreoffice/4;");
  try {
    WorkbookLock::Acquire(book);
    ADD_FAILURE() << "another host's lock was taken over";
  } catch (const LockedFileError& e) {
    EXPECT_EQ(e.Owner(), "Ann Lee");
    EXPECT_NE(std::string(e.what()).find("on elsewhere since 01.01.2026 10:00"), std::string::npos)
        << e.what();
  }
  std::filesystem::remove(OfficeLockPath(book));

  // Excel's owner file names its owner; no lock file of ours is left behind by the refusal.
  std::string owner(1, '\x03');
  owner += "Bob";
  WriteFileBytes(ExcelOwnerPath(book), owner);
  EXPECT_THROW(WorkbookLock::Acquire(book), LockedFileError);
  EXPECT_FALSE(std::filesystem::exists(OfficeLockPath(book)));
  EXPECT_EQ(ForeignLockOwner(book)->user, "Bob");
}

}  // namespace
}  // namespace tezlo
