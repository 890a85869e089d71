// Cell references inside formula text: finding them, and moving them the way the spreadsheet
// does when cells are inserted or deleted with a shift.
//
// The lexer is written by hand rather than taken from libixion: ixion parses a formula into its
// own tokens against a model context holding every sheet, and prints it back in its own spelling
// (spacing, case, quoting). Adjusting references must leave every other character of the
// formula as the user typed it, so this module only locates reference tokens and rewrites those.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/grid_limits.h"

namespace tezlo {

// One end of a reference: a row or a column may be missing (whole columns, whole rows).
struct RefEnd {
  int32_t row = 0;  // 0: no row part (whole columns)
  int32_t col = 0;  // 0: no column part (whole rows)
  bool absRow = false;
  bool absCol = false;
  bool operator==(const RefEnd&) const = default;
};

struct FormulaRef {
  enum class Kind { Cell, Area, Columns, Rows };
  Kind kind = Kind::Cell;
  RefEnd first;
  RefEnd last;  // equals `first` for a single cell
  // The sheet named before "!", unquoted ('It''s' gives It's); none for an unqualified reference.
  std::optional<std::string> sheet;
  // Sheet1:Sheet3!A1 or a reference into another workbook ([1]Sheet1!A1): never moved by a
  // shift (a copy still moves its relative parts).
  bool foreign = false;
  // Byte span of the reference itself in the formula, after any sheet prefix; the prefix with its
  // "!" spans prefixBegin..begin (empty without one).
  size_t prefixBegin = 0;
  size_t begin = 0;
  size_t end = 0;
};

// Every reference in `formula` ("=..." or without the "="), in text order. Text in double quotes,
// function names (LOG10( is a call), defined names, error literals, bracketed parts and numbers
// are not references.
std::vector<FormulaRef> FindFormulaRefs(std::string_view formula, GridSize grid = {});

// The spelling of a reference without its sheet prefix: "A1", "$B$2:C5", "A:$C", "3:5".
std::string FormatRef(const FormulaRef& ref);

// Cells inserted or deleted on one sheet, with the cells after them in the same band moving.
// Along Rows: rows first..first+count-1, in the columns bandFirst..bandLast (Insert Shift:=xlDown,
// Delete Shift:=xlUp, whole rows with the band covering every column). Along Cols: the same with
// rows and columns exchanged (whole columns deleted).
struct RefShift {
  enum class Axis { Rows, Cols };
  Axis axis = Axis::Rows;
  bool insert = false;
  int32_t first = 1;
  int32_t count = 1;
  int32_t bandFirst = 1;
  int32_t bandLast = 1;
  std::string sheetName;  // the sheet whose cells move
  GridSize grid;
};

// Cells inserted with the cells below moving down (Range.Insert Shift:=xlDown).
RefShift InsertDownShift(std::string sheetName, GridSize grid, int32_t row1, int32_t col1,
                         int32_t row2, int32_t col2);
// Cells deleted with the cells below moving up (Range.Delete Shift:=xlUp).
RefShift DeleteUpShift(std::string sheetName, GridSize grid, int32_t row1, int32_t col1,
                       int32_t row2, int32_t col2);
RefShift DeleteRowsShift(std::string sheetName, GridSize grid, int32_t first, int32_t last);
RefShift DeleteColumnsShift(std::string sheetName, GridSize grid, int32_t first, int32_t last);

// What a shift does to one reference.
enum class RefOutcome { Same, Moved, Gone };
// Moves `ref` (a reference into the shifted sheet) as ShiftFormulaRefs does: only a reference
// lying wholly inside the band moves; its ends come out in order.
RefOutcome ShiftRef(FormulaRef& ref, const RefShift& shift);

// The formula with its references into the shifted sheet moved as the spreadsheet moves them, or
// nothing when no reference changes. `onShiftedSheet` tells whether the formula lives on that
// sheet (its unqualified references point there). A reference whose cells were all deleted, or
// pushed past the sheet's end, becomes #REF! (its sheet prefix stays).
std::optional<std::string> ShiftFormulaRefs(std::string_view formula, bool onShiftedSheet,
                                            const RefShift& shift);

// The formula with every reference to sheet `oldName` (compared without regard to case, in
// Sheet1:Sheet3 spans too) naming `newName` instead, quoted when it must be; nothing when no
// reference names it.
std::optional<std::string> RenameSheetRefs(std::string_view formula, std::string_view oldName,
                                           std::string_view newName, GridSize grid = {});

// "Data!" or "'My Sheet'!": the prefix a formula writes before a reference to `sheet`. Names that
// could be read as something else (a cell such as A1 or R1C1, a number, a name with spaces or
// operators) are quoted, inner quotes doubled.
std::string SheetPrefix(std::string_view sheet);

// The formula as it reads when copied `rows` down and `cols` right (negative: up, left): the
// relative parts of every reference move, the "$" parts stay. A reference moved off the grid
// becomes #REF! (its sheet prefix stays). Nothing when no reference changes.
std::optional<std::string> MoveRelativeRefs(std::string_view formula, int32_t rows, int32_t cols,
                                            GridSize grid = {});

}  // namespace tezlo
