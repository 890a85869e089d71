// The terminal workbench: the grid of the active sheet, driven from the keyboard and the mouse,
// with the command box one keystroke (Alt+Z) away. Keys go through Handle, a state machine with
// three modes (moving about the grid, editing a cell, typing into the command box); the tools'
// dialogs are modal boxes with key loops of their own. Every change to the workbook, whether a
// cell edit or a whole function code, is one entry of the undo history.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "dispatch/command_box.h"
#include "dispatch/context.h"
#include "memory/memory_host.h"
#include "tui/grid_renderer.h"
#include "tui/journaling_host.h"
#include "tui/line_editor.h"
#include "tui/pointer_system.h"
#include "files/workbook_file.h"
#include "tui/terminal.h"
#include "tui/terminal_ui.h"
#include "tui/undo_history.h"

namespace tezlo {

// Writes a workbook to a file and returns what the user should know of it; throws (FileError,
// HostError) with a message for the user, ReadOnlyFileError for a read-only file unless forced.
using BookSaver = std::function<SaveReport(const Workbook& book, const std::string& path,
                                           const SaveOptions& options)>;

class Workbench final : private CommandBoxWindow {
 public:
  enum class Mode { Grid, Edit, Command };

  // `tools` is the table the command box runs its codes through; it outlives the workbench.
  Workbench(MemoryHost& host, Terminal& terminal, System& system, ToolTable tools, BookSaver save);

  // Shows the screen and handles events until the user quits or the input ends.
  void Run();
  // The workbook at `path` was opened read-only, for `reason`: saving asks for another name.
  void OpenedReadOnly(std::string path, std::string reason);

  // One input event.
  void Handle(const KeyEvent& event);
  // The command box's readout timer, when it is due.
  void FireTimerIfDue(std::chrono::steady_clock::time_point now);
  // Draws the current state, remembers it as the last screen and shows it.
  void Present();
  // The screen as it would be drawn now, and where the caret goes.
  ScreenBuffer Render(Caret* caret = nullptr);

  Mode CurrentMode() const { return mode_; }
  bool Quitting() const { return quit_; }
  bool Dirty() const { return dirty_; }
  const std::string& Message() const { return message_; }
  const std::string& CommandText() const { return box_.Text(); }
  bool TimerRunning() const { return timerOn_; }
  Context& GetContext() { return ctx_; }
  UndoHistory& History() { return history_; }

 private:
  // CommandBoxWindow
  void SetText(const std::string& text) override { box_.SetText(text); }
  void StartTimer(int32_t intervalMs) override;
  void StopTimer() override;
  void Close() override;

  Workbook& Book();
  Sheet& ActiveSheetModel();
  SheetRef ActiveRef();

  void HandleGrid(const KeyEvent& event);
  void HandleEdit(const KeyEvent& event);
  void HandleCommand(const KeyEvent& event);
  void HandleMouse(const KeyEvent& event);

  // Cursor movement: to a cell, extending the selection's last area when `extend`.
  void MoveTo(Cell target, bool extend);
  void MoveBy(int32_t rows, int32_t cols, bool extend);
  void MoveToEnd(Direction direction, bool extend);
  void Page(int sign, bool extend);
  void SyncAnchor();
  // Scrolls so that the active cell is shown whole.
  void KeepActiveVisible();

  void StartEdit(std::string text, bool replace);
  void CommitEdit();
  void ClearSelection();
  void RunCode();
  void Undo();
  void Redo();
  bool Save();
  void Quit();
  void SwitchSheet(int delta);
  void ShowProgress(double seconds);
  // Ends a recorded change: into the history when it changed anything.
  void Record(const std::string& label);

  MemoryHost& host_;
  Terminal& terminal_;
  JournalingHost journal_;
  PointerSystem system_;
  TerminalUi ui_;
  Context ctx_;
  CommandBox controller_;
  UndoHistory history_;
  BookSaver save_;

  Mode mode_ = Mode::Grid;
  LineEditor editor_;
  LineEditor box_;
  std::string message_;
  std::string runningCode_;
  std::string readOnlyPath_;
  std::string readOnlyReason_;
  bool dirty_ = false;
  bool quit_ = false;

  // Selection building: the fixed corner and the moving one of the last area; in add mode
  // (Shift+F8) a move starts a new area next to the ones kept.
  Cell anchor_{1, 1};
  Cell corner_{1, 1};
  bool addMode_ = false;
  std::vector<Area> kept_;

  bool timerOn_ = false;
  std::chrono::milliseconds interval_{500};
  std::chrono::steady_clock::time_point due_;

  ScreenBuffer last_;
  GridLayout layout_;
};

}  // namespace tezlo
