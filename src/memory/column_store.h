// The cells of one column, sorted by row.
//
// Storage choice: a vector of chunks, each holding up to kMaxChunk entries as a base row plus
// sorted row offsets and the cell records, in parallel vectors. Looking a row up is a binary
// search over the chunks and then inside one chunk. Moving every cell from a row on (the shift
// of an insertion or deletion) rewrites the offsets of the one chunk the row falls in and the
// bases of the chunks after it: O(chunk size + number of chunks), whatever the number of cells
// moved. Each chunk also counts the cells holding content (and those holding a formula), so
// counting a whole column, jumping over long filled runs and finding the formulas cost about one
// step per chunk.
//
// mdds was considered: its multi_type_vector keeps one block per run of one type, so a column of
// mixed numbers and texts becomes a block per cell, and shifting positions rewrites every block
// after the shift point. The chunked store keeps the shift cost independent of the mix of types.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "memory/cell_record.h"

namespace tezlo {

class ColumnStore {
 public:
  static constexpr size_t kMaxChunk = 512;
  // Adjacent chunks holding together at most this many entries are merged after removals.
  static constexpr size_t kMergeBelow = kMaxChunk / 2;

  struct Entry {
    int32_t row = 0;
    CellRecord record;
  };

  // Walks the stored cells in row order.
  class Cursor {
   public:
    bool Valid() const { return store_ != nullptr && chunk_ < store_->chunks_.size(); }
    int32_t Row() const { return store_->chunks_[chunk_].Row(index_); }
    const CellRecord& Record() const { return store_->chunks_[chunk_].cells[index_]; }
    void Next();

   private:
    friend class ColumnStore;
    const ColumnStore* store_ = nullptr;
    size_t chunk_ = 0;
    size_t index_ = 0;
  };

  bool Empty() const { return chunks_.empty(); }
  size_t Size() const;
  size_t ChunkCount() const { return chunks_.size(); }
  // Row of the first and of the last stored cell; the store must not be empty.
  int32_t FirstRow() const { return chunks_.front().First(); }
  int32_t LastRow() const { return chunks_.back().Last(); }

  const CellRecord* Find(int32_t row) const;
  bool HasContent(int32_t row) const {
    const CellRecord* r = Find(row);
    return r != nullptr && r->HasContent();
  }
  // The first stored cell at or after `row`.
  Cursor Seek(int32_t row) const;
  Cursor Begin() const { return Seek(INT32_MIN); }

  // The first row in first..last whose cell holds content and satisfies `test(const CellRecord&)`.
  template <class P>
  std::optional<int32_t> FindFirst(int32_t first, int32_t last, P&& test) const {
    for (size_t i = ChunkFor(first); i < chunks_.size() && chunks_[i].First() <= last; ++i) {
      const Chunk& c = chunks_[i];
      if (c.content == 0) continue;
      for (size_t k = c.First() >= first ? 0 : c.LowerBound(first); k < c.Size(); ++k) {
        if (c.Row(k) > last) return std::nullopt;
        if (c.cells[k].HasContent() && test(c.cells[k])) return c.Row(k);
      }
    }
    return std::nullopt;
  }

  // Calls `visit(row, record)` for every cell holding a formula, in row order, passing over the
  // chunks that hold none: O(chunks + formulas).
  template <class F>
  void ForEachFormula(F&& visit) const {
    for (const Chunk& c : chunks_) {
      if (c.formulas == 0) continue;
      for (size_t k = 0; k < c.Size(); ++k) {
        if (c.cells[k].HasFormula()) visit(c.Row(k), c.cells[k]);
      }
    }
  }

  // Applies `edit` to the record at `row`, made empty first when there is none. A record left
  // blank is dropped.
  template <class F>
  void Edit(int32_t row, F&& edit) {
    const Pos p = Locate(row);
    CellRecord& record = chunks_[p.chunk].cells[p.index];
    const bool hadContent = record.HasContent();
    const bool hadFormula = record.HasFormula();
    edit(record);
    record.TrimExtras();
    Settle(p, hadContent, hadFormula);
  }
  // Stores `record` at `row`, replacing what was there (a blank record just removes it).
  void Put(int32_t row, CellRecord record);
  void Erase(int32_t row);

  // Removes and returns the cells in rows first..last, in row order.
  std::vector<Entry> Extract(int32_t first, int32_t last);
  // Adds cells sorted by row into rows that hold nothing yet: between two stored rows, not
  // interleaved with them (std::logic_error otherwise, with nothing changed). Blank records are
  // skipped.
  void InsertRun(std::vector<Entry> entries);
  // Applies `change(row, record)` to every stored cell in rows first..last; blank results go.
  template <class F>
  void Transform(int32_t first, int32_t last, F&& change) {
    std::vector<Entry> entries = Extract(first, last);
    for (Entry& e : entries) {
      change(e.row, e.record);
      e.record.TrimExtras();
    }
    InsertRun(std::move(entries));
  }

  // Moves every cell at `from` or below by `delta` rows. For a negative delta the rows
  // from + delta .. from - 1 must be empty; the caller keeps rows inside the sheet.
  void ShiftRows(int32_t from, int32_t delta);

  // Cells holding content in rows first..last.
  int64_t CountContent(int32_t first, int32_t last) const;
  // The nearest row after (before) `row` whose cell holds content.
  std::optional<int32_t> NextContent(int32_t row) const;
  std::optional<int32_t> PrevContent(int32_t row) const;
  // From a row holding content: the last (first) row of the unbroken run of content cells
  // going down (up) from it.
  int32_t RunEndDown(int32_t row) const;
  int32_t RunEndUp(int32_t row) const;

 private:
  struct Chunk {
    int32_t base = 0;
    std::vector<int32_t> rel;       // sorted offsets from base
    std::vector<CellRecord> cells;  // parallel to rel
    int32_t content = 0;            // cells holding content
    int32_t formulas = 0;           // cells holding a formula

    size_t Size() const { return rel.size(); }
    int32_t Row(size_t i) const { return base + rel[i]; }
    int32_t First() const { return base + rel.front(); }
    int32_t Last() const { return base + rel.back(); }
    size_t LowerBound(int32_t row) const;
    void Recount();
  };
  struct Pos {
    size_t chunk = 0;
    size_t index = 0;
  };

  // Index of the first chunk whose last row is at or after `row`; chunks_.size() when none.
  size_t ChunkFor(int32_t row) const;
  Pos Locate(int32_t row);
  void Settle(Pos p, bool hadContent, bool hadFormula);
  void EraseAt(Pos p);
  // Splits chunk `i` before its entry `at` (0 < at < size).
  void SplitChunk(size_t i, size_t at);
  void MergeAround(size_t from, size_t to);

  std::vector<Chunk> chunks_;
};

}  // namespace tezlo
