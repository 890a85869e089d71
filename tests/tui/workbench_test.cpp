// The workbench driven by synthetic key events on a scripted terminal: moving and selecting,
// editing cells, the command box through the controller and the dispatcher, the dialogs, the
// pointer readout, undo and redo, saving and quitting.
#include <gtest/gtest.h>

#include "app/all_tools.h"
#include "scripted/fixed_system.h"
#include "tui/workbench.h"
#include "tui_support.h"

namespace tezlo::testing {
namespace {

KeyEvent Alt(char32_t c) { return KeyEvent::Character(c, false, true); }
KeyEvent Ctrl(char32_t c) { return KeyEvent::Character(c, true); }
KeyEvent K(Key k, bool shift = false, bool ctrl = false) { return KeyEvent::Of(k, shift, ctrl); }

class WorkbenchTest : public ::testing::Test {
 protected:
  WorkbenchTest() {
    host.RenameSheet({1, 1}, "+1");
    host.RenameSheet({1, 2}, "+2");
    for (int32_t r = 51; r <= 60; ++r)
      for (int32_t c = 1; c <= 13; ++c)
        host.SetValue({1, 1}, Cell{r, c}, Value::Number(r * 100 + c));
  }
  Workbench& Bench() {
    if (!bench) {
      bench = std::make_unique<Workbench>(host, terminal, system, tools,
                                          [this](const Workbook& b, const std::string& path,
                                                 const SaveOptions&) {
                                            saves.push_back(path + ":" + b.GetSheet(1).Name());
                                            return SaveReport{};
                                          });
    }
    return *bench;
  }
  // Feeds the queued events through the workbench's own loop until they run out.
  void RunQueued() {
    terminal.Reopen();
    Bench().Run();
  }
  void Send(const KeyEvent& e) {
    Bench().Handle(e);
    Bench().Present();
  }
  void Code(const std::string& code) {
    Send(Alt(U'z'));
    for (char c : code) Send(KeyEvent::Character(static_cast<unsigned char>(c)));
    Send(K(Key::Enter));
  }
  Value At(Cell c) { return host.GetValue({1, 1}, c); }

  MemoryHost host;
  ScriptedTerminal terminal{100, 30};
  FixedSystem system;
  ToolTable tools = AllTools();
  std::vector<std::string> saves;
  std::unique_ptr<Workbench> bench;
};

TEST_F(WorkbenchTest, ArrowsEndNavigationAndPagesMoveTheActiveCell) {
  Send(K(Key::Down, false, true));  // Ctrl+Down from A1: to the top of the data
  EXPECT_EQ(host.ActiveCell(), (Cell{51, 1}));
  Send(K(Key::Right, false, true));
  EXPECT_EQ(host.ActiveCell(), (Cell{51, 13}));
  Send(K(Key::Right));
  Send(K(Key::Home));
  EXPECT_EQ(host.ActiveCell(), (Cell{51, 1}));
  Send(K(Key::PageDown));
  EXPECT_GT(host.ActiveCell().row, 51 + 20);
  EXPECT_LE(host.TopLeftVisibleCell().row, host.ActiveCell().row);
  Send(K(Key::Home, false, true));
  EXPECT_EQ(host.ActiveCell(), (Cell{1, 1}));
  Send(K(Key::Up));
  Send(K(Key::Left));
  EXPECT_EQ(host.ActiveCell(), (Cell{1, 1}));  // the sheet's edge stops the cursor
  Send(K(Key::Tab));
  Send(K(Key::Enter));
  EXPECT_EQ(host.ActiveCell(), (Cell{2, 2}));
}

TEST_F(WorkbenchTest, ShiftExtendsAndShiftF8AddsASecondArea) {
  Send(K(Key::Right, true));
  Send(K(Key::Down, true));
  Selection s = host.GetSelection();
  EXPECT_EQ(s.areas, (std::vector<Area>{Area::Of(1, 1, 2, 2)}));
  EXPECT_EQ(s.active, (Cell{1, 1}));
  Send(K(Key::Down));  // a plain move drops the extension
  Send(K(Key::F8, true));
  Send(K(Key::Right));
  Send(K(Key::Right));
  s = host.GetSelection();
  EXPECT_EQ(s.areas, (std::vector<Area>{Area::Of(2, 1, 2, 1), Area::Of(2, 3, 2, 3)}));
  EXPECT_EQ(s.active, (Cell{2, 3}));
  EXPECT_NE(terminal.ShownText().find("ADD"), std::string::npos);
  Send(K(Key::Escape));
  Send(K(Key::Down));
  EXPECT_EQ(host.GetSelection().areas.size(), 1u);
}

TEST_F(WorkbenchTest, TypingReplacesF2EditsEscapeCancelsAndEachEditUndoes) {
  Send(KeyEvent::Character(U'主'));
  Send(KeyEvent::Character(U'7'));
  EXPECT_EQ(Bench().CurrentMode(), Workbench::Mode::Edit);
  Send(K(Key::Enter));
  EXPECT_EQ(At({1, 1}), Value::Text("主7"));
  EXPECT_EQ(host.ActiveCell(), (Cell{2, 1}));
  Send(K(Key::Up));
  Send(K(Key::F2));
  Send(KeyEvent::Character(U'x'));
  Send(K(Key::Tab));
  EXPECT_EQ(At({1, 1}), Value::Text("主7x"));
  EXPECT_EQ(host.ActiveCell(), (Cell{1, 2}));
  Send(KeyEvent::Character(U'0'));
  Send(KeyEvent::Character(U'9'));
  Send(K(Key::Escape));
  EXPECT_TRUE(At({1, 2}).IsEmpty());
  Send(KeyEvent::Character(U'0'));
  Send(KeyEvent::Character(U'9'));
  Send(K(Key::Enter));
  EXPECT_EQ(At({1, 2}), Value::Number(9));  // typed, so "09" is the number 9
  Send(Ctrl(U'z'));
  EXPECT_TRUE(At({1, 2}).IsEmpty());
  EXPECT_EQ(host.ActiveCell(), (Cell{1, 2}));  // undo goes back to the edited cell
  Send(Ctrl(U'z'));
  EXPECT_EQ(At({1, 1}), Value::Text("主7"));
  Send(Ctrl(U'y'));
  EXPECT_EQ(At({1, 1}), Value::Text("主7x"));
  EXPECT_NE(Bench().Message().find("Redone"), std::string::npos);
}

TEST_F(WorkbenchTest, DeleteClearsEveryAreaAsOneStep) {
  host.Select(Selection{{Area::Of(51, 1, 52, 2), Area::Of(55, 5, 55, 5)}, Cell{51, 1}});
  Send(K(Key::Delete));
  EXPECT_TRUE(At({52, 2}).IsEmpty());
  EXPECT_TRUE(At({55, 5}).IsEmpty());
  EXPECT_EQ(At({53, 1}), Value::Number(5301));
  Send(Ctrl(U'z'));
  EXPECT_EQ(At({52, 2}), Value::Number(5202));
  EXPECT_EQ(At({55, 5}), Value::Number(5505));
}

TEST_F(WorkbenchTest, CommandBoxRunsTheCodeThroughTheDispatcherAndUndoesAsAWhole) {
  host.ActivateCell(Cell{55, 1});
  Send(Alt(U'z'));
  EXPECT_EQ(Bench().CurrentMode(), Workbench::Mode::Command);
  EXPECT_NE(terminal.ShownText().find("│  "), std::string::npos);
  Send(KeyEvent::Character(U'+'));
  Send(KeyEvent::Character(U'3'));
  EXPECT_NE(terminal.ShownText().find("│+3"), std::string::npos);
  Send(K(Key::Enter));
  EXPECT_EQ(Bench().CurrentMode(), Workbench::Mode::Grid);
  EXPECT_TRUE(At({55, 1}).IsEmpty());
  EXPECT_TRUE(At({57, 13}).IsEmpty());
  EXPECT_EQ(At({58, 1}), Value::Number(5501));
  EXPECT_TRUE(Bench().Dirty());
  Send(Ctrl(U'z'));
  EXPECT_EQ(At({55, 1}), Value::Number(5501));
  EXPECT_EQ(At({60, 13}), Value::Number(6013));
  EXPECT_TRUE(At({61, 1}).IsEmpty());
  EXPECT_NE(Bench().Message().find("Undone: +3"), std::string::npos);
}

TEST_F(WorkbenchTest, EscapeClosesTheBoxWithoutRunningAnything) {
  Send(Alt(U'Z'));
  Send(KeyEvent::Character(U'+'));
  Send(K(Key::Escape));
  EXPECT_EQ(Bench().CurrentMode(), Workbench::Mode::Grid);
  EXPECT_FALSE(Bench().History().CanUndo());
  Send(Alt(U'z'));
  EXPECT_EQ(Bench().CommandText(), "");  // the next box opens empty
}

TEST_F(WorkbenchTest, AMessageBoxAnsweredWithEscapeCancels) {
  host.ActivateCell(Cell{52, 1});
  terminal.Queue(Alt(U'z'));
  terminal.Type("-3");
  terminal.Queue(K(Key::Enter));
  // The question about deleting non-empty cells: Escape presses Cancel.
  terminal.Queue(K(Key::Escape));
  RunQueued();
  EXPECT_EQ(At({52, 1}), Value::Number(5201));
  EXPECT_FALSE(Bench().History().CanUndo());
  // Asked again and answered with Enter on the focused OK after moving to it.
  terminal.Queue(Alt(U'z'));
  terminal.Type("-3");
  terminal.Queue(K(Key::Enter));
  terminal.Queue(K(Key::Left));
  terminal.Queue(K(Key::Enter));
  RunQueued();
  EXPECT_EQ(At({52, 1}), Value::Number(5501));
}

TEST_F(WorkbenchTest, MessageBoxShowsTitleTextAndButtonsOverTheGrid) {
  host.ActivateCell(Cell{52, 1});
  terminal.Queue(Alt(U'z'));
  terminal.Type("-3");
  terminal.Queue(K(Key::Enter));
  RunQueued();  // the input ends while the box is up: it is cancelled
  const std::string shown = terminal.ShownText();
  EXPECT_NE(shown.find(" 提示 "), std::string::npos);
  EXPECT_NE(shown.find("要删除的区域有非空单元格"), std::string::npos);
  EXPECT_NE(shown.find("[ OK ]  [ Cancel ]"), std::string::npos);
  EXPECT_EQ(At({52, 1}), Value::Number(5201));
}

TEST_F(WorkbenchTest, PointerReadoutShowsThePointerUntilTheNextEnterWhichRunsNothing) {
  Send(KeyEvent{Key::MouseMove, 0, false, false, false, 10, 4, -1, -1});
  Send(Alt(U'z'));
  for (char c : std::string(" *10 ")) Send(KeyEvent::Character(static_cast<unsigned char>(c)));
  Send(K(Key::Enter));
  EXPECT_EQ(Bench().CurrentMode(), Workbench::Mode::Command);
  EXPECT_EQ(Bench().CommandText(), "10.4");
  EXPECT_TRUE(Bench().TimerRunning());
  EXPECT_TRUE(terminal.Tracking());
  Send(KeyEvent{Key::MouseMove, 0, false, false, false, -1, -1, 812, 394});
  Bench().FireTimerIfDue(std::chrono::steady_clock::now() + std::chrono::seconds(1));
  EXPECT_EQ(Bench().CommandText(), "812.394");
  Send(KeyEvent::Character(U'+'));
  Send(K(Key::Enter));  // "812.394+" would read as a topic number: nothing runs
  EXPECT_EQ(Bench().CurrentMode(), Workbench::Mode::Grid);
  EXPECT_FALSE(Bench().TimerRunning());
  EXPECT_FALSE(terminal.Tracking());
  EXPECT_EQ(Bench().GetContext().flowFlag, Flow::GoOn);
  EXPECT_FALSE(Bench().History().CanUndo());
}

TEST_F(WorkbenchTest, AnEditingRequestOpensTheActiveCellForEditing) {
  const Tool editB53 = [](Context& ctx) {
    ctx.host.ActivateCell(Cell{53, 2});
    ctx.host.BeginEditing();
  };
  const DispatchRow table[] = {{CodeTest::Exactly("*9"), nullptr, editB53}};
  tools = table;
  Code("*9");
  EXPECT_EQ(Bench().CurrentMode(), Workbench::Mode::Edit);
  Send(KeyEvent::Character(U'5'));
  Send(K(Key::Enter));
  EXPECT_EQ(At({53, 2}), Value::Number(53025));
}

TEST_F(WorkbenchTest, SheetsSwitchWithCtrlPageKeysAndGoToCellScrolls) {
  Send(K(Key::PageDown, false, true));
  EXPECT_EQ(host.SheetName(host.ActiveSheet()), "+2");
  Send(K(Key::PageDown, false, true));
  Send(K(Key::PageDown, false, true));
  EXPECT_EQ(host.SheetName(host.ActiveSheet()), "Sheet3");
  Send(K(Key::PageUp, false, true));
  Send(K(Key::PageUp, false, true));
  EXPECT_EQ(host.SheetName(host.ActiveSheet()), "+1");
  host.ActivateCell(Cell{55, 5});
  Code("");  // the empty code goes to A1 and scrolls there
  EXPECT_EQ(host.ActiveCell(), (Cell{1, 1}));
  EXPECT_EQ(host.TopLeftVisibleCell(), (Cell{1, 1}));
}

TEST_F(WorkbenchTest, ClickingACellSelectsItAndShiftClickExtends) {
  Send(K(Key::Down));  // draws once so that the layout is known
  const std::string header = terminal.Shown().RowText(kHeaderLine);
  const int x = static_cast<int>(header.find('C'));
  Send(KeyEvent{Key::MousePress, 0, false, false, false, x, kHeaderLine + 3, -1, -1});
  EXPECT_EQ(host.ActiveCell(), (Cell{3, 3}));
  Send(KeyEvent{Key::MousePress, 0, true, false, false, x, kHeaderLine + 5, -1, -1});
  EXPECT_EQ(host.GetSelection().areas.back(), Area::Of(3, 3, 5, 3));
}

TEST_F(WorkbenchTest, ClickingASheetTabActivatesThatSheet) {
  Send(K(Key::Down));  // draws once so that the tabs are laid out
  const int tabLine = terminal.Shown().Height() - 1;
  const std::string tabs = terminal.Shown().RowText(tabLine);
  const size_t at = tabs.find("Sheet3");
  ASSERT_NE(at, std::string::npos) << tabs;
  Send(KeyEvent{Key::MousePress, 0, false, false, false, static_cast<int>(at), tabLine, -1, -1});
  EXPECT_EQ(host.SheetName(host.ActiveSheet()), "Sheet3");
  // A click on the tab line past the last tab changes nothing.
  Send(KeyEvent{Key::MousePress, 0, false, false, false, terminal.Shown().Width() - 1, tabLine, -1,
                -1});
  EXPECT_EQ(host.SheetName(host.ActiveSheet()), "Sheet3");
}

TEST_F(WorkbenchTest, QuittingAsksWhenUnsavedAndSavingWritesThePath) {
  Send(KeyEvent::Character(U'1'));
  Send(K(Key::Enter));
  terminal.Queue(Ctrl(U'q'));
  terminal.Queue(K(Key::Escape));  // Cancel: stay
  RunQueued();
  EXPECT_FALSE(Bench().Quitting());
  EXPECT_TRUE(terminal.EverShown("Save the changes to Book1 before quitting?"));
  // Saving with no file yet asks for one.
  terminal.Queue(Ctrl(U's'));
  terminal.Type("out.xlsx");
  terminal.Queue(K(Key::Enter));
  RunQueued();
  EXPECT_EQ(saves, (std::vector<std::string>{"out.xlsx:+1"}));
  EXPECT_FALSE(Bench().Dirty());
  terminal.Queue(Ctrl(U's'));  // the path is known now
  terminal.Queue(Ctrl(U'q'));  // nothing unsaved: quits without asking
  RunQueued();
  EXPECT_EQ(saves.size(), 2u);
  EXPECT_TRUE(Bench().Quitting());
}

TEST_F(WorkbenchTest, DontSaveQuitsAndAFailedSaveKeepsTheWorkbenchOpen) {
  bench = std::make_unique<Workbench>(host, terminal, system, tools,
                                      [](const Workbook&, const std::string&, const SaveOptions&)
                                          -> SaveReport { throw std::runtime_error("disk full"); });
  host.GetWorkbook(1).SetPath("book.xlsx");
  Send(KeyEvent::Character(U'1'));
  Send(K(Key::Enter));
  terminal.Queue(Ctrl(U'q'));
  terminal.Queue(K(Key::Enter));  // Save: fails
  terminal.Queue(K(Key::Enter));  // the error's OK
  RunQueued();
  EXPECT_FALSE(Bench().Quitting());
  terminal.Queue(Ctrl(U'q'));
  terminal.Queue(K(Key::Right));
  terminal.Queue(K(Key::Enter));  // Don't save
  RunQueued();
  EXPECT_TRUE(Bench().Quitting());
}

TEST_F(WorkbenchTest,
       AReadOnlyFileIsReplacedOnlyWhenTheUserSaysSoAndAReadOnlyOpeningSavesElsewhere) {
  std::vector<std::string> forced;
  bench = std::make_unique<Workbench>(
      host, terminal, system, tools,
      [&](const Workbook&, const std::string& path, const SaveOptions& o) {
        if (!o.force)
          throw ReadOnlyFileError("'" + path + "' is read-only, so it was not replaced");
        forced.push_back(path);
        return SaveReport{{"the group staff could not be kept"}};
      });
  host.GetWorkbook(1).SetPath("book.xlsx");
  terminal.Queue(Ctrl(U's'));
  terminal.Queue(K(Key::Escape));  // Cancel: the file stays as it is
  RunQueued();
  EXPECT_TRUE(terminal.EverShown("'book.xlsx' is read-only, so it was not replaced."));
  EXPECT_TRUE(forced.empty());
  terminal.Queue(Ctrl(U's'));
  terminal.Queue(K(Key::Left));  // from Cancel, the default, to OK
  terminal.Queue(K(Key::Enter));
  RunQueued();
  EXPECT_EQ(forced, std::vector<std::string>{"book.xlsx"});
  EXPECT_NE(Bench().Message().find("the group staff could not be kept"), std::string::npos)
      << Bench().Message();

  // Opened read-only because another program holds it: Ctrl+S asks for another name.
  Bench().OpenedReadOnly("book.xlsx", "'book.xlsx' is open in another program, by ann");
  terminal.Queue(Ctrl(U's'));
  terminal.Type("copy.xlsx");
  terminal.Queue(K(Key::Enter));
  terminal.Queue(K(Key::Left));
  terminal.Queue(K(Key::Enter));
  RunQueued();
  EXPECT_TRUE(terminal.EverShown("It was opened read-only; save it as:"));
  EXPECT_EQ(forced, (std::vector<std::string>{"book.xlsx", "copy.xlsx"}));
  EXPECT_EQ(host.GetWorkbook(1).Path(), "copy.xlsx");
}

}  // namespace
}  // namespace tezlo::testing

namespace tezlo::testing {
namespace {

ScriptedTerminal* progressTerminal = nullptr;

TEST_F(WorkbenchTest, LongWorkShowsProgressInTheStatusLine) {
  progressTerminal = &terminal;
  // A tool that keeps reading cells until the screen says it is working (or gives up after
  // ten seconds, which fails the test).
  const Tool readUntilShown = [](Context& ctx) {
    const auto start = std::chrono::steady_clock::now();
    while (!progressTerminal->EverShown("Working: *9") &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
      ctx.host.GetValue(ctx.host.ActiveSheet(), Cell{51, 1});
    }
  };
  const DispatchRow table[] = {{CodeTest::Exactly("*9"), nullptr, readUntilShown}};
  tools = table;
  Code("*9");
  EXPECT_TRUE(terminal.EverShown("Working: *9"));
  EXPECT_EQ(Bench().CurrentMode(), Workbench::Mode::Grid);
  progressTerminal = nullptr;
}

}  // namespace
}  // namespace tezlo::testing
