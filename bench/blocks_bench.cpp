// The column-block codes through the dispatcher on a working sheet of 80,000 rows by 13 columns
// laid out in 1,600 topic blocks of 50 rows: the topic word alone in its row's column A, then 49
// rows of mixed numbers and texts in columns B to M.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "app/all_tools.h"
#include "dispatch/context.h"
#include "dispatch/dispatch.h"
#include "memory/memory_host.h"
#include "scripted/fixed_system.h"
#include "scripted/scripted_ui.h"
#include "topic_sheet.h"

namespace tezlo {
namespace {

constexpr int32_t kRows = bench::kTopicRows;
constexpr int32_t kCols = bench::kTopicCols;
constexpr int32_t kTopicEvery = bench::kTopicEvery;
// A cell in the topic block of rows 40,001 to 40,050, in its fourth column.
constexpr Cell kInBlock{40010, 4};

struct Workbench {
  MemoryHost host;
  ScriptedUi ui;
  FixedSystem system;
  Context ctx{host, ui, system};
  SheetRef sheet;

  Workbench() {
    ctx.tools = AllTools();
    const int32_t book = host.ActiveWorkbook();
    host.RenameSheet({book, 1}, "+1");
    host.RenameSheet({book, 2}, "+2");
    host.RenameSheet({book, 3}, "+3");
    sheet = {book, 1};
    host.ActivateSheet(sheet);
    bench::FillTopicSheet(host, sheet);
  }

  void Run(const char* code, Cell at) {
    host.ActivateCell(at);
    ctx.funcCode = code;
    Dispatch(ctx);
  }
};

Workbench& Bench() {
  static Workbench* bench = new Workbench();
  return *bench;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Checks once that "+3" opens three empty rows at the cursor and "-3" closes them again.
bool InsertAndDeleteWork(Workbench& b) {
  const Value below = b.host.GetValue(b.sheet, Cell{kInBlock.row + 3, kInBlock.col});
  const Value here = b.host.GetValue(b.sheet, kInBlock);
  b.Run("+3", kInBlock);
  const bool opened = b.host.GetValue(b.sheet, kInBlock).IsEmpty() &&
                      b.host.GetValue(b.sheet, Cell{kInBlock.row + 3, kInBlock.col}) == here;
  b.Run("-3", kInBlock);
  return opened && b.host.GetValue(b.sheet, kInBlock) == here &&
         b.host.GetValue(b.sheet, Cell{kInBlock.row + 3, kInBlock.col}) == below;
}

// "+3" timed; "-3" on the three new empty rows puts the sheet back.
void BM_InsertThreeRows(benchmark::State& state) {
  Workbench& b = Bench();
  if (!InsertAndDeleteWork(b)) state.SkipWithError("+3 and -3 did not do their work");
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    b.Run("+3", kInBlock);
    state.SetIterationTime(Seconds(start));
    b.Run("-3", kInBlock);
  }
  if (!b.ui.Dialogs().empty()) state.SkipWithError("a question was asked");
}

// "-3" timed, on three empty rows that an untimed "+3" made.
void BM_DeleteThreeRows(benchmark::State& state) {
  Workbench& b = Bench();
  for (auto _ : state) {
    b.Run("+3", kInBlock);
    const auto start = std::chrono::steady_clock::now();
    b.Run("-3", kInBlock);
    state.SetIterationTime(Seconds(start));
  }
  if (!b.ui.Dialogs().empty()) state.SkipWithError("a question was asked");
}

// "*5" on the 50-row topic block timed; an untimed "*6" turns the order round again.
void BM_SortBlockAscending(benchmark::State& state) {
  Workbench& b = Bench();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    b.Run("*5", kInBlock);
    state.SetIterationTime(Seconds(start));
    b.Run("*6", kInBlock);
  }
  b.Run("*5", kInBlock);
  const int32_t top = (kInBlock.row - 1) / kTopicEvery * kTopicEvery + 1;
  const Matrix keys =
      b.host.GetValues(b.sheet, Area::Of(top, kInBlock.col, top + kTopicEvery - 1, kInBlock.col));
  for (int32_t r = 1; r < keys.Rows(); ++r) {
    const Value& a = keys.At(r - 1, 0);
    const Value& c = keys.At(r, 0);
    if (a.IsNumber() && c.IsNumber() && a.AsNumber() > c.AsNumber())
      state.SkipWithError("not sorted");
    if (a.IsText() && c.IsNumber()) state.SkipWithError("texts before numbers");
  }
}

// "*16": the 50-row topic block under the cursor goes behind the sheet's last block; the next
// block closes up into its place, so every iteration moves a full block that has not moved yet
// (the 800 blocks from the cursor down outnumber the iterations).
void BM_MoveBlockToEnd(benchmark::State& state) {
  Workbench& b = Bench();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    b.Run("*16", kInBlock);
    state.SetIterationTime(Seconds(start));
  }
  const int64_t filled = int64_t{kRows / kTopicEvery} * (1 + (kTopicEvery - 1) * (kCols - 1));
  if (b.host.CountA(b.sheet, Area::Of(1, 1, 1048576, kCols)) != filled) {
    state.SkipWithError("cells lost");
  }
  // Every move leaves 10 more rows between the blocks at the end of the sheet.
  if (b.host.End(b.sheet, Cell{1048576, 1}, Direction::Up).row <= kRows) {
    state.SkipWithError("nothing moved");
  }
}

BENCHMARK(BM_InsertThreeRows)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteThreeRows)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortBlockAscending)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveBlockToEnd)->UseManualTime()->Iterations(700)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tezlo
