// The size note: the widths of the region's 13 columns and the heights of the 11 rows from its
// first row, kept as 24 comma-separated numbers in the comment of the region's top-left cell.
// Widths are saved in points and restored as characters (points x 8.5 / 42); heights are points
// both ways.
//
// No error handling of their own: a refused host call ends the tool where it happens, sizes
// already applied stay applied. Screen updating comes back on however a tool ends.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "blocks/block_geometry.h"
#include "blocks/block_tools.h"
#include "dispatch/context.h"
#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/grid_state.h"
#include "dispatch/helpers.h"

namespace tezlo {
namespace {

// Rows whose heights the note keeps, from the region's first row on.
constexpr int32_t kNotedRows = 11;
// A width in points becomes this many characters per point.
constexpr double kCharsPerPoint = 8.5 / 42;

std::vector<std::string> SplitAtCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

// Value number `index` (1-based) of the note read as a number; HostError past the last value.
double NotedValue(const std::vector<std::string>& values, size_t index) {
  if (index < 1 || index > values.size()) throw HostError("subscript out of range");
  return LeadingNumber(values[index - 1]);
}

}  // namespace

void SaveBlockSizes(Context& ctx) {
  ScreenUpdatingGuard screen(ctx.host);
  ComputeGridState(ctx);
  const SheetRef sheet = ctx.host.ActiveSheet();

  std::string note;
  for (int32_t col = ctx.curCol; col <= ctx.curCol + blocks::kEditWidth - 1; ++col) {
    note += ',';
    note += NumberToText(ctx.host.ColumnWidthPoints(sheet, col));
  }
  for (int32_t row = ctx.curRow; row <= ctx.curRow + kNotedRows - 1; ++row) {
    note += ',';
    note += NumberToText(ctx.host.RowHeight(sheet, row));
  }
  note.erase(0, 1);
  int32_t row = ctx.curRow;
  int32_t col = ctx.curCol;
  SetCellNote(ctx, row, col, note);
}

void RestoreBlockSizes(Context& ctx) {
  ScreenUpdatingGuard screen(ctx.host);
  ComputeGridState(ctx);
  const SheetRef sheet = ctx.host.ActiveSheet();

  const std::string note = ctx.host.CommentText(sheet, Cell{ctx.curRow, ctx.curCol});
  if (note.empty()) return;
  const std::vector<std::string> values = SplitAtCommas(note);

  for (int32_t col = ctx.curCol; col <= ctx.curCol + blocks::kEditWidth - 1; ++col) {
    const double points = NotedValue(values, static_cast<size_t>(col - ctx.curCol + 1));
    ctx.host.SetColumnWidth(sheet, col, col, points * kCharsPerPoint);
  }
  for (int32_t row = ctx.curRow; row <= ctx.curRow + kNotedRows - 1; ++row) {
    const double points = NotedValue(values, static_cast<size_t>(row - ctx.curRow + 14));
    ctx.host.SetRowHeight(sheet, row, row, points);
  }
}

}  // namespace tezlo
