// Finding a topic word's block on a sheet.
#pragma once

#include <optional>
#include <string>

#include "dispatch/context.h"

namespace tezlo {

// Searches the first column of every column block, from the last block (lastBlockCol) to the
// first; in the first block from firstDataRow down, so the topic index is never searched, in the
// others from row 1. Matching is the spreadsheet's exact MATCH (letter case ignored). The
// rightmost block holding the word wins, within it the topmost cell. Each block column costs one
// CountA, and one Match when it holds anything. A block whose lookup fails counts as not holding
// the word. Nothing when no block holds it. Reads blockWidth, lastBlockCol, firstDataRow and
// sheetRows; changes nothing.
std::optional<Cell> FindTopicWord(const Context& ctx, SheetRef sheet, const std::string& word);

}  // namespace tezlo
