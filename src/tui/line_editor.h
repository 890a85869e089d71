// A one-line text field: the cell editor, the command box and input boxes all edit through it.
// Positions are byte offsets that always fall on character boundaries.
#pragma once

#include <cstddef>
#include <string>

#include "tui/key_event.h"

namespace tezlo {

class LineEditor {
 public:
  LineEditor() = default;
  explicit LineEditor(std::string text) : text_(std::move(text)), cursor_(text_.size()) {}

  const std::string& Text() const { return text_; }
  size_t Cursor() const { return cursor_; }
  // Replaces the text, the caret at its end.
  void SetText(std::string text);
  // While set, the first character typed replaces the whole text (a preselected default).
  void SelectAll(bool on) { selected_ = on; }
  bool AllSelected() const { return selected_; }

  // Handles typing, Backspace, Delete, Left, Right, Home and End; returns false for any other
  // key, which the caller handles.
  bool Handle(const KeyEvent& event);
  void Insert(char32_t ch);

 private:
  size_t PrevBoundary(size_t pos) const;
  size_t NextBoundary(size_t pos) const;

  std::string text_;
  size_t cursor_ = 0;
  bool selected_ = false;
};

}  // namespace tezlo
