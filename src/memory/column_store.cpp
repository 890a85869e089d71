#include "memory/column_store.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace tezlo {

namespace {

template <class V>
void EraseRange(V& v, size_t a, size_t b) {
  v.erase(v.begin() + static_cast<std::ptrdiff_t>(a), v.begin() + static_cast<std::ptrdiff_t>(b));
}

}  // namespace

size_t ColumnStore::Chunk::LowerBound(int32_t row) const {
  // Offsets are relative to base; compare in 64 bits so far rows never overflow.
  const int64_t target = int64_t{row} - base;
  auto it = std::lower_bound(rel.begin(), rel.end(), target,
                             [](int32_t r, int64_t t) { return int64_t{r} < t; });
  return static_cast<size_t>(it - rel.begin());
}

void ColumnStore::Chunk::Recount() {
  content = 0;
  formulas = 0;
  for (const CellRecord& c : cells) {
    content += c.HasContent() ? 1 : 0;
    formulas += c.HasFormula() ? 1 : 0;
  }
}

void ColumnStore::Cursor::Next() {
  if (++index_ >= store_->chunks_[chunk_].Size()) {
    ++chunk_;
    index_ = 0;
  }
}

size_t ColumnStore::Size() const {
  size_t n = 0;
  for (const Chunk& c : chunks_) n += c.Size();
  return n;
}

size_t ColumnStore::ChunkFor(int32_t row) const {
  auto it = std::partition_point(chunks_.begin(), chunks_.end(),
                                 [row](const Chunk& c) { return c.Last() < row; });
  return static_cast<size_t>(it - chunks_.begin());
}

const CellRecord* ColumnStore::Find(int32_t row) const {
  const size_t i = ChunkFor(row);
  if (i == chunks_.size()) return nullptr;
  const Chunk& c = chunks_[i];
  const size_t j = c.LowerBound(row);
  if (j < c.Size() && c.Row(j) == row) return &c.cells[j];
  return nullptr;
}

ColumnStore::Cursor ColumnStore::Seek(int32_t row) const {
  Cursor cur;
  cur.store_ = this;
  cur.chunk_ = ChunkFor(row);
  if (cur.chunk_ < chunks_.size()) cur.index_ = chunks_[cur.chunk_].LowerBound(row);
  return cur;
}

ColumnStore::Pos ColumnStore::Locate(int32_t row) {
  if (chunks_.empty()) {
    Chunk c;
    c.base = row;
    c.rel.push_back(0);
    c.cells.emplace_back();
    chunks_.push_back(std::move(c));
    return {0, 0};
  }
  size_t i = ChunkFor(row);
  if (i == chunks_.size()) i = chunks_.size() - 1;
  Chunk& c = chunks_[i];
  const size_t j = c.LowerBound(row);
  if (j < c.Size() && c.Row(j) == row) return {i, j};
  c.rel.insert(c.rel.begin() + static_cast<std::ptrdiff_t>(j), row - c.base);
  c.cells.emplace(c.cells.begin() + static_cast<std::ptrdiff_t>(j));
  if (c.Size() <= kMaxChunk) return {i, j};
  const size_t half = c.Size() / 2;
  SplitChunk(i, half);
  return j < half ? Pos{i, j} : Pos{i + 1, j - half};
}

void ColumnStore::SplitChunk(size_t i, size_t at) {
  Chunk tail;
  {
    Chunk& c = chunks_[i];
    tail.base = c.Row(at);
    tail.rel.reserve(c.Size() - at);
    for (size_t k = at; k < c.Size(); ++k) tail.rel.push_back(c.Row(k) - tail.base);
    tail.cells.assign(std::make_move_iterator(c.cells.begin() + static_cast<std::ptrdiff_t>(at)),
                      std::make_move_iterator(c.cells.end()));
    c.rel.resize(at);
    c.cells.erase(c.cells.begin() + static_cast<std::ptrdiff_t>(at), c.cells.end());
    tail.Recount();
    c.content -= tail.content;
    c.formulas -= tail.formulas;
  }
  chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
}

void ColumnStore::Settle(Pos p, bool hadContent, bool hadFormula) {
  Chunk& c = chunks_[p.chunk];
  const CellRecord& record = c.cells[p.index];
  c.content += (record.HasContent() ? 1 : 0) - (hadContent ? 1 : 0);
  c.formulas += (record.HasFormula() ? 1 : 0) - (hadFormula ? 1 : 0);
  if (record.Blank()) EraseAt(p);
}

void ColumnStore::EraseAt(Pos p) {
  Chunk& c = chunks_[p.chunk];
  if (c.cells[p.index].HasContent()) --c.content;
  if (c.cells[p.index].HasFormula()) --c.formulas;
  c.rel.erase(c.rel.begin() + static_cast<std::ptrdiff_t>(p.index));
  c.cells.erase(c.cells.begin() + static_cast<std::ptrdiff_t>(p.index));
  if (c.Size() == 0) {
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(p.chunk));
    MergeAround(p.chunk, p.chunk);
  } else {
    MergeAround(p.chunk, p.chunk + 1);
  }
}

void ColumnStore::MergeAround(size_t from, size_t to) {
  // Merges each chunk in from..to with its predecessor while both together stay small.
  size_t k = std::max<size_t>(from, 1);
  to = std::min(to, chunks_.size() == 0 ? 0 : chunks_.size() - 1);
  while (k <= to && k < chunks_.size()) {
    Chunk& prev = chunks_[k - 1];
    Chunk& cur = chunks_[k];
    if (prev.Size() + cur.Size() > kMergeBelow) {
      ++k;
      continue;
    }
    for (size_t x = 0; x < cur.Size(); ++x) prev.rel.push_back(cur.Row(x) - prev.base);
    std::move(cur.cells.begin(), cur.cells.end(), std::back_inserter(prev.cells));
    prev.content += cur.content;
    prev.formulas += cur.formulas;
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(k));
    if (to > 0) --to;
  }
}

void ColumnStore::Put(int32_t row, CellRecord record) {
  if (record.Blank()) {
    Erase(row);
    return;
  }
  Edit(row, [&record](CellRecord& r) { r = std::move(record); });
}

void ColumnStore::Erase(int32_t row) {
  const size_t i = ChunkFor(row);
  if (i == chunks_.size()) return;
  const size_t j = chunks_[i].LowerBound(row);
  if (j < chunks_[i].Size() && chunks_[i].Row(j) == row) EraseAt({i, j});
}

std::vector<ColumnStore::Entry> ColumnStore::Extract(int32_t first, int32_t last) {
  std::vector<Entry> out;
  if (first > last) return out;
  const size_t start = ChunkFor(first);
  size_t i = start;
  while (i < chunks_.size() && chunks_[i].First() <= last) {
    Chunk& c = chunks_[i];
    const size_t a = c.LowerBound(first);
    const size_t b = last == INT32_MAX ? c.Size() : c.LowerBound(last + 1);
    for (size_t k = a; k < b; ++k) {
      if (c.cells[k].HasContent()) --c.content;
      if (c.cells[k].HasFormula()) --c.formulas;
      out.push_back(Entry{c.Row(k), std::move(c.cells[k])});
    }
    EraseRange(c.rel, a, b);
    EraseRange(c.cells, a, b);
    if (c.Size() == 0) {
      chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  MergeAround(start, start + 1);
  return out;
}

void ColumnStore::InsertRun(std::vector<Entry> entries) {
  std::erase_if(entries, [](const Entry& e) { return e.record.Blank(); });
  if (entries.empty()) return;
  const int32_t lo = entries.front().row;
  const int32_t hi = entries.back().row;
  for (size_t k = 1; k < entries.size(); ++k) {
    if (entries[k - 1].row >= entries[k].row) throw std::logic_error("cells not sorted by row");
  }
  size_t i = ChunkFor(lo);
  size_t splitAt = 0;
  if (i < chunks_.size()) {
    const Chunk& c = chunks_[i];
    splitAt = c.LowerBound(lo);
    const int32_t next = splitAt < c.Size() ? c.Row(splitAt) : chunks_[i + 1].First();
    if (next <= hi) throw std::logic_error("cells would interleave with stored cells");
  }
  if (i < chunks_.size() && splitAt > 0) {
    SplitChunk(i, splitAt);
    ++i;
  }
  std::vector<Chunk> fresh;
  for (size_t k = 0; k < entries.size(); k += kMaxChunk) {
    const size_t end = std::min(entries.size(), k + kMaxChunk);
    Chunk c;
    c.base = entries[k].row;
    c.rel.reserve(end - k);
    c.cells.reserve(end - k);
    for (size_t x = k; x < end; ++x) {
      c.rel.push_back(entries[x].row - c.base);
      c.cells.push_back(std::move(entries[x].record));
    }
    c.Recount();
    fresh.push_back(std::move(c));
  }
  const size_t count = fresh.size();
  chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(i),
                 std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
  MergeAround(i, i + count);
}

void ColumnStore::ShiftRows(int32_t from, int32_t delta) {
  if (delta == 0) return;
  size_t i = ChunkFor(from);
  if (i == chunks_.size()) return;
  Chunk& c = chunks_[i];
  if (c.First() >= from) {
    c.base += delta;
  } else {
    for (size_t j = c.LowerBound(from); j < c.Size(); ++j) c.rel[j] += delta;
  }
  for (++i; i < chunks_.size(); ++i) chunks_[i].base += delta;
}

int64_t ColumnStore::CountContent(int32_t first, int32_t last) const {
  int64_t n = 0;
  if (first > last) return 0;
  for (size_t i = ChunkFor(first); i < chunks_.size() && chunks_[i].First() <= last; ++i) {
    const Chunk& c = chunks_[i];
    if (c.First() >= first && c.Last() <= last) {
      n += c.content;
      continue;
    }
    if (c.content == 0) continue;
    const size_t b = c.Last() <= last ? c.Size() : c.LowerBound(last + 1);
    for (size_t k = c.LowerBound(first); k < b; ++k) n += c.cells[k].HasContent() ? 1 : 0;
  }
  return n;
}

std::optional<int32_t> ColumnStore::NextContent(int32_t row) const {
  if (row == INT32_MAX) return std::nullopt;
  for (size_t i = ChunkFor(row + 1); i < chunks_.size(); ++i) {
    const Chunk& c = chunks_[i];
    if (c.content == 0) continue;
    for (size_t k = c.LowerBound(row + 1); k < c.Size(); ++k) {
      if (c.cells[k].HasContent()) return c.Row(k);
    }
  }
  return std::nullopt;
}

std::optional<int32_t> ColumnStore::PrevContent(int32_t row) const {
  // Entries before `row`: those of chunk ChunkFor(row) below its lower bound, and all earlier
  // chunks.
  size_t i = ChunkFor(row);
  size_t end = i < chunks_.size() ? chunks_[i].LowerBound(row) : 0;
  if (i == chunks_.size()) {
    if (chunks_.empty()) return std::nullopt;
    i = chunks_.size() - 1;
    end = chunks_[i].Size();
  }
  while (true) {
    const Chunk& c = chunks_[i];
    if (c.content > 0) {
      for (size_t k = end; k > 0; --k) {
        if (c.cells[k - 1].HasContent()) return c.Row(k - 1);
      }
    }
    if (i == 0) return std::nullopt;
    --i;
    end = chunks_[i].Size();
  }
}

int32_t ColumnStore::RunEndDown(int32_t row) const {
  size_t i = ChunkFor(row);
  if (i == chunks_.size()) return row;
  size_t j = chunks_[i].LowerBound(row);
  if (j >= chunks_[i].Size() || chunks_[i].Row(j) != row) return row;
  int32_t cur = row;
  while (true) {
    const Chunk& c = chunks_[i];
    const size_t n = c.Size();
    // A chunk full of content whose rows from j on are consecutive is crossed in one step.
    if (static_cast<size_t>(c.content) == n &&
        static_cast<size_t>(c.Last() - c.Row(j)) == n - 1 - j) {
      cur = c.Last();
      j = n - 1;
    }
    if (j + 1 < n) {
      if (c.Row(j + 1) != cur + 1 || !c.cells[j + 1].HasContent()) return cur;
      ++j;
      ++cur;
      continue;
    }
    if (i + 1 == chunks_.size()) return cur;
    const Chunk& next = chunks_[i + 1];
    if (next.First() != cur + 1 || !next.cells.front().HasContent()) return cur;
    ++i;
    j = 0;
    ++cur;
  }
}

int32_t ColumnStore::RunEndUp(int32_t row) const {
  size_t i = ChunkFor(row);
  if (i == chunks_.size()) return row;
  size_t j = chunks_[i].LowerBound(row);
  if (j >= chunks_[i].Size() || chunks_[i].Row(j) != row) return row;
  int32_t cur = row;
  while (true) {
    const Chunk& c = chunks_[i];
    if (static_cast<size_t>(c.content) == c.Size() &&
        static_cast<size_t>(c.Row(j) - c.First()) == j) {
      cur = c.First();
      j = 0;
    }
    if (j > 0) {
      if (c.Row(j - 1) != cur - 1 || !c.cells[j - 1].HasContent()) return cur;
      --j;
      --cur;
      continue;
    }
    if (i == 0) return cur;
    const Chunk& prev = chunks_[i - 1];
    if (prev.Last() != cur - 1 || !prev.cells.back().HasContent()) return cur;
    --i;
    j = prev.Size() - 1;
    --cur;
  }
}

}  // namespace tezlo
