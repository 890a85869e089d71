// Draws the workbench screen into a ScreenBuffer: the status line, the column letters, the
// grid with its contents, selection and marks, and the sheet tabs. Pure layout: no terminal.
#pragma once

#include <cstddef>
#include <string>

#include "memory/workbook.h"
#include "tui/grid_layout.h"
#include "tui/screen_buffer.h"

namespace tezlo {

// A cell being typed into: its text and the cursor as a byte offset into it.
struct CellEdit {
  std::string text;
  size_t cursor = 0;
};

struct ScreenState {
  // A notice or the progress of long work, shown at the end of the status line.
  std::string message;
  // The active cell's editor, when one is open.
  const CellEdit* edit = nullptr;
};

struct RenderedScreen {
  GridLayout layout;
  // Where the terminal cursor goes (the editor's caret); -1 when hidden.
  int cursorX = -1;
  int cursorY = -1;
};

// Screen lines: 0 the status line, 1 the column letters, the grid, the last line the tabs.
inline constexpr int kStatusLine = 0;
inline constexpr int kHeaderLine = 1;

// Lays out the active sheet of `book` as its window shows it (scroll position and selection).
RenderedScreen RenderWorkbench(const Workbook& book, const ScreenState& state, ScreenBuffer& out);

// How one cell's content is drawn: the text the spreadsheet shows and where it sits.
enum class Align { Left, Right, Center };
struct ShownValue {
  std::string text;
  Align align = Align::Left;
  bool numeric = false;  // shown as "#" signs when it does not fit
};
ShownValue ShowValue(const Value& value, const std::string& numberFormat);

// The status line's text for a cell: its formula, or its constant as typed.
std::string ContentText(const Sheet& sheet, Cell cell);

}  // namespace tezlo
