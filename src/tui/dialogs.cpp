#include "tui/dialogs.h"

#include <algorithm>

#include "tui/text_width.h"

namespace tezlo {
namespace {

const Attr kBox{Role::Box, 0};

const char* IconMark(Icon icon) {
  switch (icon) {
    case Icon::Information: return "(i) ";
    case Icon::Warning: return "/!\\ ";
    case Icon::Critical: return "(x) ";
    case Icon::Question: return "(?) ";
    case Icon::None: break;
  }
  return "";
}

// A frame of box-drawing lines filled with blanks, the title in its top edge.
void DrawFrame(ScreenBuffer& out, int x, int y, int w, int h, const std::string& title) {
  for (int row = y; row < y + h; ++row) out.Fill(x, row, w, kBox);
  for (int i = x + 1; i < x + w - 1; ++i) {
    out.PutChar(i, y, U'─', kBox);
    out.PutChar(i, y + h - 1, U'─', kBox);
  }
  for (int row = y + 1; row < y + h - 1; ++row) {
    out.PutChar(x, row, U'│', kBox);
    out.PutChar(x + w - 1, row, U'│', kBox);
  }
  out.PutChar(x, y, U'┌', kBox);
  out.PutChar(x + w - 1, y, U'┐', kBox);
  out.PutChar(x, y + h - 1, U'└', kBox);
  out.PutChar(x + w - 1, y + h - 1, U'┘', kBox);
  if (!title.empty() && w > 4) out.Put(x + 2, y, " " + title + " ", kBox, w - 4);
}

int MaxTextWidth(const ScreenBuffer& out) { return std::max(10, std::min(out.Width() - 6, 70)); }

std::string ButtonLabel(const std::string& label) { return "[ " + label + " ]"; }

}  // namespace

std::vector<std::string> WrapText(const std::string& text, int width) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    const size_t end = text.find('\n', start);
    std::string_view line =
        std::string_view(text).substr(start,
                                      end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    do {
      std::string_view part = FitPrefix(line, std::max(width, 2));
      if (part.empty() && !line.empty()) {
        size_t one = 0;
        DecodeUtf8(line, one);
        part = line.substr(0, one);
      }
      lines.emplace_back(part);
      line.remove_prefix(part.size());
    } while (!line.empty());
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

MessageDialog::MessageDialog(std::string title, std::string text, Icon icon,
                             std::vector<std::string> buttons, size_t defaultButton,
                             size_t cancelButton)
    : title_(title.empty() ? kDefaultDialogTitle : std::move(title)),
      text_(std::move(text)),
      icon_(icon),
      buttons_(std::move(buttons)),
      focus_(std::min(defaultButton, buttons_.size() - 1)),
      cancel_(std::min(cancelButton, buttons_.size() - 1)) {}

MessageDialog MessageDialog::For(const MessageBoxRequest& request) {
  if (request.buttons == Buttons::Ok)
    return MessageDialog(request.title, request.text, request.icon, {"OK"}, 0, 0);
  const size_t def = request.defaultButton == DefaultButton::Second ? 1 : 0;
  return MessageDialog(request.title, request.text, request.icon, {"OK", "Cancel"}, def, 1);
}

std::optional<size_t> MessageDialog::Handle(const KeyEvent& event) {
  switch (event.key) {
    case Key::Enter: return focus_;
    case Key::Escape: return cancel_;
    case Key::Left: focus_ = (focus_ + buttons_.size() - 1) % buttons_.size(); return std::nullopt;
    case Key::Right:
    case Key::Tab:
      focus_ = (focus_ + (event.shift ? buttons_.size() - 1 : 1)) % buttons_.size();
      return std::nullopt;
    default: return std::nullopt;
  }
}

void MessageDialog::Render(ScreenBuffer& out) const {
  const std::string mark = IconMark(icon_);
  const int markWidth = TextWidth(mark);
  const std::vector<std::string> lines = WrapText(text_, MaxTextWidth(out) - markWidth);
  int inner = TextWidth(title_) + 4;
  for (const std::string& l : lines) inner = std::max(inner, markWidth + TextWidth(l));
  int buttonsWidth = 0;
  for (const std::string& b : buttons_) buttonsWidth += TextWidth(ButtonLabel(b)) + 2;
  inner = std::max(inner, buttonsWidth);
  const int w = std::min(inner + 4, out.Width());
  const int h = std::min(static_cast<int>(lines.size()) + 5, out.Height());
  const int x = std::max(0, (out.Width() - w) / 2);
  const int y = std::max(0, (out.Height() - h) / 2);
  DrawFrame(out, x, y, w, h, title_);
  for (size_t i = 0; i < lines.size() && y + 2 + static_cast<int>(i) < y + h - 2; ++i) {
    const int row = y + 2 + static_cast<int>(i);
    if (i == 0) out.Put(x + 2, row, mark, kBox, w - 4);
    out.Put(x + 2 + markWidth, row, lines[i], kBox, w - 4 - markWidth);
  }
  int bx = x + (w - buttonsWidth) / 2 + 1;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const std::string label = ButtonLabel(buttons_[i]);
    bx += out.Put(bx, y + h - 2, label, Attr{i == focus_ ? Role::ButtonFocus : Role::Button, 0},
                  x + w - 1 - bx) +
          2;
  }
}

InputDialog::InputDialog(const InputBoxRequest& request)
    : title_(request.title.empty() ? kDefaultDialogTitle : request.title),
      prompt_(request.prompt),
      field_(request.defaultValue) {
  field_.SelectAll(!request.defaultValue.empty());
}

InputDialog::Outcome InputDialog::Handle(const KeyEvent& event) {
  if (event.key == Key::Enter) return Outcome::Ok;
  if (event.key == Key::Escape) return Outcome::Cancel;
  field_.Handle(event);
  return Outcome::Open;
}

Caret InputDialog::Render(ScreenBuffer& out) const {
  const int textWidth = MaxTextWidth(out);
  const std::vector<std::string> lines = WrapText(prompt_, textWidth);
  int inner = std::max(TextWidth(title_) + 4, 40);
  for (const std::string& l : lines) inner = std::max(inner, TextWidth(l));
  const int w = std::min(inner + 4, out.Width());
  const int h = std::min(static_cast<int>(lines.size()) + 7, out.Height());
  const int x = std::max(0, (out.Width() - w) / 2);
  const int y = std::max(0, (out.Height() - h) / 2);
  DrawFrame(out, x, y, w, h, title_);
  for (size_t i = 0; i < lines.size(); ++i)
    out.Put(x + 2, y + 2 + static_cast<int>(i), lines[i], kBox, w - 4);
  const int fieldY = y + h - 4;
  const int fieldW = w - 4;
  const Attr field{field_.AllSelected() ? Role::Selected : Role::BoxField, 0};
  out.Fill(x + 2, fieldY, fieldW, Attr{Role::BoxField, 0});
  // The field scrolls so that the caret stays visible.
  const std::string& text = field_.Text();
  const int caret = TextWidth(std::string_view(text).substr(0, field_.Cursor()));
  size_t from = 0;
  int skipped = 0;
  while (caret - skipped >= fieldW && from < text.size())
    skipped += CharWidth(DecodeUtf8(text, from));
  out.Put(x + 2, fieldY, std::string_view(text).substr(from), field, fieldW);
  const std::string ok = ButtonLabel("OK");
  const std::string cancel = ButtonLabel("Cancel");
  int bx = x + (w - TextWidth(ok) - TextWidth(cancel) - 2) / 2;
  bx += out.Put(bx, y + h - 2, ok, Attr{Role::ButtonFocus, 0}, x + w - 1 - bx) + 2;
  out.Put(bx, y + h - 2, cancel, Attr{Role::Button, 0}, x + w - 1 - bx);
  return Caret{x + 2 + caret - skipped, fieldY};
}

Caret RenderCommandBox(ScreenBuffer& out, const LineEditor& field) {
  const int inner = 12;
  const int w = std::min(inner + 2, out.Width());
  const int h = std::min(3, out.Height());
  const int x = std::max(0, (out.Width() - w) / 2);
  const int y = std::max(0, (out.Height() - h) / 2);
  DrawFrame(out, x, y, w, h, "");
  const std::string& text = field.Text();
  const int fieldW = std::max(1, w - 2);
  const int caret = TextWidth(std::string_view(text).substr(0, field.Cursor()));
  size_t from = 0;
  int skipped = 0;
  while (caret - skipped >= fieldW && from < text.size())
    skipped += CharWidth(DecodeUtf8(text, from));
  out.Fill(x + 1, y + 1, fieldW, Attr{Role::BoxField, 0});
  out.Put(x + 1, y + 1, std::string_view(text).substr(from), Attr{Role::BoxField, 0}, fieldW);
  return Caret{x + 1 + caret - skipped, y + 1};
}

}  // namespace tezlo
