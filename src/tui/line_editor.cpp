#include "tui/line_editor.h"

#include "tui/text_width.h"

namespace tezlo {

void LineEditor::SetText(std::string text) {
  text_ = std::move(text);
  cursor_ = text_.size();
  selected_ = false;
}

size_t LineEditor::PrevBoundary(size_t pos) const {
  if (pos == 0) return 0;
  --pos;
  while (pos > 0 && (static_cast<unsigned char>(text_[pos]) & 0xC0) == 0x80) --pos;
  return pos;
}

size_t LineEditor::NextBoundary(size_t pos) const {
  if (pos >= text_.size()) return text_.size();
  DecodeUtf8(text_, pos);
  return pos;
}

void LineEditor::Insert(char32_t ch) {
  if (selected_) {
    text_.clear();
    cursor_ = 0;
    selected_ = false;
  }
  if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF))
    ch = kReplacementCodePoint;  // no character: the text stays valid
  std::string bytes;
  AppendUtf8(bytes, ch);
  text_.insert(cursor_, bytes);
  cursor_ += bytes.size();
}

bool LineEditor::Handle(const KeyEvent& event) {
  switch (event.key) {
    case Key::Char:
      if (event.ctrl || event.alt || event.ch < 0x20 || event.ch == 0x7F) return false;
      Insert(event.ch);
      return true;
    case Key::Backspace:
      if (selected_) {
        SetText({});
      } else if (cursor_ > 0) {
        const size_t from = PrevBoundary(cursor_);
        text_.erase(from, cursor_ - from);
        cursor_ = from;
      }
      return true;
    case Key::Delete:
      if (selected_) {
        SetText({});
      } else if (cursor_ < text_.size()) {
        text_.erase(cursor_, NextBoundary(cursor_) - cursor_);
      }
      return true;
    case Key::Left:
      selected_ = false;
      cursor_ = PrevBoundary(cursor_);
      return true;
    case Key::Right:
      selected_ = false;
      cursor_ = NextBoundary(cursor_);
      return true;
    case Key::Home:
      selected_ = false;
      cursor_ = 0;
      return true;
    case Key::End:
      selected_ = false;
      cursor_ = text_.size();
      return true;
    default: return false;
  }
}

}  // namespace tezlo
