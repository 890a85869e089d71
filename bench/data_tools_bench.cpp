// The data tools on 100,000 cells through the dispatcher, and the two-column comparison's
// substring index against the straightforward scan it replaces.
//
// The comparison's items are those of compare_lists.h.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/all_tools.h"
#include "dispatch/context.h"
#include "dispatch/dispatch.h"
#include "memory/memory_host.h"
#include "scripted/fixed_system.h"
#include "scripted/scripted_ui.h"
#include "text/case_fold.h"
#include "tools/substring_index.h"
#include "compare_lists.h"

namespace tezlo {
namespace {

constexpr int32_t kItems = 100000;
constexpr int32_t kScanItems = 5000;
constexpr int32_t kTopRow = 51;  // the first data row of "+1"

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<std::u32string> Fold(const std::vector<std::string>& items) {
  std::vector<std::u32string> out;
  out.reserve(items.size());
  for (const auto& item : items) out.push_back(FoldForSearch(item));
  return out;
}

// The three columns' membership tests, as "*18" runs them, by `found` (the index or the scan).
using Membership = std::vector<bool> (*)(const std::vector<std::u32string>&,
                                         const std::vector<std::u32string>&);
void CompareLists(benchmark::State& state, Membership found) {
  const bench::Lists lists = bench::MakeLists(static_cast<int32_t>(state.range(0)));
  size_t both = 0;
  for (auto _ : state) {
    const auto left = Fold(lists.left);
    const auto right = Fold(lists.right);
    const auto leftInRight = found(left, right);
    const auto rightInLeft = found(right, left);
    both = static_cast<size_t>(std::count(leftInRight.begin(), leftInRight.end(), true));
    benchmark::DoNotOptimize(rightInLeft);
  }
  state.counters["left_in_right"] = static_cast<double>(both);
}

void BM_CompareIndex(benchmark::State& state) { CompareLists(state, FoundInAny); }
// The straightforward scan, for comparison.
void BM_CompareScan(benchmark::State& state) { CompareLists(state, FoundInAnyByScan); }

struct Workbench {
  MemoryHost host;
  ScriptedUi ui;
  FixedSystem system;
  Context ctx{host, ui, system};
  SheetRef sheet{1, 1};

  Workbench() {
    ctx.tools = AllTools();
    host.RenameSheet({1, 1}, "+1");
    host.RenameSheet({1, 2}, "+2");
    host.ActivateSheet(sheet);
    system.SetToday({2024, 6, 30});
  }
  void Column(int32_t col, const std::vector<Value>& values) {
    Matrix m(static_cast<int32_t>(values.size()), 1);
    for (size_t i = 0; i < values.size(); ++i) m.At(static_cast<int32_t>(i), 0) = values[i];
    host.SetValues(sheet, Cell{kTopRow, col}, m);
  }
  void SelectRows(int32_t col, int32_t count) {
    host.Select(Selection{{Area::Of(kTopRow, col, kTopRow + count - 1, col)}, Cell{kTopRow, col}});
  }
  void Run(const char* code) {
    ctx.funcCode = code;
    Dispatch(ctx);
  }
  // Deletes the sheet a listing or reshaping tool added after "+1", and goes back to "+1".
  void DropNewSheet() {
    host.DeleteSheet({1, 2});
    host.ActivateSheet(sheet);
  }
};

// "*18" on a topic block of 100,000 data rows: read, compare, write three columns.
void BM_CompareTwoColumnsTool(benchmark::State& state) {
  Workbench b;
  const bench::Lists lists = bench::MakeLists(kItems);
  b.host.SetValue(b.sheet, Cell{kTopRow, 1}, Value::Text("比较"));
  const auto put = [&](int32_t col, const std::vector<std::string>& items) {
    Matrix m(kItems, 1);
    for (int32_t i = 0; i < kItems; ++i) m.At(i, 0) = Value::Text(items[static_cast<size_t>(i)]);
    b.host.SetValues(b.sheet, Cell{kTopRow + 1, col}, m);
  };
  put(2, lists.left);
  put(3, lists.right);
  for (auto _ : state) {
    b.host.ActivateCell(Cell{kTopRow + 1, 2});
    b.ui.QueueAnswer(Answer::Ok);
    const auto start = std::chrono::steady_clock::now();
    b.Run("*18");
    state.SetIterationTime(Seconds(start));
  }
  const Area both = Area::Of(kTopRow + 1, 5, kTopRow + kItems, 5);
  const Area leftOnly = Area::Of(kTopRow + 1, 4, kTopRow + kItems, 4);
  if (b.host.CountA(b.sheet, both) + b.host.CountA(b.sheet, leftOnly) != kItems) {
    state.SkipWithError("not every left item was placed");
  }
  state.counters["both"] = static_cast<double>(b.host.CountA(b.sheet, both));
}

// "*21" on 100,000 18-character numbers: four cells written per number.
void BM_ExpandIdCardInfo(benchmark::State& state) {
  Workbench b;
  std::vector<Value> numbers;
  for (int32_t i = 0; i < kItems; ++i) {
    const int year = 1940 + i % 80;
    const int month = 1 + i % 12;
    const int day = 1 + i % 28;
    char text[32];
    std::snprintf(text, sizeof text, "110105%04d%02d%02d%03dX", year, month, day, i % 1000);
    numbers.push_back(Value::Text(std::string("'") + text));
  }
  b.Column(2, numbers);
  for (auto _ : state) {
    b.SelectRows(2, kItems);
    b.ui.QueueAnswer(Answer::Ok);
    const auto start = std::chrono::steady_clock::now();
    b.Run("*21");
    state.SetIterationTime(Seconds(start));
  }
  if (b.host.CountA(b.sheet, Area::Of(kTopRow, 7, kTopRow + kItems - 1, 7)) != kItems) {
    state.SkipWithError("not every number was expanded");
  }
}

// "*11" on a block of 10,000 rows by 10 columns.
void BM_BlockToColumn(benchmark::State& state) {
  Workbench b;
  constexpr int32_t kBlockRows = kItems / 10;
  Matrix block(kBlockRows, 10);
  for (int32_t r = 0; r < kBlockRows; ++r) {
    for (int32_t c = 0; c < 10; ++c) block.At(r, c) = Value::Number(r * 10 + c);
  }
  b.host.SetValues(b.sheet, Cell{kTopRow, 2}, block);
  for (auto _ : state) {
    b.host.Select(
        Selection{{Area::Of(kTopRow, 2, kTopRow + kBlockRows - 1, 11)}, Cell{kTopRow, 2}});
    const auto start = std::chrono::steady_clock::now();
    b.Run("*11");
    state.SetIterationTime(Seconds(start));
    if (b.host.CountA({1, 2}, Area::Of(1, 1, kItems, 1)) != kItems)
      state.SkipWithError("cells missing");
    b.DropNewSheet();
  }
}

// "*12" on a column of 100,000 rows, 100 rows per block column.
void BM_ColumnToBlock(benchmark::State& state) {
  Workbench b;
  std::vector<Value> numbers;
  for (int32_t i = 0; i < kItems; ++i) numbers.push_back(Value::Number(i));
  b.Column(2, numbers);
  for (auto _ : state) {
    b.SelectRows(2, kItems);
    b.ui.QueueInput("100");
    const auto start = std::chrono::steady_clock::now();
    b.Run("*12");
    state.SetIterationTime(Seconds(start));
    if (b.host.CountA({1, 2}, Area::Of(1, 1, 100, 1000)) != kItems)
      state.SkipWithError("cells missing");
    b.DropNewSheet();
  }
}

// "*22" choice 1 on 100,000 digit strings held as text; an untimed choice 2 makes them text again.
void BM_SwapTextToNumber(benchmark::State& state) {
  Workbench b;
  std::vector<Value> texts;
  for (int32_t i = 0; i < kItems; ++i) texts.push_back(Value::Text("'00" + std::to_string(i)));
  b.Column(2, texts);
  for (auto _ : state) {
    b.SelectRows(2, kItems);
    b.ui.QueueInput("1");
    const auto start = std::chrono::steady_clock::now();
    b.Run("*22");
    state.SetIterationTime(Seconds(start));
    if (!b.host.GetValue(b.sheet, Cell{kTopRow + 7, 2}).IsNumber())
      state.SkipWithError("not converted");
    b.ui.QueueInput("2");
    b.Run("*22");
  }
}

// "*22" choice 2 on 100,000 numbers; an untimed choice 1 makes them numbers again.
void BM_SwapNumberToText(benchmark::State& state) {
  Workbench b;
  std::vector<Value> numbers;
  for (int32_t i = 0; i < kItems; ++i) numbers.push_back(Value::Number(i));
  b.Column(2, numbers);
  for (auto _ : state) {
    b.SelectRows(2, kItems);
    b.ui.QueueInput("2");
    const auto start = std::chrono::steady_clock::now();
    b.Run("*22");
    state.SetIterationTime(Seconds(start));
    if (!b.host.GetValue(b.sheet, Cell{kTopRow + 7, 2}).IsText())
      state.SkipWithError("not converted");
    b.ui.QueueInput("1");
    b.Run("*22");
  }
}

BENCHMARK(BM_CompareIndex)->Arg(kScanItems)->Arg(kItems)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareScan)->Arg(kScanItems)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareTwoColumnsTool)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandIdCardInfo)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlockToColumn)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColumnToBlock)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwapTextToNumber)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwapNumberToText)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tezlo
