#include "tui/grid_renderer.h"

#include <algorithm>

#include "memory/constant_text.h"
#include "memory/display_text.h"
#include "host/a1_address.h"
#include "tui/text_width.h"

namespace tezlo {
namespace {

bool InSelection(const Selection& selection, Cell cell) {
  return std::any_of(selection.areas.begin(), selection.areas.end(),
                     [&](const Area& a) { return a.Contains(cell); });
}

// Writes `text` into `cells` cells from x, aligned; returns nothing drawn when it is empty.
void PutAligned(ScreenBuffer& out, int x, int y, int cells, const std::string& text, Align align,
                Attr attr) {
  const int width = TextWidth(text);
  int at = x;
  if (width < cells) {
    if (align == Align::Right) at = x + cells - width;
    if (align == Align::Center) at = x + (cells - width) / 2;
  }
  out.Put(at, y, text, attr, x + cells - at);
}

void RenderStatus(const Sheet& sheet, const ScreenState& state, ScreenBuffer& out,
                  RenderedScreen& result) {
  const Attr status{Role::Status, 0};
  out.Fill(0, kStatusLine, out.Width(), status);
  const Cell active = sheet.View().selection.active;
  std::string address = CellRefText(active);
  address.resize(std::max<size_t>(address.size(), 7), ' ');
  int x = out.Put(0, kStatusLine, address + " ", status, out.Width());
  const int messageWidth = TextWidth(state.message);
  const int room = std::max(0, out.Width() - x - (messageWidth > 0 ? messageWidth + 2 : 0));
  if (state.edit != nullptr) {
    const std::string& text = state.edit->text;
    const int caret = TextWidth(std::string_view(text).substr(0, state.edit->cursor));
    // Long text scrolls so that the caret stays in view.
    size_t from = 0;
    int skipped = 0;
    while (caret - skipped >= room && from < text.size())
      skipped += CharWidth(DecodeUtf8(text, from));
    out.Put(x, kStatusLine, std::string_view(text).substr(from), Attr{Role::Edit, 0}, room);
    result.cursorX = x + caret - skipped;
    result.cursorY = kStatusLine;
  } else {
    std::string line = ContentText(sheet, active);
    if (const CellRecord* r = sheet.Find(active); r != nullptr && r->HasComment()) {
      const std::string& comment = *r->extras->comment;
      line += "  | note: " + comment.substr(0, comment.find('\n'));
    }
    out.Put(x, kStatusLine, line, status, room);
  }
  if (messageWidth > 0) {
    const int at = std::max(x, out.Width() - messageWidth - 1);
    out.Put(at, kStatusLine, state.message, Attr{Role::Message, 0}, out.Width() - at);
  }
}

void RenderHeaders(const Sheet& sheet, const GridLayout& layout, ScreenBuffer& out) {
  const Attr header{Role::Header, 0};
  const Attr active{Role::HeaderActive, 0};
  const Cell cursor = sheet.View().selection.active;
  out.Fill(0, layout.top, out.Width(), header);
  for (const ColumnSpan& c : layout.columns) {
    const int full = ColumnCells(sheet.ColumnWidth(c.col));
    const Attr a = c.col == cursor.col ? active : header;
    out.Fill(c.x, layout.top, c.width, a);
    const std::string letters = ColumnLetters(c.col);
    const int at = c.x + std::max(0, (full - static_cast<int>(letters.size())) / 2);
    out.Put(at, layout.top, letters, a, c.x + c.width - at);
  }
  for (const RowSpan& r : layout.rows) {
    const Attr a = r.row == cursor.row ? active : header;
    out.Fill(0, r.y, layout.gutter, header);
    const std::string number = std::to_string(r.row);
    out.Put(layout.gutter - 1 - static_cast<int>(number.size()), r.y, number, a,
            static_cast<int>(number.size()));
  }
}

void RenderRow(const Sheet& sheet, const GridLayout& layout, const RowSpan& row,
               const ScreenState& state, ScreenBuffer& out, RenderedScreen& result) {
  const Selection& selection = sheet.View().selection;
  const size_t n = layout.columns.size();
  std::vector<const CellRecord*> records(n);
  std::vector<Attr> attrs(n);
  // Backgrounds first, so that text running over into empty neighbours is not painted over.
  for (size_t i = 0; i < n; ++i) {
    const ColumnSpan& c = layout.columns[i];
    const Cell cell{row.row, c.col};
    records[i] = sheet.Find(cell);
    const int32_t color = sheet.ColorIndexAt(cell);
    Role role = Role::Normal;
    if (cell == selection.active) {
      role = Role::Active;
    } else if (InSelection(selection, cell)) {
      role = Role::Selected;
    }
    attrs[i] = Attr{role, static_cast<uint8_t>(std::clamp(color, 0, 56))};
    out.Fill(c.x, row.y, c.width, attrs[i]);
  }
  for (size_t i = 0; i < n; ++i) {
    const ColumnSpan& c = layout.columns[i];
    const CellRecord* r = records[i];
    const Cell cell{row.row, c.col};
    if (state.edit != nullptr && cell == selection.active) {
      const Attr edit{Role::Edit, 0};
      const std::string& text = state.edit->text;
      const int room = std::max(c.width, out.Width() - c.x);
      const int shown = std::max(c.width, std::min(room, TextWidth(text) + 1));
      out.Fill(c.x, row.y, shown, edit);
      out.Put(c.x, row.y, text, edit, room);
      continue;
    }
    const bool flagged = r != nullptr && r->HasComment();
    if (r != nullptr && !r->value.IsEmpty()) {
      const ShownValue shown = ShowValue(r->value, sheet.NumberFormatAt(cell));
      const int cells = std::max(0, c.width - (flagged ? 1 : 0));
      const int width = TextWidth(shown.text);
      if (shown.numeric && width > cells) {
        const int full = ColumnCells(sheet.ColumnWidth(c.col)) - (flagged ? 1 : 0);
        out.Put(c.x, row.y, std::string(static_cast<size_t>(std::max(full, 0)), '#'), attrs[i],
                cells);
      } else if (shown.align == Align::Left && width > cells && !flagged) {
        // Text runs on over the empty cells to its right, each keeping its own background.
        int room = c.width;
        size_t j = i + 1;
        while (
            j < n && room < width &&
            (records[j] == nullptr || (!records[j]->HasContent() && !records[j]->HasComment())) &&
            !(state.edit != nullptr && Cell{row.row, layout.columns[j].col} == selection.active)) {
          room += layout.columns[j].width;
          ++j;
        }
        out.Put(c.x, row.y, shown.text, attrs[i], room);
        int x = c.x + c.width;
        for (size_t k = i + 1; k < j; ++k) {
          out.Paint(x, row.y, layout.columns[k].width, attrs[k]);
          x += layout.columns[k].width;
        }
      } else {
        PutAligned(out, c.x, row.y, cells, shown.text, shown.align, attrs[i]);
      }
    }
    if (flagged && c.whole)
      out.PutChar(c.x + c.width - 1, row.y, U'*', Attr{Role::CommentFlag, attrs[i].color});
  }
  (void)result;
}

void RenderTabs(const Workbook& book, ScreenBuffer& out, GridLayout& layout) {
  const int y = out.Height() - 1;
  layout.tabLine = y;
  const Attr tab{Role::Tab, 0};
  out.Fill(0, y, out.Width(), tab);
  std::vector<std::string> labels;
  std::vector<int> widths;
  for (int32_t i = 1; i <= book.SheetCount(); ++i) {
    labels.push_back(" " + book.GetSheet(i).Name() + " ");
    widths.push_back(TextWidth(labels.back()) + 1);
  }
  // The first tab shown is chosen so that the active one fits.
  size_t first = 0;
  const size_t active = static_cast<size_t>(book.ActiveSheetIndex() - 1);
  auto span = [&](size_t from) {
    int w = 0;
    for (size_t i = from; i <= active && i < widths.size(); ++i) w += widths[i];
    return w;
  };
  while (first < active && span(first) > out.Width()) ++first;
  int x = 0;
  if (first > 0) x += out.Put(x, y, "<", tab, 1);
  for (size_t i = first; i < labels.size() && x < out.Width(); ++i) {
    const int width = out.Put(x, y, labels[i], Attr{i == active ? Role::TabActive : Role::Tab, 0},
                              out.Width() - x);
    layout.tabs.push_back(TabSpan{static_cast<int32_t>(i + 1), x, width});
    x += width;
    x += out.Put(x, y, "|", tab, out.Width() - x);
  }
}

}  // namespace

ShownValue ShowValue(const Value& value, const std::string& numberFormat) {
  ShownValue shown;
  shown.text = DisplayText(value, numberFormat);
  switch (value.Kind()) {
    case ValueKind::Number:
    case ValueKind::Date:
      shown.align = Align::Right;
      shown.numeric = true;
      break;
    case ValueKind::Boolean:
    case ValueKind::Error: shown.align = Align::Center; break;
    default: shown.align = Align::Left;
  }
  return shown;
}

std::string ContentText(const Sheet& sheet, Cell cell) {
  const CellRecord* r = sheet.Find(cell);
  if (r == nullptr) return {};
  if (r->HasFormula()) return r->extras->formula;
  std::string text = ConstantText(r->value);
  if (r->quotePrefix) text.insert(0, "'");
  return text;
}

RenderedScreen RenderWorkbench(const Workbook& book, const ScreenState& state, ScreenBuffer& out) {
  RenderedScreen result;
  if (out.Width() <= 0 || out.Height() <= 0) return result;
  const Sheet& sheet = book.GetSheet(book.ActiveSheetIndex());
  RenderStatus(sheet, state, out, result);
  if (out.Height() < 3) return result;
  result.layout =
      LayoutGrid(sheet, sheet.View().scroll, out.Width(), kHeaderLine, out.Height() - 2);
  for (int y = kHeaderLine + 1; y < out.Height() - 1; ++y) out.Fill(0, y, out.Width(), Attr{});
  RenderHeaders(sheet, result.layout, out);
  for (const RowSpan& row : result.layout.rows)
    RenderRow(sheet, result.layout, row, state, out, result);
  if (state.edit != nullptr) {
    const Cell active = sheet.View().selection.active;
    const ColumnSpan* c = result.layout.FindColumn(active.col);
    const RowSpan* r = result.layout.FindRow(active.row);
    if (c != nullptr && r != nullptr) {
      const int caret = TextWidth(std::string_view(state.edit->text).substr(0, state.edit->cursor));
      if (c->x + caret < out.Width()) {
        result.cursorX = c->x + caret;
        result.cursorY = r->y;
      }
    }
  }
  RenderTabs(book, out, result.layout);
  return result;
}

}  // namespace tezlo
