#include "memory/column_store.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <stdexcept>
#include <vector>

namespace tezlo {
namespace {

CellRecord Num(double v) {
  CellRecord r;
  r.value = Value::Number(v);
  return r;
}

CellRecord Formula(double lastValue) {
  CellRecord r = Num(lastValue);
  r.Extras().formula = "=A1+1";
  return r;
}

CellRecord ColourOnly() {
  CellRecord r;
  r.colorIndex = 6;
  return r;
}

// The store next to a plain map holding the same cells: every query must agree.
class StoreModel {
 public:
  void Put(int32_t row, CellRecord r) {
    if (r.Blank()) {
      model_.erase(row);
    } else {
      model_[row] = r;
    }
    store_.Put(row, std::move(r));
  }
  void Erase(int32_t row) {
    model_.erase(row);
    store_.Erase(row);
  }
  void Shift(int32_t from, int32_t delta) {
    std::map<int32_t, CellRecord> next;
    for (auto& [row, r] : model_) next[row >= from ? row + delta : row] = r;
    model_ = std::move(next);
    store_.ShiftRows(from, delta);
  }
  void Extract(int32_t first, int32_t last) {
    const std::vector<ColumnStore::Entry> got = store_.Extract(first, last);
    std::vector<int32_t> expected;
    for (auto it = model_.lower_bound(first); it != model_.end() && it->first <= last;) {
      expected.push_back(it->first);
      it = model_.erase(it);
    }
    std::vector<int32_t> rows;
    for (const auto& e : got) rows.push_back(e.row);
    ASSERT_EQ(rows, expected);
  }
  void CheckAgainstModel() const {
    std::vector<int32_t> rows;
    for (auto cur = store_.Begin(); cur.Valid(); cur.Next()) {
      rows.push_back(cur.Row());
      ASSERT_EQ(cur.Record().value, model_.at(cur.Row()).value);
    }
    std::vector<int32_t> expected;
    for (const auto& [row, r] : model_) expected.push_back(row);
    ASSERT_EQ(rows, expected);
    ASSERT_EQ(store_.Size(), model_.size());
    // The per-chunk formula counts let ForEachFormula skip chunks: it must still see them all.
    std::vector<int32_t> formulaRows;
    store_.ForEachFormula([&](int32_t row, const CellRecord& r) {
      EXPECT_TRUE(r.HasFormula());
      formulaRows.push_back(row);
    });
    std::vector<int32_t> expectedFormulas;
    for (const auto& [row, r] : model_) {
      if (r.HasFormula()) expectedFormulas.push_back(row);
    }
    ASSERT_EQ(formulaRows, expectedFormulas);
  }
  int64_t ModelCount(int32_t first, int32_t last) const {
    int64_t n = 0;
    for (auto it = model_.lower_bound(first); it != model_.end() && it->first <= last; ++it) {
      n += it->second.HasContent() ? 1 : 0;
    }
    return n;
  }
  std::optional<int32_t> ModelNext(int32_t row) const {
    for (auto it = model_.upper_bound(row); it != model_.end(); ++it) {
      if (it->second.HasContent()) return it->first;
    }
    return std::nullopt;
  }
  std::optional<int32_t> ModelPrev(int32_t row) const {
    for (auto it = std::make_reverse_iterator(model_.lower_bound(row)); it != model_.rend(); ++it) {
      if (it->second.HasContent()) return it->first;
    }
    return std::nullopt;
  }
  bool ModelContent(int32_t row) const {
    auto it = model_.find(row);
    return it != model_.end() && it->second.HasContent();
  }

  ColumnStore store_;
  std::map<int32_t, CellRecord> model_;
};

TEST(ColumnStoreTest, PutFindEraseAndBlankRecordsAreDropped) {
  ColumnStore s;
  EXPECT_TRUE(s.Empty());
  EXPECT_EQ(s.Find(5), nullptr);
  s.Put(5, Num(1));
  s.Put(3, Num(2));
  ASSERT_NE(s.Find(5), nullptr);
  EXPECT_EQ(s.Find(5)->value, Value::Number(1));
  EXPECT_EQ(s.FirstRow(), 3);
  EXPECT_EQ(s.LastRow(), 5);
  s.Edit(5, [](CellRecord& r) { r.value = Value(); });
  EXPECT_EQ(s.Find(5), nullptr);
  EXPECT_EQ(s.Size(), 1u);
  s.Erase(3);
  EXPECT_TRUE(s.Empty());
}

TEST(ColumnStoreTest, ShiftMovesOnlyRowsFromThePoint) {
  ColumnStore s;
  for (int32_t r = 1; r <= 2000; ++r) s.Put(r, Num(r));
  s.ShiftRows(100, 3);
  EXPECT_EQ(s.Find(99)->value, Value::Number(99));
  EXPECT_EQ(s.Find(100), nullptr);
  EXPECT_EQ(s.Find(102), nullptr);
  EXPECT_EQ(s.Find(103)->value, Value::Number(100));
  EXPECT_EQ(s.Find(2003)->value, Value::Number(2000));
  s.Extract(100, 102);
  s.ShiftRows(103, -3);
  for (int32_t r = 1; r <= 2000; ++r) ASSERT_EQ(s.Find(r)->value, Value::Number(r)) << r;
  EXPECT_EQ(s.Size(), 2000u);
}

TEST(ColumnStoreTest, CountsSkipCellsWithoutContent) {
  ColumnStore s;
  for (int32_t r = 1; r <= 1500; ++r) s.Put(r, r % 3 == 0 ? ColourOnly() : Num(r));
  EXPECT_EQ(s.CountContent(1, 1500), 1000);
  EXPECT_EQ(s.CountContent(3, 3), 0);
  EXPECT_EQ(s.CountContent(4, 5), 2);
  EXPECT_EQ(s.NextContent(2), 4);
  EXPECT_EQ(s.PrevContent(4), 2);
  EXPECT_EQ(s.NextContent(1500), std::nullopt);
  EXPECT_EQ(s.PrevContent(1), std::nullopt);
}

TEST(ColumnStoreTest, RunEndsCrossChunksAndStopAtGapsAndFormatOnlyCells) {
  ColumnStore s;
  for (int32_t r = 10; r <= 3000; ++r) s.Put(r, Num(r));
  EXPECT_EQ(s.RunEndDown(10), 3000);
  EXPECT_EQ(s.RunEndUp(3000), 10);
  EXPECT_EQ(s.RunEndDown(1234), 3000);
  s.Put(2000, ColourOnly());
  EXPECT_EQ(s.RunEndDown(10), 1999);
  EXPECT_EQ(s.RunEndUp(3000), 2001);
  s.Erase(700);
  EXPECT_EQ(s.RunEndDown(10), 699);
  EXPECT_EQ(s.RunEndUp(1999), 701);
}

TEST(ColumnStoreTest, InsertRunFillsAGapAndRefusesInterleaving) {
  ColumnStore s;
  for (int32_t r = 1; r <= 1000; ++r) s.Put(r, Num(r));
  std::vector<ColumnStore::Entry> taken = s.Extract(200, 800);
  ASSERT_EQ(taken.size(), 601u);
  EXPECT_EQ(s.Size(), 399u);
  s.InsertRun(std::move(taken));
  for (int32_t r = 1; r <= 1000; ++r) ASSERT_EQ(s.Find(r)->value, Value::Number(r)) << r;

  std::vector<ColumnStore::Entry> clash;
  clash.push_back({5, Num(0)});
  EXPECT_THROW(s.InsertRun(std::move(clash)), std::logic_error);
  EXPECT_EQ(s.Find(5)->value, Value::Number(5));
}

TEST(ColumnStoreTest, RandomOperationsAgreeWithAPlainMap) {
  std::mt19937 rng(12345);
  StoreModel m;
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int step = 0; step < 6000; ++step) {
    const int op = pick(0, 9);
    if (op <= 4) {
      const int32_t row = pick(1, 5000);
      const int kind = pick(0, 9);
      m.Put(row, kind == 0 ? ColourOnly() : kind == 1 ? Formula(step) : Num(row * 10 + step));
    } else if (op == 5) {
      m.Erase(pick(1, 5000));
    } else if (op == 6) {
      const int32_t from = pick(1, 5000);
      m.Shift(from, pick(1, 7));
    } else if (op == 7) {
      const int32_t first = pick(1, 5000);
      const int32_t n = pick(1, 40);
      ASSERT_NO_FATAL_FAILURE(m.Extract(first, first + n - 1));
      m.Shift(first + n, -n);
    } else if (op == 8) {
      const int32_t a = pick(1, 6000);
      const int32_t b = a + pick(0, 800);
      ASSERT_EQ(m.store_.CountContent(a, b), m.ModelCount(a, b));
      ASSERT_EQ(m.store_.NextContent(a), m.ModelNext(a));
      ASSERT_EQ(m.store_.PrevContent(a), m.ModelPrev(a));
    } else {
      const int32_t row = pick(1, 6000);
      if (m.ModelContent(row)) {
        int32_t down = row;
        while (m.ModelContent(down + 1)) ++down;
        int32_t up = row;
        while (m.ModelContent(up - 1)) --up;
        ASSERT_EQ(m.store_.RunEndDown(row), down);
        ASSERT_EQ(m.store_.RunEndUp(row), up);
      }
    }
    if (step % 200 == 0) {
      ASSERT_NO_FATAL_FAILURE(m.CheckAgainstModel());
    }
  }
  ASSERT_NO_FATAL_FAILURE(m.CheckAgainstModel());
}

}  // namespace
}  // namespace tezlo
