// The in-memory engine on a working sheet of 1,040,000 cells: 80,000 rows by 13 columns of mixed
// numbers and texts, a topic word in column A every 50 rows.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "memory/memory_host.h"

namespace tezlo {
namespace {

constexpr int32_t kRows = 80000;
constexpr int32_t kCols = 13;
constexpr SheetRef kSheet{1, 1};
const Area kColumnA = Area::Of(1, 1, 1048576, 1);
const Area kBand = Area::Of(100, 1, 102, kCols);  // 3 x 13 cells at row 100

std::string TopicWord(int32_t row) { return "主题" + std::to_string(row / 50 + 1); }

// 80,000 rows x 13 columns of numbers and texts, a topic word in column A every 50 rows.
void Fill(MemoryHost* h) {
  for (int32_t r = 1; r <= kRows; ++r) {
    for (int32_t c = 1; c <= kCols; ++c) {
      Value v;
      if (c == 1 && r % 50 == 1) {
        v = Value::Text(TopicWord(r));
      } else if ((r + c) % 2 == 0) {
        v = Value::Number(r * 100.0 + c);
      } else {
        v = Value::Text("t" + std::to_string(r) + "-" + std::to_string(c));
      }
      h->SetValue(kSheet, Cell{r, c}, v);
    }
  }
}

MemoryHost& Sheet() {
  static MemoryHost* host = [] {
    auto* h = new MemoryHost();
    Fill(h);
    return h;
  }();
  return *host;
}

// The same sheet with 1,000 formulas beside the band (column N), each pointing into column A:
// every shift must update those below the band, and only those cells are visited.
constexpr int32_t kFormulaCount = 1000;
MemoryHost& SheetWithFormulas() {
  static MemoryHost* host = [] {
    auto* h = new MemoryHost();
    Fill(h);
    for (int32_t k = 0; k < kFormulaCount; ++k) {
      const int32_t r = 1 + k * (kRows / kFormulaCount);
      h->SetFormula(kSheet, Cell{r, kCols + 1}, "=A" + std::to_string(r) + "&\"!\"", Value());
    }
    return h;
  }();
  return *host;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_InsertThenDelete3x13(benchmark::State& state) {
  MemoryHost& h = Sheet();
  for (auto _ : state) {
    h.InsertShiftDown(kSheet, kBand);
    h.DeleteShiftUp(kSheet, kBand);
  }
  if (h.CountA(kSheet, Area::Of(1, 1, 1048576, kCols)) != int64_t{kRows} * kCols) {
    state.SkipWithError("cells lost");
  }
}

void BM_InsertThenDelete3x13WithFormulas(benchmark::State& state) {
  MemoryHost& h = SheetWithFormulas();
  const Cell probe{1 + 500 * (kRows / kFormulaCount), kCols + 1};
  const std::string before = h.GetFormula(kSheet, probe);
  for (auto _ : state) {
    h.InsertShiftDown(kSheet, kBand);
    h.DeleteShiftUp(kSheet, kBand);
  }
  if (h.GetFormula(kSheet, probe) != before) state.SkipWithError("references did not come back");
}

// Each half timed alone; the other half, untimed, puts the sheet back.
void BM_InsertShiftDown3x13(benchmark::State& state) {
  MemoryHost& h = Sheet();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    h.InsertShiftDown(kSheet, kBand);
    state.SetIterationTime(Seconds(start));
    h.DeleteShiftUp(kSheet, kBand);
  }
}

void BM_DeleteShiftUp3x13(benchmark::State& state) {
  MemoryHost& h = Sheet();
  for (auto _ : state) {
    h.InsertShiftDown(kSheet, kBand);
    const auto start = std::chrono::steady_clock::now();
    h.DeleteShiftUp(kSheet, kBand);
    state.SetIterationTime(Seconds(start));
  }
}

void BM_EndDownFromA1(benchmark::State& state) {
  MemoryHost& h = Sheet();
  for (auto _ : state) benchmark::DoNotOptimize(h.End(kSheet, Cell{1, 1}, Direction::Down));
  if (h.End(kSheet, Cell{1, 1}, Direction::Down) != Cell{kRows, 1}) state.SkipWithError("wrong");
}

void BM_EndUpFromLastRow(benchmark::State& state) {
  MemoryHost& h = Sheet();
  for (auto _ : state) benchmark::DoNotOptimize(h.End(kSheet, Cell{1048576, 1}, Direction::Up));
  if (h.End(kSheet, Cell{1048576, 1}, Direction::Up) != Cell{kRows, 1})
    state.SkipWithError("wrong");
}

void BM_EndUpFromLastFilled(benchmark::State& state) {
  MemoryHost& h = Sheet();
  for (auto _ : state) benchmark::DoNotOptimize(h.End(kSheet, Cell{kRows, 1}, Direction::Up));
  if (h.End(kSheet, Cell{kRows, 1}, Direction::Up) != Cell{1, 1}) state.SkipWithError("wrong");
}

void BM_CountAColumnA(benchmark::State& state) {
  MemoryHost& h = Sheet();
  for (auto _ : state) benchmark::DoNotOptimize(h.CountA(kSheet, kColumnA));
  if (h.CountA(kSheet, kColumnA) != kRows) state.SkipWithError("wrong count");
}

void BM_MatchLastTopicWordColumnA(benchmark::State& state) {
  MemoryHost& h = Sheet();
  const int32_t lastTopicRow = (kRows - 1) / 50 * 50 + 1;
  const Value word = Value::Text(TopicWord(lastTopicRow));
  for (auto _ : state) benchmark::DoNotOptimize(h.Match(kSheet, word, kColumnA));
  if (h.Match(kSheet, word, kColumnA) != lastTopicRow) state.SkipWithError("wrong position");
}

BENCHMARK(BM_InsertThenDelete3x13)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertThenDelete3x13WithFormulas)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertShiftDown3x13)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteShiftUp3x13)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EndDownFromA1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EndUpFromLastRow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EndUpFromLastFilled)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CountAColumnA)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MatchLastTopicWordColumnA)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tezlo
