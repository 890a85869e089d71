// Codes above 100: go to the topic block of a word of the topic index, making room below it, or
// start a new topic block for the word at the end of the sheet.
#include <optional>
#include <string>

#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/grid_state.h"
#include "dispatch/helpers.h"
#include "host/grid_limits.h"
#include "topics/slim_sheet.h"
#include "topics/topic_address.h"
#include "topics/topic_search.h"
#include "topics/topic_tools.h"

namespace tezlo {
namespace {

constexpr const char* kNoTopicWord = "没有主题词。";
constexpr const char* kNotInIndex = "所选单元格不在主题块内";

// The next topic word is kept this many rows below the last row of a found topic block.
constexpr int32_t kGapRows = 10;
// Topic blocks are 13 columns wide, whatever the column block's width.
constexpr int32_t kBlockCols = kBlockWidth;

// The topic word in the addressed cell, as text; an error value gives no word.
std::string ReadTopicWord(Host& host, SheetRef sheet, Cell cell) {
  std::string word;
  Step([&] { word = ValueToText(host.GetValue(sheet, cell)); });
  return word;
}

// Reads the address in funcCode, takes the topic word from it and refuses what cannot be a topic
// of the index. Returns false when refused.
bool TakeWordFromCode(Context& ctx, SheetRef sheet) {
  const std::optional<Cell> address = ParseTopicAddress(ctx.funcCode);
  const bool onSheet = address && address->row <= ctx.sheetRows && address->col <= ctx.sheetCols;
  const bool inIndex = address && address->row < ctx.firstDataRow && address->col <= ctx.blockWidth;

  bool refused = false;
  // A code that names no cell of the sheet has no word to read; only its address is refused.
  if (onSheet) {
    ctx.sheetName = ReadTopicWord(ctx.host, sheet, *address);
    if (ctx.sheetName.empty()) {
      Step([&] { ShowTip(ctx, kNoTopicWord); });
      refused = true;
    }
  }
  if (!inIndex) {
    Step([&] { ShowTip(ctx, kNotInIndex); });
    refused = true;
  }
  return !refused;
}

// The word has a topic block at `found`: activate it and open room below the block so that the
// next topic word stands kGapRows rows below its last row.
void OpenRoomBelow(Context& ctx, SheetRef sheet, Cell found, bool fromCode) {
  Host& host = ctx.host;
  Step([&] { host.ActivateCell(found); });
  // Without a fresh grid state (or a row to measure from) the room would be opened at a place
  // left from an earlier command: open none then.
  const bool measured = Step([&] { ComputeGridState(ctx); });
  std::optional<int32_t> endRow;
  Step([&] { endRow = EndDownRow(ctx, found.row, found.col); });
  if (measured && endRow) {
    const int64_t lastRow = ctx.regionLastRow;
    if (*endRow - lastRow < kGapRows) {
      const int64_t insertLast = 2 * lastRow + kGapRows - *endRow;
      Step([&] {
        host.InsertShiftDown(sheet, Area::Of(CheckedInt32(lastRow + 1), found.col,
                                             CheckedInt32(insertLast), found.col + kBlockCols - 1));
      });
    }
  }
  if (fromCode) Step([&] { GoToCell(ctx, found); });
}

// The word has no topic block: slim the sheet and start one kGapRows rows below the last topic
// block of the last used column block, with the text 0 beside the word.
void AppendTopicBlock(Context& ctx, SheetRef sheet, bool fromCode) {
  Host& host = ctx.host;
  bool slimmed = false;
  Step([&] { slimmed = SlimActiveSheet(ctx); });
  // When the slimming did not finish, the position of the last topic block is not known: writing
  // at a position left from an earlier command could overwrite data.
  if (!slimmed) return;
  Cell wordCell;
  if (!Step([&] {
        wordCell = Cell{CheckedInt32(int64_t{ctx.regionLastRow} + kGapRows), ctx.curCol};
      })) {
    return;
  }
  Step([&] { host.SetValue(sheet, wordCell, Value::Text(ctx.sheetName)); });
  Step([&] { host.SetValue(sheet, Cell{wordCell.row, wordCell.col + 1}, Value::Text("'0")); });
  if (fromCode) Step([&] { GoToCell(ctx, wordCell); });
}

}  // namespace

void GoToTopicWord(Context& ctx) {
  Host& host = ctx.host;
  ScreenUpdatingGuard screen(host);
  SheetRef sheet;
  if (!Step([&] { sheet = host.ActiveSheet(); })) return;

  const bool fromCode = !ctx.funcCode.empty();
  ctx.flowFlag = Flow::GoOn;
  if (fromCode) {
    if (!TakeWordFromCode(ctx, sheet)) {
      ctx.flowFlag = Flow::Stop;
      return;
    }
  } else if (ctx.sheetName.empty()) {
    Step([&] { ShowTip(ctx, kNoTopicWord); });
    ctx.flowFlag = Flow::Stop;
    return;
  }

  const std::optional<Cell> found = FindTopicWord(ctx, sheet, ctx.sheetName);
  if (found) {
    OpenRoomBelow(ctx, sheet, *found, fromCode);
  } else {
    AppendTopicBlock(ctx, sheet, fromCode);
  }
  ctx.curRegion.reset();
}

}  // namespace tezlo
