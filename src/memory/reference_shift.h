// What refers to cells besides formulas, moved when cells are inserted or deleted with a shift
// (see RefShift): the ranges of conditional formats, validations and selections, hyperlink and
// comment cells, the anchors of drawings, page breaks, and the check that keeps tables and pivot
// tables whole. Each function answers for a reference into the shifted sheet; callers pass over
// what lies on other sheets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/cell.h"
#include "memory/formula_refs.h"

namespace tezlo {

// The area as a reference to it moves (a defined name's area, an autoFilter, a table's range,
// a hyperlink over several cells): it moves only when it lies wholly inside the band, grows when
// cells are inserted inside it (not at its first row: then it moves), loses deleted cells and
// goes when all of them are deleted. One straddling the band's edge stays as it is.
std::optional<Area> ShiftRange(const Area& area, const RefShift& shift);

// The area as a conditional format's range moves: the spreadsheet's rule for such ranges,
// checked against LibreOffice.
// - Inserted cells: an area inside the band moves or grows as a reference does; new cells right
//   below (after) the area take its formatting, so an area ending just before the insertion
//   grows over them. An area straddling the band's edge stays, and only the new cells under its
//   part in the band join it.
// - Deleted cells: an area that loses cells follows its cells exactly: its part in the band
//   shrinks and the cells after the deletion move back, while its part outside the band stays,
//   which can leave several areas (LibreOffice 7.4 cuts such an area into pieces it then moves
//   inconsistently; see reference_shift_libreoffice_test.cpp). One that loses none moves as a
//   reference does.
// Empty when every cell went.
std::vector<Area> ShiftArea(const Area& area, const RefShift& shift);

// The area as an attribute of each of its cells moves (a data validation's range, a selection):
// every cell follows its own cell, so an area crossing the band's edge splits, and cells
// inserted in the band take the attribute of the cell before them (of the cell after them at
// the sheet's first row; before column A they take nothing), as the spreadsheet does with a
// cell's validation. Empty when every cell went.
std::vector<Area> ShiftCellArea(const Area& area, const RefShift& shift);

// Which of the two rules moves the areas of a list.
enum class SqrefRule {
  ConditionalFormat,  // ShiftArea
  CellAttribute,      // ShiftCellArea: validations, selections
};

// A space-separated list of areas as the file format writes them ("A1:B5 D7", no "$"), each
// moved by the rule's function, in their order (areas are not joined with each other: a list of a
// thousand areas costs a thousand moves). Empty when every area went. A piece that is not an
// area is kept as it is, after the areas.
std::string ShiftSqref(std::string_view sqref, const RefShift& shift,
                       SqrefRule rule = SqrefRule::ConditionalFormat);

// A formula held by a range (a conditional format's rule, a validation's), written as it reads
// for the range's top-left cell `oldTopLeft`, when the range's top-left cell is `newTopLeft`
// after the shift (the first cell of the first area ShiftSqref gave): relative references are
// rebased on the cell that moved there (or, for a new cell, the one before it whose format it
// took), then references follow their cells as in any formula on the shifted sheet. Nothing
// when it reads the same.
std::optional<std::string> ShiftRangeFormula(std::string_view formula, Cell oldTopLeft,
                                             Cell newTopLeft, const RefShift& shift);

// One cell (a hyperlink's or a comment's): moved with its cell, or nothing when it is deleted
// or pushed off the sheet. A hyperlink over several cells moves as ShiftRange.
std::optional<Cell> ShiftCell(Cell cell, const RefShift& shift);

// A corner of a drawing's anchor as the format writes it (xdr:from, xdr:to): 0-based column and
// row, offsets into them in EMU.
struct AnchorMarker {
  int32_t col = 0;
  int64_t colOff = 0;
  int32_t row = 0;
  int64_t rowOff = 0;
  bool operator==(const AnchorMarker&) const = default;
};

// How a drawing follows its cells: xdr:twoCellAnchor's editAs ("twoCell", the default: move and
// size with the cells; "oneCell": move, keep the size; "absolute": neither), an oneCellAnchor
// (OneCell, `to` unused) or an absoluteAnchor (Absolute).
enum class AnchorMode { TwoCell, OneCell, Absolute };

struct DrawingAnchor {
  AnchorMode mode = AnchorMode::TwoCell;
  AnchorMarker from;
  AnchorMarker to;
  bool operator==(const DrawingAnchor&) const = default;
};

// The anchor after the shift. Each corner whose cell lies in the band follows that cell (so a
// drawing crossing the band's edge stretches or shrinks, as LibreOffice does with a shape
// anchored to its cell and resized with it; a corner carried past the other makes the two
// change places along the axis, as there); a corner in deleted cells goes to the start of
// what follows the deletion (and one carried so past the other leaves no extent). A OneCell
// anchor moves by its `from` corner and keeps its size; an Absolute one stays. A drawing whose
// cells are all deleted stays with no height (or width), as Excel keeps it. LibreOffice (7.4)
// gives the same anchors for insertions and for deletions that leave both corners' cells (see
// reference_shift_libreoffice_test.cpp), but deletes such a drawing, and when only one corner's
// cells are deleted keeps that corner's row number (the drawing keeps its size instead of
// losing the deleted part); here the corner follows the cells, as Excel does.
DrawingAnchor ShiftAnchor(const DrawingAnchor& anchor, const RefShift& shift);

// A manual page break (a brk of rowBreaks or colBreaks: `id` is the 0-based row or column that
// starts the next page). Row breaks move only with whole rows, column breaks with whole columns;
// a break whose row or column is deleted goes.
std::optional<int32_t> ShiftPageBreak(int32_t id, bool rowBreak, const RefShift& shift);

// Whether the shift would move cells of a table's range without moving all of its columns
// with them: the band covers some of the area's columns (rows, for a shift along columns) but
// not all, and cells of the area lie at or after the insertion or deletion. The spreadsheet
// refuses such a shift. Rows inserted or deleted across all of a table's columns are allowed:
// the table grows or shrinks.
bool CutsThrough(const Area& area, const RefShift& shift);

// Whether the shift would change a pivot table's area other than by moving it whole or
// deleting all of it: CutsThrough, or cells inserted inside it, or some of its cells deleted.
bool MovesPartOf(const Area& area, const RefShift& shift);

}  // namespace tezlo
