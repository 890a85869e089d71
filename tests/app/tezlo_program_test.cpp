// The `tezlo` program run as a user runs it: a separate process, real files, exit statuses.
#include <gtest/gtest.h>
#include <spawn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/office_lock.h"
#include "files/workbook_file.h"

extern char** environ;

namespace tezlo {
namespace {

namespace fs = std::filesystem;

// The program the build made beside this test (the build names it), unless TEZLO_BINARY names
// another.
fs::path ProgramPath() {
  if (const char* given = std::getenv("TEZLO_BINARY")) return given;
  return TEZLO_PROGRAM;
}

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class TezloProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program = ProgramPath();
    ASSERT_TRUE(fs::exists(program)) << "no tezlo program at " << program;
    char pattern[] = "/tmp/tezlo-program-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    if (!dir.empty()) fs::remove_all(dir, ec);
  }

  Outcome Run(std::vector<std::string> args) {
    args.insert(args.begin(), program.string());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const fs::path outFile = dir / "stdout";
    const fs::path errFile = dir / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    Outcome o;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return o;
    int status = 0;
    waitpid(pid, &status, 0);
    o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    o.out = ReadAll(outFile);
    o.err = ReadAll(errFile);
    return o;
  }

  std::string Book(const char* name) const { return (dir / name).string(); }

  fs::path program;
  fs::path dir;
};

TEST_F(TezloProgramTest, ANewWorkbookGetsPlusTwoAndPlusOne) {
  const std::string book = Book("new.xlsx");
  const Outcome made = Run({"run", book, "--new", "--", ""});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.out, "state\tsheet=+1\tactive=A1\tselection=A1\ttop-left=A1\tediting=no\n");
  ASSERT_TRUE(fs::exists(book));
  // Opened again, both working sheets are there.
  for (const char* sheet : {"+1", "+2"}) {
    const Outcome opened = Run({"run", book, "--sheet", sheet});
    EXPECT_EQ(opened.status, 0) << opened.err;
    EXPECT_EQ(opened.out, std::string("state\tsheet=") + sheet +
                              "\tactive=A1\tselection=A1\ttop-left=A1\tediting=no\n");
  }
  // --new never overwrites.
  const std::string before = ReadAll(book);
  EXPECT_EQ(Run({"run", book, "--new"}).status, 2);
  EXPECT_EQ(ReadAll(book), before);
}

TEST_F(TezloProgramTest, ARunOnAnotherSheetShowsTheRefusalAndLeavesPlusOneActiveAtA1) {
  const std::string book = Book("b.xlsx");
  ASSERT_EQ(Run({"run", book, "--new", "--", ""}).status, 0);
  const Outcome o = Run({"run", book, "--sheet", "Sheet1", "--select", "D66", "--", "+3"});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(
      o.out,
      "dialog\tTezlo\t活动工作表是Sheet1不是“+1”或“+2”或“+3”表，这样可能出错。现选“+1”表并退出。"
      "\tok\tok (unanswered)\n"
      "state\tsheet=+1\tactive=A1\tselection=A1\ttop-left=A1\tediting=no\n");
  EXPECT_EQ(o.err, "");
}

TEST_F(TezloProgramTest, ADamagedFileExitsOneAndStaysByteForByteUnchanged) {
  const std::string book = Book("damaged.xlsx");
  const std::string bytes("PK\x03\x04\x14\x00\x00\x00broken zip, cut short", 29);
  std::ofstream(book, std::ios::binary) << bytes;
  const Outcome o = Run({"run", book, "--", "+3"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "");
  ASSERT_FALSE(o.err.empty());
  EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;  // one line
  EXPECT_EQ(ReadAll(book), bytes);
  // Nothing else appeared next to it (no temporary file left behind).
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().filename() != "stdout" && entry.path().filename() != "stderr") ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(TezloProgramTest, TheSampleRunsWithoutAnyFile) {
  const Outcome o = Run({"run", "--sample", "--today", "2024-03-15", "--", "105", "*19"});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("state\tsheet="), std::string::npos) << o.out;
  const std::string saved = Book("sample.xlsx");
  ASSERT_EQ(Run({"run", "--sample", "--out", saved}).status, 0);
  const Outcome reopened = Run({"run", saved, "--", "101"});
  EXPECT_EQ(reopened.status, 0) << reopened.err;
  EXPECT_EQ(reopened.out, "state\tsheet=+1\tactive=A51\tselection=A51\ttop-left=A51\tediting=no\n");
}

TEST_F(TezloProgramTest, ARunHoldsTheOfficeLockAndRespectsOthersAndReadOnlyFiles) {
  const std::string book = Book("book.xlsx");
  ASSERT_EQ(Run({"run", "--sample", "--out", book}).status, 0);
  const std::string saved = ReadAll(book);

  // Another live holder (this test process) of the lock: the run touches nothing.
  {
    WorkbookLock held = WorkbookLock::Acquire(book);
    const Outcome o = Run({"run", book, "--", "+3"});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("is open in another program, by " + OwnLockOwner().Shown()),
              std::string::npos)
        << o.err;
    EXPECT_NE(o.err.find("nothing was changed"), std::string::npos) << o.err;
    EXPECT_EQ(ReadAll(book), saved);
  }
  // Once it is released the run goes ahead, and leaves no lock behind.
  EXPECT_EQ(Run({"run", book, "--", "101"}).status, 0);
  EXPECT_FALSE(fs::exists(OfficeLockPath(book)));

  fs::permissions(book, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const std::string before = ReadAll(book);
  const Outcome refused = Run({"run", book, "--", "101"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("is read-only, so it was not replaced (--force replaces it anyway)"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(ReadAll(book), before);
  EXPECT_EQ(Run({"run", book, "--force", "--", "101"}).status, 0);
  EXPECT_EQ(fs::status(book).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

// A desktop file whose name is not UTF-8 ("*13" lists it) reaches the saved workbook as U+FFFD:
// the file opens again, here and in openpyxl.
TEST_F(TezloProgramTest, ADesktopNameWithAStrayByteIsSavedAsValidText) {
  fs::create_directories(dir / "home" / "Desktop");
  std::ofstream(dir / "home" / "Desktop" / "bad\xFFname.txt") << "";
  std::ofstream(dir / "home" / "Desktop" / "好.txt") << "";
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string savedConfig = oldConfig ? oldConfig : "";
  setenv("HOME", (dir / "home").c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  const std::string book = Book("desktop.xlsx");
  const Outcome listed = Run({"run", book, "--new", "--", "*13"});
  setenv("HOME", oldHome.c_str(), 1);
  if (oldConfig) setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
  ASSERT_EQ(listed.status, 0) << listed.err;
  const Outcome reopened = Run({"run", book, "--", ""});
  EXPECT_EQ(reopened.status, 0) << reopened.err;
  const std::string check =
      "/usr/bin/python3 -c 'import sys, openpyxl\n"
      "wb = openpyxl.load_workbook(sys.argv[1])\n"
      "names = sorted(c.value for ws in wb for row in ws.iter_rows() for c in row if "
      "isinstance(c.value, str) and c.value.endswith(\".txt\"))\n"
      "sys.exit(0 if names == [\"bad\\ufffdname.txt\", \"\\u597d.txt\"] else print(names) or 1)' "
      "'" +
      book + "' > '" + (dir / "log").string() + "' 2>&1";
  EXPECT_EQ(std::system(check.c_str()), 0) << ReadAll(dir / "log");
}

// Runs started together on one workbook: each either makes its change and saves, or is refused
// because another holds the workbook; no run's change is ever lost.
TEST_F(TezloProgramTest, RunsAtTheSameTimeNeverLoseAChange) {
  const std::string book = Book("book.xlsx");
  ASSERT_EQ(Run({"run", "--sample", "--out", book}).status, 0);
  constexpr int kRuns = 4;
  std::vector<pid_t> pids;
  for (int i = 0; i < kRuns; ++i) {
    std::vector<std::string> args{program.string(), "run", book, "--select", "A53", "--", "+3"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string err = (dir / ("err" + std::to_string(i))).string();
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    pids.push_back(pid);
  }
  int saved = 0;
  for (int i = 0; i < kRuns; ++i) {
    int status = 0;
    waitpid(pids[static_cast<size_t>(i)], &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    const std::string err = ReadAll(dir / ("err" + std::to_string(i)));
    if (WEXITSTATUS(status) == 0) {
      ++saved;
    } else {
      EXPECT_EQ(WEXITSTATUS(status), 1);
      EXPECT_TRUE(err.find("is open in another program, by " + OwnLockOwner().Shown()) !=
                      std::string::npos ||
                  err.find("is being opened by another Tezlo process") != std::string::npos)
          << err;
    }
  }
  EXPECT_GE(saved, 1);
  // Every run that saved pushed the contact row down by three.
  const auto wb = LoadWorkbook(book);
  int32_t row = 0;
  wb->GetSheet(wb->FindSheet("+1")).ForEachCellByRow([&](Cell c, const CellRecord& r) {
    if (r.value == Value::Text("张伟")) row = c.row;
  });
  EXPECT_EQ(row, 53 + 3 * saved) << saved << " runs saved";
  EXPECT_FALSE(fs::exists(OfficeLockPath(book)));
}

TEST_F(TezloProgramTest, UsageErrorsExitTwo) {
  EXPECT_EQ(Run({}).status, 2);
  EXPECT_EQ(Run({"edit"}).status, 2);
  const Outcome o = Run({"run", Book("x.xlsx"), "--window", "big"});
  EXPECT_EQ(o.status, 2);
  EXPECT_FALSE(fs::exists(Book("x.xlsx")));
}

}  // namespace
}  // namespace tezlo
