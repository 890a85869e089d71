// The array formulas of a sheet, found from their anchors' records, and the checks that keep each
// one whole: the spreadsheet refuses to change, move or delete part of an array ("You can't
// change part of an array"), so writes, sorts and shifts that would are refused with a
// HostError before anything changes. An array is only ever changed whole: written over, cleared
// or deleted with all of its cells (it goes), or moved with all of them.
#pragma once

#include <vector>

#include "host/cell.h"
#include "memory/formula_refs.h"
#include "memory/sheet.h"

namespace tezlo {

// The blocks of the sheet's arrays that meet `area`, in no particular order. Looks only at the
// cells from which an array could reach the area (see Sheet::ArrayReach): nothing at all on a
// sheet that never held an array.
std::vector<Area> ArraysMeeting(const Sheet& sheet, const Area& area);

// The blocks of all the sheet's arrays.
std::vector<Area> AllArrays(const Sheet& sheet);

// The anchors of the arrays that break the rule every array keeps (its block overlaps no other
// array and holds no formula but its anchor's): each one whose block meets an array anchored
// before it (row by row, left to right) or holds another formula. A file may say so; the
// engine's own operations never make one. Costs O(arrays log arrays + cells in their blocks).
std::vector<Cell> BrokenArrays(const Sheet& sheet);

// HostError when writing every cell of `area` (values, formulas, clearing, a copy's
// destination) would change part of an array: one meets the area without lying wholly inside
// it. The arrays wholly inside go with what is written.
void CheckNoPartOfArray(const Sheet& sheet, const Area& area);

// HostError when the shift would move part of an array without the rest, insert cells inside
// one, delete some of its cells but not all, or push part of one off the sheet.
void CheckArraysShift(const Sheet& sheet, const RefShift& shift);

// HostError when sorting the rows of `area` would split an array: rows move one by one within
// the area's columns, so only an array of one row lying within those columns can move whole.
void CheckArraysSort(const Sheet& sheet, const Area& area);

}  // namespace tezlo
