#include "workbook_snapshot.h"

#include <algorithm>
#include <cstdio>
#include <variant>

namespace tezlo {
namespace {

constexpr int32_t kMaxRows = 400;
constexpr int32_t kMaxCols = 60;
constexpr int32_t kBlockWidth = 13;  // the narrowest column blocks ("+1")

std::string At(Cell c) { return std::to_string(c.row) + "," + std::to_string(c.col); }

Area FrameOf(const Area& used) {
  return Area::Of(1, 1, std::clamp(used.last.row, 3, kMaxRows),
                  std::clamp(used.last.col, 2, kMaxCols));
}

void DescribeSheet(Host& h, SheetRef ref, const Area* given, std::vector<std::string>& lines) {
  const std::string sheet = "[" + std::to_string(ref.sheet) + "] ";
  lines.push_back(sheet + "name " + h.SheetName(ref));
  const Area used = h.UsedRange(ref);
  lines.push_back(sheet + "used " + At(used.first) + ":" + At(used.last));
  const Area frame = given != nullptr ? *given : FrameOf(used);
  const Matrix values = h.GetValues(ref, frame);
  for (int32_t r = frame.first.row; r <= frame.last.row; ++r) {
    for (int32_t c = frame.first.col; c <= frame.last.col; ++c) {
      const Cell cell{r, c};
      const std::string value = DescribeValue(values.At(r - 1, c - 1));
      std::string facts;
      if (!value.empty()) {
        if (h.HasFormula(ref, cell)) {
          facts += " f=" + h.GetFormula(ref, cell);
        } else {
          facts += " v=" + value;
        }
        const std::string format = h.NumberFormat(ref, cell);
        if (format != "General") facts += " nf=" + format;
      }
      // Fills: the block-start columns on every row (where marks go), the column beside them
      // where it holds something. Comments: the topic words and the cells beside them.
      const int32_t inBlock = (c - 1) % kBlockWidth;
      if (inBlock == 0 || (inBlock == 1 && !value.empty())) {
        const int32_t color = h.ColorIndex(ref, cell);
        if (color != 0) facts += " ci=" + std::to_string(color);
      }
      if (inBlock < 2 && !value.empty() && h.HasComment(ref, cell))
        facts += " c=" + h.CommentText(ref, cell);
      if (!facts.empty()) lines.push_back(sheet + At(cell) + facts);
    }
  }
  for (int32_t r = frame.first.row; r <= frame.last.row; ++r)
    lines.push_back(sheet + "row " + std::to_string(r) +
                    " h=" + std::to_string(h.RowHeight(ref, r)));
  for (int32_t c = frame.first.col; c <= frame.last.col; ++c) {
    lines.push_back(sheet + "col " + std::to_string(c) +
                    " w=" + std::to_string(h.ColumnWidthPoints(ref, c)));
  }
  // Marks that run down to the sheet's last rows and across its columns, far outside the frame.
  const Cell corners[] = {{h.RowsCount() - 1, 1}, {h.RowsCount(), 1}, {1, 27}, {1, 235}};
  for (const Cell probe : corners) {
    const int32_t color = h.ColorIndex(ref, probe);
    if (color != 0) lines.push_back(sheet + "probe " + At(probe) + " ci=" + std::to_string(color));
  }
}

std::string Visible(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) {
      out += "\\x" + std::to_string(static_cast<int>(c));
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string DescribeValue(const Value& v) {
  char number[40];
  switch (v.Kind()) {
    case ValueKind::Empty: return "";
    case ValueKind::Number:
    case ValueKind::Date:
      std::snprintf(number, sizeof number, "N%.15g", v.AsNumber());
      return number;
    case ValueKind::Text: return "T" + v.AsText();
    case ValueKind::Boolean: return v.AsBoolean() ? "B1" : "B0";
    case ValueKind::Error: return "E" + std::to_string(static_cast<int>(v.AsError()));
  }
  return "?";
}

std::vector<Area> JoinedFrames(Host& a, Host& b) {
  std::vector<Area> frames;
  const int32_t bookA = a.ActiveWorkbook();
  const int32_t bookB = b.ActiveWorkbook();
  const int32_t sheets = std::min(a.SheetCount(bookA), b.SheetCount(bookB));
  for (int32_t s = 1; s <= sheets; ++s) {
    const Area one = FrameOf(a.UsedRange({bookA, s}));
    const Area two = FrameOf(b.UsedRange({bookB, s}));
    frames.push_back(
        Area::Of(1, 1, std::max(one.last.row, two.last.row), std::max(one.last.col, two.last.col)));
  }
  return frames;
}

std::vector<std::string> WorkbookSnapshot(Host& h, const std::vector<Area>& frames) {
  std::vector<std::string> lines;
  lines.push_back("grid " + std::to_string(h.RowsCount()) + "x" + std::to_string(h.ColumnsCount()));
  lines.push_back("books " + std::to_string(h.WorkbookCount()));
  const int32_t book = h.ActiveWorkbook();
  lines.push_back("sheets " + std::to_string(h.SheetCount(book)));
  const int32_t sheets = h.SheetCount(book);
  const bool given = frames.size() == static_cast<size_t>(sheets);
  for (int32_t s = 1; s <= sheets; ++s)
    DescribeSheet(h, {book, s}, given ? &frames[static_cast<size_t>(s - 1)] : nullptr, lines);
  const SheetRef active = h.ActiveSheet();
  const Selection selection = h.GetSelection();
  std::string areas;
  for (const Area& a : selection.areas) areas += " " + At(a.first) + ":" + At(a.last);
  lines.push_back("active sheet " + std::to_string(active.sheet) + " selection" + areas +
                  " active " + At(selection.active));
  lines.push_back(kTopLeftLine + At(h.TopLeftVisibleCell()));
  return lines;
}

std::string FirstDifference(const std::vector<std::string>& memory,
                            const std::vector<std::string>& calc) {
  for (size_t i = 0; i < std::min(memory.size(), calc.size()); ++i) {
    if (memory[i] != calc[i])
      return "memory: " + Visible(memory[i]) + "\ncalc:   " + Visible(calc[i]);
  }
  return "lengths " + std::to_string(memory.size()) + " and " + std::to_string(calc.size());
}

}  // namespace tezlo
