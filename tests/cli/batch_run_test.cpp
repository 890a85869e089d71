#include "cli/batch_run.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/all_tools.h"
#include "cli/dated_system.h"
#include "dispatch/prepare_workbook.h"
#include "host/host_error.h"
#include "scripted/fixed_system.h"

namespace tezlo {
namespace {

// Workbook files kept in memory: what was saved where, and books a test puts there to load.
struct SavedBook {
  std::vector<std::string> sheets;
  int32_t active = 1;
};

class FakeFiles {
 public:
  void Put(const std::string& path, SavedBook book) { books_[path] = std::move(book); }
  void FailSaves() { failSaves_ = true; }
  const std::map<std::string, SavedBook>& Saved() const { return saved_; }
  int64_t LastMemoryBound() const { return lastMemoryBound_; }

  WorkbookFiles Files() {
    return WorkbookFiles{[this](const std::string& path, const LoadOptions& options) {
                           lastMemoryBound_ = options.maxMemoryBytes;
                           const auto it = books_.find(path);
                           if (it == books_.end()) throw FileError(path + ": no such file");
                           auto book =
                               std::make_unique<Workbook>("book", options.rows, options.cols,
                                                          options.maxDigitWidthPx, 1);
                           book->RenameSheet(1, it->second.sheets.front());
                           for (size_t i = 1; i < it->second.sheets.size(); ++i)
                             book->AppendSheet(it->second.sheets[i]);
                           book->ActivateSheet(it->second.active);
                           return book;
                         },
                         [this](const Workbook& book, const std::string& path, const SaveOptions&) {
                           if (failSaves_) throw FileError(path + ": disk full");
                           SavedBook saved;
                           for (int32_t i = 1; i <= book.SheetCount(); ++i)
                             saved.sheets.push_back(book.GetSheet(i).Name());
                           saved.active = book.ActiveSheetIndex();
                           saved_[path] = saved;
                           return SaveReport{};
                         },
                         {}};
  }

 private:
  std::map<std::string, SavedBook> books_;
  std::map<std::string, SavedBook> saved_;
  bool failSaves_ = false;
  int64_t lastMemoryBound_ = 0;
};

class BatchRunTest : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    return RunBatchCommand(args, files.Files(), system, out, err, tools);
  }
  std::vector<std::string> OutLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  FakeFiles files;
  FixedSystem system;
  ToolTable tools = AllTools();
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(BatchRunTest, ANewWorkbookGetsTheWorkingSheetsOnItsFirstCode) {
  ASSERT_EQ(Run({"/no/such/dir/new.xlsx", "--new", "--", ""}), kExitDone) << err.str();
  // The preparation adds "+2" and then "+1", which is left active: no refusal.
  EXPECT_EQ(out.str(), "state\tsheet=+1\tactive=A1\tselection=A1\ttop-left=A1\tediting=no\n");
  ASSERT_EQ(files.Saved().count("/no/such/dir/new.xlsx"), 1u);
  const SavedBook& saved = files.Saved().at("/no/such/dir/new.xlsx");
  EXPECT_NE(std::find(saved.sheets.begin(), saved.sheets.end(), "+1"), saved.sheets.end());
  EXPECT_NE(std::find(saved.sheets.begin(), saved.sheets.end(), "+2"), saved.sheets.end());
  EXPECT_EQ(saved.sheets[static_cast<size_t>(saved.active - 1)], "+1");
  EXPECT_TRUE(err.str().empty());
}

TEST_F(BatchRunTest, ARunOnAnotherSheetShowsTheRefusalAndEndsOnPlusOne) {
  files.Put("b.xlsx", {{"Notes", "+1", "+2"}, 1});
  ASSERT_EQ(Run({"b.xlsx", "--select", "C7", "--", "+3"}), kExitDone) << err.str();
  const std::vector<std::string> lines = OutLines();
  ASSERT_EQ(lines.size(), 2u) << out.str();
  EXPECT_EQ(lines[0],
            "dialog\tTezlo\t" + NotAWorkingSheetMessage("Notes") + "\tok\tok (unanswered)");
  EXPECT_EQ(lines[1], "state\tsheet=+1\tactive=A1\tselection=A1\ttop-left=A1\tediting=no");
}

TEST_F(BatchRunTest, TheStateLineShowsEverySelectedAreaAndTheWindow) {
  files.Put("b.xlsx", {{"+2", "+1"}, 2});
  ASSERT_EQ(Run({"b.xlsx", "--select", "D66", "--select", "F1:G2", "--top-left", "A1"}), kExitDone);
  EXPECT_EQ(out.str(),
            "state\tsheet=+1\tactive=D66\tselection=D66,F1:G2\ttop-left=A1\tediting=no\n");
  EXPECT_EQ(files.Saved().count("b.xlsx"), 1u);
  // Selecting alone scrolls just enough to show the active cell in a 40-row window.
  ASSERT_EQ(Run({"b.xlsx", "--sheet", "+2", "--select", "D66"}), kExitDone);
  EXPECT_EQ(out.str(), "state\tsheet=+2\tactive=D66\tselection=D66\ttop-left=A27\tediting=no\n");
}

TEST_F(BatchRunTest, AnswersGoToTheDialogsInOrderAndOutGoesElsewhere) {
  files.Put("b.xlsx", {{"Notes", "+1", "+2"}, 1});
  ASSERT_EQ(Run({"b.xlsx", "--answer", "ok", "--out", "copy.xlsx", "--", "", ""}), kExitDone);
  const std::vector<std::string> lines = OutLines();
  ASSERT_EQ(lines.size(), 2u) << out.str();  // the second code runs on "+1": no refusal
  EXPECT_TRUE(lines[0].ends_with("\tok\tok")) << lines[0];
  EXPECT_EQ(files.Saved().count("copy.xlsx"), 1u);
  EXPECT_EQ(files.Saved().count("b.xlsx"), 0u);
}

TEST_F(BatchRunTest, AFileThatCannotBeReadEndsTheRunWithOneLine) {
  EXPECT_EQ(Run({"missing.xlsx", "+3"}), kExitFileError);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "tezlo run: missing.xlsx: no such file (--new starts a new workbook)\n");
  EXPECT_TRUE(files.Saved().empty());
}

TEST_F(BatchRunTest, MaxMemoryBoundsTheLoad) {
  files.Put("b.xlsx", {{"+1"}, 1});
  EXPECT_EQ(Run({"b.xlsx"}), 0);
  EXPECT_EQ(files.LastMemoryBound(), DefaultMemoryBudget());
  EXPECT_LE(files.LastMemoryBound(), int64_t{8} << 30);
  EXPECT_EQ(Run({"b.xlsx", "--max-memory", "512M"}), 0);
  EXPECT_EQ(files.LastMemoryBound(), int64_t{512} << 20);
}

TEST_F(BatchRunTest, AFailedSaveIsAFileError) {
  files.Put("b.xlsx", {{"+1"}, 1});
  files.FailSaves();
  EXPECT_EQ(Run({"b.xlsx"}), kExitFileError);
  EXPECT_EQ(err.str(), "tezlo run: b.xlsx: disk full\n");
}

// A fault of ours in a tool (not a refusal) shows the internal error box, stops the run with its
// own exit status and one line on stderr, and saves nothing; a refusal the tool lets through
// ends the code silently and the run goes on.
TEST_F(BatchRunTest, AnInternalErrorStopsTheRunWithStatusThreeAndSavesNothing) {
  files.Put("b.xlsx", {{"+1"}, 1});
  const DispatchRow faulty[] = {
      {CodeTest::Exactly("*2"), nullptr,
       [](Context&) { throw std::logic_error("a swap lost its cells"); }},
      {CodeTest::Exactly("*3"), nullptr, [](Context&) { throw HostError("refused"); }},
  };
  tools = faulty;
  EXPECT_EQ(Run({"b.xlsx", "*3", "*2", "*3"}), kExitInternalError);
  EXPECT_EQ(err.str(),
            "tezlo run: internal error in the code \"*2\": a swap lost its cells; nothing saved\n");
  EXPECT_NE(out.str().find("Tezlo: internal error"), std::string::npos) << out.str();
  EXPECT_TRUE(files.Saved().empty());
  EXPECT_EQ(Run({"b.xlsx", "*3", "*3"}), kExitDone) << err.str();
}

TEST_F(BatchRunTest, UsageErrorsChangeNothing) {
  files.Put("b.xlsx", {{"+1"}, 1});
  EXPECT_EQ(Run({"b.xlsx", "--sheet", "+9", "+3"}), kExitUsage);
  EXPECT_NE(err.str().find("+9"), std::string::npos);
  EXPECT_EQ(Run({"b.xlsx", "--window", "x"}), kExitUsage);
  EXPECT_EQ(err.str().find('\n'), err.str().size() - 1);  // one line
  // A word that is no button stops the run before anything is saved.
  files.Put("n.xlsx", {{"Notes", "+1", "+2"}, 1});
  EXPECT_EQ(Run({"n.xlsx", "--answer", "yes", "--", ""}), kExitUsage);
  EXPECT_NE(err.str().find("\"yes\""), std::string::npos);
  EXPECT_TRUE(files.Saved().empty());
  EXPECT_EQ(Run({"--help"}), kExitDone);
  EXPECT_NE(out.str().find("--answer WORD"), std::string::npos);
}

TEST_F(BatchRunTest, TheSampleRunsWithoutAFileAndIsSavedOnlyWithOut) {
  // 105 is A5 of the topic index, whose topic block opens the second column block at N1.
  ASSERT_EQ(Run({"--sample", "105"}), kExitDone) << err.str();
  EXPECT_EQ(out.str(), "state\tsheet=+1\tactive=N1\tselection=N1\ttop-left=N1\tediting=no\n");
  EXPECT_TRUE(files.Saved().empty());
  ASSERT_EQ(Run({"--sample", "--out", "s.xlsx"}), kExitDone);
  ASSERT_EQ(files.Saved().count("s.xlsx"), 1u);
  EXPECT_EQ(files.Saved().at("s.xlsx").sheets, (std::vector<std::string>{"+1", "+2"}));
}

TEST(DatedSystem, TakesTheGivenDateAndForwardsTheRest) {
  FixedSystem base;
  base.SetToday({2020, 5, 6});
  base.SetDesktopItems({"a.txt"});
  DatedSystem given(base, CalendarDate{2024, 3, 15});
  DatedSystem real(base, std::nullopt);
  EXPECT_EQ(given.Today(), (CalendarDate{2024, 3, 15}));
  EXPECT_EQ(real.Today(), (CalendarDate{2020, 5, 6}));
  EXPECT_EQ(given.DesktopItems(), std::vector<std::string>{"a.txt"});
}

}  // namespace
}  // namespace tezlo
