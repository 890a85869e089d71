// A workbook described as lines of text, one fact a line, so that the same scenario run on the
// memory engine and in Calc can be compared line by line: the grid, the workbooks, every sheet's
// name, used range, values, formulas, number formats, fills, comments, row heights and column
// widths, and the window's sheet, selection, active cell and top-left visible cell.
#pragma once

#include <string>
#include <vector>

#include "host/host.h"

namespace tezlo {

// Every cell of a sheet's used range (at least A1:B3, at most the first 400 rows and 60 columns)
// is read in one block; formulas and number formats are asked for the cells that hold something,
// fills for the first column of each column block (where marks go) and for the filled cells of
// the second, comments for the topic words and the cells beside them. Each such question is a
// round trip to the office, so the rest of the sheet is left unasked.
// `frames` gives the part of each sheet to read, by sheet; without one for every sheet, each
// sheet's own used range is read.
std::vector<std::string> WorkbookSnapshot(Host& host, const std::vector<Area>& frames = {});

// Sheet by sheet, the parts of two hosts' active workbooks that together hold everything either
// counts as used, so that both are read alike where their used ranges differ.
std::vector<Area> JoinedFrames(Host& a, Host& b);

// The last line of a snapshot: the active window's top-left visible cell.
inline constexpr const char* kTopLeftLine = "top-left ";

// A value as a short tag: N for numbers (and dates, which Calc reads as numbers in a date
// format), T for texts, B for booleans, E for errors, nothing for an empty cell.
std::string DescribeValue(const Value& v);

// The first line where two descriptions part, with control characters made visible.
std::string FirstDifference(const std::vector<std::string>& memory,
                            const std::vector<std::string>& calc);

}  // namespace tezlo
