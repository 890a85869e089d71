// The known differences between the memory engine and Calc after the same code, each checked as
// such on two workbook snapshots (workbook_snapshot.h): what differs must be that difference and
// nothing else, and it must be there.
#pragma once

#include <string>
#include <vector>

namespace tezlo {

// Chinese texts sorted in rows 102 to 108 of sheet 1: the same rows, in another order only where
// characters of two readings (重, 长, 朝, 厦) decide.
void ExpectOwnCollation(std::vector<std::string> memory, std::vector<std::string> calc);

// Sheets not among `namesBefore` have each spreadsheet's default sizes; their width and height
// lines are checked to be those and leave both snapshots.
void DropNewSheetSizes(const std::vector<std::string>& namesBefore,
                       std::vector<std::string>& memory, std::vector<std::string>& calc);

// Columns and rows that came in at an edge of a sheet have each spreadsheet's default size.
void ExpectEdgeSizes(std::vector<std::string> memory, std::vector<std::string> calc);

// The used range of sheet 1 is the only difference: the memory engine's reaches down to
// `lastRow`, where fills of their own end.
void ExpectFilledCellsUnused(std::vector<std::string> memory, std::vector<std::string> calc,
                             int32_t lastRow);

}  // namespace tezlo
