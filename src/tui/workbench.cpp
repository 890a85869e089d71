#include "tui/workbench.h"

#include <algorithm>
#include <cstdio>

#include "host/host_error.h"
#include "host/a1_address.h"
#include "text/ascii.h"
#include "tui/text_width.h"

namespace tezlo {
namespace {

Area Span(Cell a, Cell b) {
  return Area::Of(std::min(a.row, b.row), std::min(a.col, b.col), std::max(a.row, b.row),
                  std::max(a.col, b.col));
}

std::string Seconds(double s) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f s", s);
  return buf;
}

}  // namespace

Workbench::Workbench(MemoryHost& host, Terminal& terminal, System& system, ToolTable tools,
                     BookSaver save)
    : host_(host),
      terminal_(terminal),
      journal_(host),
      system_(system),
      ui_(terminal, [this] { return host_.ScreenUpdating() ? Render() : last_; }),
      ctx_(journal_, ui_, system_),
      controller_(ctx_, *this),
      save_(std::move(save)) {
  ctx_.tools = tools;
  journal_.SetProgress([this](double s) { ShowProgress(s); });
  SyncAnchor();
}

Workbook& Workbench::Book() { return host_.GetWorkbook(host_.ActiveWorkbook()); }
Sheet& Workbench::ActiveSheetModel() {
  Workbook& book = Book();
  return book.GetSheet(book.ActiveSheetIndex());
}
SheetRef Workbench::ActiveRef() { return host_.ActiveSheet(); }

// ---- Drawing ----

void Workbench::KeepActiveVisible() {
  Sheet& sheet = ActiveSheetModel();
  SheetView& view = sheet.View();
  const Cell active = view.selection.active;
  const int width = terminal_.Width();
  const int lines = std::max(terminal_.Height() - 2, 2);
  // A jump of more than half a screen puts the active row a third of the way down; a step
  // off the edge scrolls just enough.
  const int32_t screenRows = std::max(lines - 1, 1);
  const int32_t lastShown = view.scroll.row + screenRows - 1;
  if (active.row < view.scroll.row - screenRows / 2 || active.row > lastShown + screenRows / 2) {
    view.scroll.row = std::max<int32_t>(1, active.row - screenRows / 3);
  } else if (active.row < view.scroll.row) {
    view.scroll.row = active.row;
  }
  if (active.col < view.scroll.col) view.scroll.col = active.col;
  // Rows: move the top down until the active row is on the screen; columns: until it is whole.
  for (int guard = 0; guard < 64; ++guard) {
    const GridLayout layout = LayoutGrid(sheet, view.scroll, width, kHeaderLine, lines);
    const bool rowShown = layout.FindRow(active.row) != nullptr || sheet.RowHeight(active.row) <= 0;
    const ColumnSpan* col = layout.FindColumn(active.col);
    const bool colShown = (col != nullptr && (col->whole || col->col == view.scroll.col)) ||
                          ColumnCells(sheet.ColumnWidth(active.col)) == 0;
    if (rowShown && colShown) break;
    if (!rowShown) {
      const int32_t shown = layout.Rows();
      view.scroll.row = std::max<int32_t>(view.scroll.row + 1, active.row - shown + 1);
      if (view.scroll.row > active.row) view.scroll.row = active.row;
    }
    if (!colShown) view.scroll.col = std::min(view.scroll.col + 1, active.col);
  }
}

ScreenBuffer Workbench::Render(Caret* caret) {
  ScreenBuffer screen(terminal_.Width(), terminal_.Height());
  if (host_.WorkbookCount() == 0) return screen;
  KeepActiveVisible();
  CellEdit edit{editor_.Text(), editor_.Cursor()};
  ScreenState state;
  state.message = message_;
  if (addMode_ && message_.empty()) state.message = "ADD";
  if (mode_ == Mode::Edit) state.edit = &edit;
  const RenderedScreen rendered = RenderWorkbench(Book(), state, screen);
  layout_ = rendered.layout;
  host_.Settings().visibleRows = layout_.Rows();
  host_.Settings().visibleCols = layout_.WholeColumns();
  Caret at{rendered.cursorX, rendered.cursorY};
  if (mode_ == Mode::Command) at = RenderCommandBox(screen, box_);
  if (caret != nullptr) *caret = at;
  return screen;
}

void Workbench::Present() {
  Caret caret;
  last_ = Render(&caret);
  terminal_.Present(last_, caret);
}

void Workbench::ShowProgress(double seconds) {
  ScreenBuffer screen = last_.Width() > 0 ? last_ : Render();
  const std::string text = "Working: " + runningCode_ + "  " + Seconds(seconds);
  const int width = TextWidth(text);
  const int x = std::max(0, screen.Width() - width - 1);
  screen.Fill(x, kStatusLine, screen.Width() - x, Attr{Role::Message, 0});
  screen.Put(x, kStatusLine, text, Attr{Role::Message, 0}, screen.Width() - x);
  terminal_.Present(screen, Caret{});
}

// ---- The loop ----

void Workbench::Run() {
  while (!quit_ && !terminal_.InputClosed()) {
    Present();
    int timeout = -1;
    if (timerOn_) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          due_ - std::chrono::steady_clock::now());
      timeout = static_cast<int>(std::max<int64_t>(0, left.count()));
    }
    if (const std::optional<KeyEvent> event = terminal_.NextEvent(timeout)) Handle(*event);
    FireTimerIfDue(std::chrono::steady_clock::now());
  }
}

void Workbench::FireTimerIfDue(std::chrono::steady_clock::time_point now) {
  if (!timerOn_ || now < due_) return;
  due_ = now + interval_;
  controller_.OnTimer();
}

void Workbench::StartTimer(int32_t intervalMs) {
  interval_ = std::chrono::milliseconds(std::max(intervalMs, 1));
  if (!timerOn_) {
    timerOn_ = true;
    due_ = std::chrono::steady_clock::now() + interval_;
    terminal_.TrackPointer(true);
  }
}

void Workbench::StopTimer() {
  if (!timerOn_) return;
  timerOn_ = false;
  terminal_.TrackPointer(false);
}

void Workbench::Close() {
  mode_ = Mode::Grid;
  box_.SetText({});
}

// ---- Keys ----

void Workbench::Handle(const KeyEvent& event) {
  if (host_.WorkbookCount() == 0) {
    quit_ = true;
    return;
  }
  if (event.key == Key::Resize) return;
  if (event.key == Key::MouseMove) {
    system_.SetPointer(event.pixelX >= 0 ? PointerPosition{event.pixelX, event.pixelY}
                                         : PointerPosition{event.x, event.y});
    return;
  }
  if (event.key == Key::MousePress) {
    system_.SetPointer(event.pixelX >= 0 ? PointerPosition{event.pixelX, event.pixelY}
                                         : PointerPosition{event.x, event.y});
    if (mode_ == Mode::Grid) HandleMouse(event);
    return;
  }
  switch (mode_) {
    case Mode::Grid: HandleGrid(event); break;
    case Mode::Edit: HandleEdit(event); break;
    case Mode::Command: HandleCommand(event); break;
  }
}

void Workbench::HandleMouse(const KeyEvent& event) {
  if (event.x < 0) return;
  if (const std::optional<int32_t> sheet = layout_.TabAt(event.x, event.y)) {
    message_.clear();
    SwitchSheet(*sheet - Book().ActiveSheetIndex());
    return;
  }
  if (const std::optional<Cell> cell = layout_.CellAt(event.x, event.y)) {
    message_.clear();
    SyncAnchor();
    MoveTo(*cell, event.shift);
  }
}

void Workbench::HandleGrid(const KeyEvent& e) {
  if (e.key != Key::F8) message_.clear();
  const bool ctrl = e.ctrl;
  if (e.key == Key::Char && e.alt && (e.ch == U'z' || e.ch == U'Z')) {
    mode_ = Mode::Command;
    box_.SetText({});
    return;
  }
  if (e.key == Key::Char && ctrl) {
    switch (e.ch) {
      case U's': Save(); return;
      case U'q': Quit(); return;
      case U'z': Undo(); return;
      case U'y': Redo(); return;
      default: return;
    }
  }
  SyncAnchor();
  switch (e.key) {
    case Key::Up: ctrl ? MoveToEnd(Direction::Up, e.shift) : MoveBy(-1, 0, e.shift); return;
    case Key::Down: ctrl ? MoveToEnd(Direction::Down, e.shift) : MoveBy(1, 0, e.shift); return;
    case Key::Left: ctrl ? MoveToEnd(Direction::ToLeft, e.shift) : MoveBy(0, -1, e.shift); return;
    case Key::Right: ctrl ? MoveToEnd(Direction::ToRight, e.shift) : MoveBy(0, 1, e.shift); return;
    case Key::PageUp:
      if (ctrl) return SwitchSheet(-1);
      return Page(-1, e.shift);
    case Key::PageDown:
      if (ctrl) return SwitchSheet(1);
      return Page(1, e.shift);
    case Key::Home:
      if (ctrl) {
        MoveTo(Cell{1, 1}, e.shift);
      } else {
        MoveTo(Cell{e.shift ? corner_.row : host_.ActiveCell().row, 1}, e.shift);
      }
      return;
    case Key::End:
      if (ctrl) {
        try {
          MoveTo(host_.UsedRange(ActiveRef()).last, e.shift);
        } catch (const HostError&) {
        }
      }
      return;
    case Key::Enter: MoveBy(e.shift ? -1 : 1, 0, false); return;
    case Key::Tab: MoveBy(0, e.shift ? -1 : 1, false); return;
    case Key::F8:
      if (e.shift) {
        addMode_ = !addMode_;
        kept_ = host_.GetSelection().areas;
      }
      return;
    case Key::Escape: addMode_ = false; return;
    case Key::Delete: ClearSelection(); return;
    case Key::Backspace: StartEdit({}, true); return;
    case Key::F2: StartEdit(ContentText(ActiveSheetModel(), host_.ActiveCell()), false); return;
    case Key::Char:
      if (!e.alt && e.ch >= 0x20) {
        StartEdit({}, true);
        editor_.Insert(e.ch);
      }
      return;
    default: return;
  }
}

void Workbench::HandleEdit(const KeyEvent& e) {
  switch (e.key) {
    case Key::Escape:
      mode_ = Mode::Grid;
      editor_.SetText({});
      return;
    case Key::Enter:
      CommitEdit();
      MoveBy(e.shift ? -1 : 1, 0, false);
      return;
    case Key::Tab:
      CommitEdit();
      MoveBy(0, e.shift ? -1 : 1, false);
      return;
    case Key::Up:
    case Key::Down:
      CommitEdit();
      MoveBy(e.key == Key::Up ? -1 : 1, 0, false);
      return;
    default: editor_.Handle(e);
  }
}

void Workbench::HandleCommand(const KeyEvent& e) {
  switch (e.key) {
    case Key::Escape:
      StopTimer();
      Close();
      return;
    case Key::Enter: RunCode(); return;
    default: box_.Handle(e);
  }
}

// ---- Moving ----

void Workbench::SyncAnchor() {
  const Selection selection = host_.GetSelection();
  const Area& last = selection.areas.back();
  if (!(last.Contains(anchor_) && last.Contains(corner_) && selection.active == anchor_ &&
        Span(anchor_, corner_) == last)) {
    anchor_ = corner_ = selection.active;
  }
}

void Workbench::MoveTo(Cell target, bool extend) {
  const Sheet& sheet = ActiveSheetModel();
  target.row = std::clamp(target.row, 1, sheet.Rows());
  target.col = std::clamp(target.col, 1, sheet.Cols());
  Selection selection = host_.GetSelection();
  if (extend) {
    corner_ = target;
    selection.areas.back() = Span(anchor_, corner_);
    selection.active = anchor_;
  } else {
    anchor_ = corner_ = target;
    if (addMode_) {
      selection.areas = kept_;
      selection.areas.push_back(Area::Of(target));
    } else {
      selection.areas = {Area::Of(target)};
    }
    selection.active = target;
  }
  // The window follows the cursor when the screen is drawn (KeepActiveVisible), not by the
  // host's minimal scroll, so that a long jump lands in view with context around it.
  const Cell scroll = ActiveSheetModel().View().scroll;
  try {
    host_.Select(selection);
  } catch (const HostError&) {
  }
  ActiveSheetModel().View().scroll = scroll;
}

void Workbench::MoveBy(int32_t rows, int32_t cols, bool extend) {
  const Cell from = extend ? corner_ : host_.ActiveCell();
  MoveTo(Cell{from.row + rows, from.col + cols}, extend);
}

void Workbench::MoveToEnd(Direction direction, bool extend) {
  const Cell from = extend ? corner_ : host_.ActiveCell();
  try {
    MoveTo(host_.End(ActiveRef(), from, direction), extend);
  } catch (const HostError&) {
  }
}

void Workbench::Page(int sign, bool extend) {
  const int32_t rows = std::max<int32_t>(1, layout_.Rows());
  SheetView& view = ActiveSheetModel().View();
  view.scroll.row =
      std::clamp<int32_t>(view.scroll.row + sign * rows, 1, ActiveSheetModel().Rows());
  MoveBy(sign * rows, 0, extend);
}

void Workbench::SwitchSheet(int delta) {
  Workbook& book = Book();
  const int32_t target = book.ActiveSheetIndex() + delta;
  if (target < 1 || target > book.SheetCount()) return;
  host_.ActivateSheet(SheetRef{host_.ActiveWorkbook(), target});
  addMode_ = false;
  SyncAnchor();
}

// ---- Changes ----

void Workbench::Record(const std::string& label) {
  UndoEntry entry = journal_.EndCommand(label);
  if (entry.steps.empty()) return;
  history_.Push(std::move(entry));
  dirty_ = true;
}

void Workbench::StartEdit(std::string text, bool replace) {
  mode_ = Mode::Edit;
  editor_.SetText(replace ? std::string() : std::move(text));
}

void Workbench::CommitEdit() {
  mode_ = Mode::Grid;
  const std::string text = editor_.Text();
  editor_.SetText({});
  const SheetRef ref = ActiveRef();
  const Cell cell = host_.ActiveCell();
  journal_.BeginCommand();
  try {
    if (text.empty()) {
      journal_.ClearContents(ref, Area::Of(cell));
    } else if (text.front() == '=') {
      journal_.SetFormula(ref, cell, text, Value());
    } else {
      journal_.SetValue(ref, cell, Value::Text(text));
    }
  } catch (const HostError& e) {
    message_ = e.what();
  }
  Record(CellRefText(cell));
}

void Workbench::ClearSelection() {
  const SheetRef ref = ActiveRef();
  journal_.BeginCommand();
  for (const Area& area : host_.GetSelection().areas) {
    try {
      journal_.ClearContents(ref, area);
    } catch (const HostError& e) {
      message_ = e.what();
    }
  }
  Record("Delete");
}

void Workbench::RunCode() {
  const std::string text = box_.Text();
  runningCode_ = TrimSpaces(text);
  journal_.BeginCommand();
  try {
    controller_.OnEnter(text);
  } catch (const std::exception& e) {
    message_ = e.what();
  }
  Record(runningCode_.empty() ? "(empty code)" : runningCode_);
  if (host_.WorkbookCount() == 0) return;
  addMode_ = false;
  SyncAnchor();
  if (host_.EditingRequested()) {
    host_.ClearEditingRequest();
    if (mode_ == Mode::Grid) StartEdit(ContentText(ActiveSheetModel(), host_.ActiveCell()), false);
  }
}

void Workbench::Undo() {
  try {
    if (const std::optional<std::string> label = history_.Undo(host_)) {
      message_ = "Undone: " + *label;
      dirty_ = true;
    } else {
      message_ = "Nothing to undo";
    }
  } catch (const std::exception& e) {
    history_.Clear();
    message_ = std::string("Undo failed: ") + e.what();
  }
  SyncAnchor();
}

void Workbench::Redo() {
  try {
    if (const std::optional<std::string> label = history_.Redo(host_)) {
      message_ = "Redone: " + *label;
      dirty_ = true;
    } else {
      message_ = "Nothing to redo";
    }
  } catch (const std::exception& e) {
    history_.Clear();
    message_ = std::string("Redo failed: ") + e.what();
  }
  SyncAnchor();
}

void Workbench::OpenedReadOnly(std::string path, std::string reason) {
  readOnlyPath_ = std::move(path);
  readOnlyReason_ = std::move(reason);
  message_ = "Read-only: " + readOnlyReason_;
}

bool Workbench::Save() {
  Workbook& book = Book();
  std::string path = book.Path();
  const bool readOnly = !readOnlyPath_.empty() && path == readOnlyPath_;
  if (path.empty() || readOnly) {
    const std::string prompt = readOnly
                                   ? readOnlyReason_ + ".\nIt was opened read-only; save it as:"
                                   : "Save the workbook as:";
    const std::optional<std::string> answer = ui_.InputBox(
        InputBoxRequest{prompt, "Save", readOnly ? std::string() : book.Name() + ".xlsx"});
    if (!answer || answer->empty() || *answer == readOnlyPath_) return false;
    path = *answer;
  }
  if (!save_) {
    ui_.MessageBox(MessageBoxRequest{"Saving is not available in this build.", "Save", Buttons::Ok,
                                     Icon::Critical});
    return false;
  }
  SaveReport report;
  SaveOptions options;
  for (;;) {
    try {
      report = save_(book, path, options);
      break;
    } catch (const ReadOnlyFileError& e) {
      if (options.force ||
          ui_.MessageBox(MessageBoxRequest{std::string(e.what()) + ".\nReplace it anyway?", "Save",
                                           Buttons::OkCancel, Icon::Warning,
                                           DefaultButton::Second}) != Answer::Ok) {
        return false;
      }
      options.force = true;
    } catch (const std::exception& e) {
      ui_.MessageBox(MessageBoxRequest{e.what(), "Save", Buttons::Ok, Icon::Critical});
      return false;
    }
  }
  book.SetPath(path);
  dirty_ = false;
  message_ = "Saved " + path;
  for (const std::string& note : report.notes) message_ += "; " + note;
  return true;
}

void Workbench::Quit() {
  if (!dirty_) {
    quit_ = true;
    return;
  }
  const size_t choice =
      ui_.Ask(MessageDialog("Tezlo", "Save the changes to " + Book().Name() + " before quitting?",
                            Icon::Question, {"Save", "Don't save", "Cancel"}, 0, 2));
  if (choice == 0) {
    quit_ = Save();
  } else if (choice == 1) {
    quit_ = true;
  }
}

}  // namespace tezlo
