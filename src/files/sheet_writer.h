// Writes one sheet as a worksheet part, with its comments part and the drawing of the comment
// boxes. What the sheet keeps of the file it was read from (SheetView::kept) is written back in
// its schema place around what the engine writes: the root's namespace declarations, elements
// the engine does not model, the views with their panes, the format properties, and the
// attributes of rows, columns and cells.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "files/style_table.h"
#include "memory/sheet.h"

namespace tezlo {

// The workbook's shared texts: each distinct cell text once, numbered in order of first use.
class SharedTexts {
 public:
  uint32_t IndexOf(std::string_view text);
  // A text read with formatted runs (CellExtras::richText): cells holding the same runs share
  // one item, written with the runs as read. While the runs no longer show `text` (its cell
  // was given another value), or cannot be written in this part (see RichTextShown), the text
  // is written plain.
  uint32_t IndexOfRich(const std::string& runs, std::string_view text);
  std::string Xml() const;
  size_t Count() const { return starts_.size() - 1; }

 private:
  struct Rich {
    std::optional<std::string> shown;  // what the runs show; none when they cannot be written
    uint32_t index;                    // their item, kEmpty until a cell uses them
  };
  // An open-addressing table of (hash, index) pairs, half full at most, over the texts copied
  // one after the other into one string: a lookup touches the slot array and, on a hash match,
  // that string, not the cell the text was first met in (which may lie anywhere in memory).
  // Items with runs hold their runs there, and are looked up in rich_ alone.
  struct Slot {
    uint64_t hash = 0;
    uint32_t index = kEmpty;
  };
  static constexpr uint32_t kEmpty = UINT32_MAX;
  void Grow();
  std::string_view Text(uint32_t index) const {
    return std::string_view(all_).substr(starts_[index], starts_[index + 1] - starts_[index]);
  }
  std::vector<Slot> slots_;
  std::string all_;                   // every text, in order of first use
  std::vector<size_t> starts_ = {0};  // where each text starts in all_, and where the last ends
  size_t uses_ = 0;
  // Formatted texts by their runs, and the items that hold runs, in ascending order.
  std::unordered_map<std::string_view, Rich> rich_;
  std::vector<uint32_t> richItems_;
};

struct SheetParts {
  std::string worksheet;
  std::string comments;  // empty when the sheet has none
  std::string drawing;   // the comment boxes, with the comments
};

struct KeptSheetXml;

struct SheetWriteOptions {
  // What the file the sheet was read from held beyond the engine's model, written back in its
  // place; null for none.
  const KeptSheetXml* kept = nullptr;
  std::string commentsDrawingId = "rId2";  // the relationship id of the comment boxes
  double dateShift = 0;  // added to date serials (-1462 for a workbook in the 1904 system)
  // The sheet's comments are those it was read with: the kept comment parts stand for them.
  bool keepComments = false;
  // When set, the worksheet's first bytes are handed to it in pieces of about 1 MB as its rows
  // are written, and SheetParts::worksheet holds only what follows them.
  std::function<void(std::string)> spill;
};

// `number` is the sheet's 1-based position (it numbers its comment boxes). FileError when what
// is kept cannot be written with the sheet.
SheetParts WriteSheet(const Sheet& sheet, int number, bool selected, int maxDigitWidthPx,
                      StyleTable& styles, SharedTexts& texts,
                      const SheetWriteOptions& options = {});

}  // namespace tezlo
