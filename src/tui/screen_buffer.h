// A screen's worth of terminal cells with their roles, built without a terminal: the grid, the
// dialogs and the status lines are laid out here and only copied to the terminal afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tezlo {

// What a cell is on the screen; the terminal layer turns roles into colours.
enum class Role : uint8_t {
  Normal,
  Header,        // column letters and row numbers
  HeaderActive,  // the active cell's letter and number
  Selected,      // inside a selection area
  Active,        // the active cell
  CommentFlag,   // the corner mark of a cell with a comment
  Status,        // the status line
  Message,       // a notice or progress at the end of the status line
  Tab,
  TabActive,
  Box,       // dialog and command box frames and text
  BoxField,  // a dialog's or the command box's text field
  Button,
  ButtonFocus,
  Edit,  // the cell being edited
};

struct Attr {
  Role role = Role::Normal;
  uint8_t color = 0;  // the cell's interior colour index 1..56, 0 for none
  bool operator==(const Attr&) const = default;
};

struct ScreenCell {
  char32_t ch = U' ';
  uint8_t width = 1;  // 1, 2 for a wide character, 0 for the right half of one
  Attr attr;
  bool operator==(const ScreenCell&) const = default;
};

class ScreenBuffer {
 public:
  ScreenBuffer() = default;
  ScreenBuffer(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const ScreenCell& At(int x, int y) const { return cells_[Index(x, y)]; }

  // Blanks `count` cells from (x, y) with `attr`, clipped to the row.
  void Fill(int x, int y, int count, Attr attr);
  // Writes `text` from (x, y), using at most `maxCells` cells and never the screen's edge:
  // a wide character that does not fit whole is left out. Control characters show as blanks.
  // Returns the cells written.
  int Put(int x, int y, std::string_view text, Attr attr, int maxCells);
  // Changes the attribute of `count` cells, keeping their characters.
  void Paint(int x, int y, int count, Attr attr);
  // One code point in one cell (a narrow one); breaks a wide character it lands on.
  void PutChar(int x, int y, char32_t ch, Attr attr);

  // The row's characters as UTF-8, the right halves of wide characters skipped.
  std::string RowText(int y) const;

 private:
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Makes (x, y) safe to overwrite: a wide character it is part of becomes blanks.
  void Unpair(int x, int y);

  int width_ = 0;
  int height_ = 0;
  std::vector<ScreenCell> cells_;
};

}  // namespace tezlo
