// What one stored cell holds. The record is kept small because a sheet may hold millions of them:
// the value, the own interior colour and the file's cell format inline, the rare parts (formula,
// array formula's extent, comment, own number format, formatted text runs) behind one pointer.
//
// `style` is the number of the cell format the cell was read with from its file (its index in
// the styles part's list of cell formats; 0 the default one). The engine does not look inside
// it: the colour, number format and quote prefix it models are held beside it and take
// precedence, and the file layer writes a cell whose modelled attributes differ from those of
// its style with a format derived from that style (so a bold cell coloured by a tool stays
// bold). The style moves with the record wherever the record moves.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "host/cell.h"
#include "host/value.h"

namespace tezlo {

// The size of the array formula whose top-left cell (its anchor) holds the record: the anchor's
// formula computes every cell of the rows x cols block starting there, which hold only their
// cached values. Both 0 for a cell that anchors no array. The block is kept relative to its
// anchor, so it moves wherever the anchor's record moves.
struct ArrayExtent {
  int32_t rows = 0;
  int32_t cols = 0;
  bool Any() const { return rows > 0; }
  bool operator==(const ArrayExtent&) const = default;
};

struct CellExtras {
  std::string formula;                      // "=..." or empty for a constant
  ArrayExtent array;                        // set only beside a formula
  std::optional<std::string> comment;       // the comment's text, line breaks as typed
  std::optional<std::string> numberFormat;  // the cell's own format; none: its column's
  // A text read with formatted runs (bold words, colours, phonetic guides): the file's XML of
  // those runs, shared by every cell that holds them. The file layer writes them back while the
  // cell's text is still theirs; a new value drops them.
  std::shared_ptr<const std::string> richText;
  bool Empty() const {
    return formula.empty() && !array.Any() && !comment && !numberFormat && !richText;
  }
  bool operator==(const CellExtras&) const = default;
};

// The colour a cell takes from its column (no colour of its own).
inline constexpr uint8_t kInheritColor = 0xFF;

struct CellRecord {
  Value value;
  std::unique_ptr<CellExtras> extras;
  uint8_t colorIndex = kInheritColor;  // own Interior.ColorIndex 0..56, or kInheritColor
  bool quotePrefix = false;            // typed with a leading apostrophe
  uint32_t style = 0;                  // the file's cell format, 0 the default

  CellRecord() = default;
  CellRecord(CellRecord&&) noexcept = default;
  CellRecord& operator=(CellRecord&&) noexcept = default;
  CellRecord(const CellRecord& other)
      : value(other.value),
        extras(other.extras ? std::make_unique<CellExtras>(*other.extras) : nullptr),
        colorIndex(other.colorIndex),
        quotePrefix(other.quotePrefix),
        style(other.style) {}
  CellRecord& operator=(const CellRecord& other) {
    if (this != &other) *this = CellRecord(other);
    return *this;
  }
  ~CellRecord() = default;

  bool HasFormula() const { return extras && !extras->formula.empty(); }
  // The array formula's block when the record, at `at`, anchors one.
  std::optional<Area> ArrayArea(Cell at) const {
    if (!extras || !extras->array.Any()) return std::nullopt;
    return Area::Of(at.row, at.col, at.row + extras->array.rows - 1,
                    at.col + extras->array.cols - 1);
  }
  // Drops the formula and the array it anchors.
  void ClearFormula() {
    if (extras) {
      extras->formula.clear();
      extras->array = ArrayExtent{};
    }
  }
  bool HasComment() const { return extras && extras->comment.has_value(); }
  // Drops the formatted runs of the text: the value they formatted is being replaced.
  void ClearRichText() {
    if (extras) extras->richText.reset();
  }
  const std::optional<std::string>& OwnNumberFormat() const {
    static const std::optional<std::string> none;
    return extras ? extras->numberFormat : none;
  }
  // Counted by CountA and stopped at by End: a value or a formula.
  bool HasContent() const { return !value.IsEmpty() || HasFormula(); }
  // A cell with nothing of its own is not stored at all.
  bool Blank() const {
    return value.IsEmpty() && colorIndex == kInheritColor && !quotePrefix && style == 0 &&
           (!extras || extras->Empty());
  }
  CellExtras& Extras() {
    if (!extras) extras = std::make_unique<CellExtras>();
    return *extras;
  }
  // Drops the extras once nothing is left in them.
  void TrimExtras() {
    if (extras && extras->Empty()) extras.reset();
  }
  void ClearContent() {
    value = Value();
    quotePrefix = false;
    ClearFormula();
    ClearRichText();
    TrimExtras();
  }
};

// Gives the record its own number format, or none when `format` is the one it would inherit.
inline void SetOwnNumberFormat(CellRecord& r, const std::string& format,
                               const std::string& inherited) {
  if (format == inherited) {
    if (r.extras) r.extras->numberFormat.reset();
  } else {
    r.Extras().numberFormat = format;
  }
  r.TrimExtras();
}

// Gives the record its own colour index (0..56), or none when it is the one it would inherit.
inline void SetOwnColor(CellRecord& r, int32_t index, int32_t inherited) {
  r.colorIndex = index == inherited ? kInheritColor : static_cast<uint8_t>(index);
}

}  // namespace tezlo
