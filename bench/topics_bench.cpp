// The topic tools on full-size sheets (1,048,576 x 16,384) holding the benchmark workbook:
// 80,000 rows x 13 columns of mixed numbers and text, a topic word every 50 rows.
#include <benchmark/benchmark.h>

#include <memory>
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

constexpr int32_t kDataRows = bench::kTopicRows;
constexpr int32_t kDataCols = bench::kTopicCols;
// A format far outside the data, put back before each timed run so that slimming has rows and
// columns to delete.
constexpr Cell kFarCell{900000, 9000};

int32_t LastTopicRow() { return bench::IndexedLastTopicRow(); }
void FillBenchmarkSheet(Host& host, SheetRef sheet) { bench::FillIndexedTopicSheet(host, sheet); }

struct Bench {
  explicit Bench(int32_t sheets) : ctx(host, ui, system) {
    ctx.tools = AllTools();
    const int32_t book = host.ActiveWorkbook();
    while (host.SheetCount(book) < sheets)
      host.AddSheetAfter(SheetRef{book, host.SheetCount(book)});
    for (int32_t i = 1; i <= host.SheetCount(book); ++i) {
      host.RenameSheet(SheetRef{book, i}, "+" + std::to_string(i));
      if (i <= sheets) FillBenchmarkSheet(host, SheetRef{book, i});
    }
    host.ActivateSheet(SheetRef{book, 1});
  }
  void Run(const std::string& code) {
    ctx.funcCode = code;
    Dispatch(ctx);
  }
  MemoryHost host;
  ScriptedUi ui;
  FixedSystem system;
  Context ctx;
};

void BM_Slim999(benchmark::State& state) {
  Bench b(1);
  const SheetRef sheet{1, 1};
  for (auto _ : state) {
    state.PauseTiming();
    b.host.SetColorIndex(sheet, Area::Of(kFarCell), 6);
    state.ResumeTiming();
    b.Run("999");
  }
  if (b.host.UsedRange(sheet) != Area::Of(1, 1, kDataRows, kDataCols))
    state.SkipWithError("not trimmed");
  if (b.host.ActiveCell() != Cell{LastTopicRow(), 1})
    state.SkipWithError("not on the last topic word");
}
BENCHMARK(BM_Slim999)->Unit(benchmark::kMillisecond);

// A1 of the index holds the word of the last topic block: the search runs through every column
// block of the sheet and down the whole first block column.
void BM_TopicJumpToLastBlock(benchmark::State& state) {
  Bench b(1);
  for (auto _ : state) b.Run("101");
  if (b.host.ActiveCell() != Cell{LastTopicRow(), 1})
    state.SkipWithError("not on the last topic block");
}
BENCHMARK(BM_TopicJumpToLastBlock)->Unit(benchmark::kMillisecond);

void BM_SlimWorkbookOfFiveSheets(benchmark::State& state) {
  Bench b(5);
  for (auto _ : state) {
    state.PauseTiming();
    for (int32_t i = 1; i <= 5; ++i) b.host.SetColorIndex(SheetRef{1, i}, Area::Of(kFarCell), 6);
    state.ResumeTiming();
    b.Run("*15");
  }
  if (b.host.SheetCount(1) != 5) state.SkipWithError("a sheet went missing");
  for (int32_t i = 1; i <= 5; ++i) {
    if (b.host.UsedRange(SheetRef{1, i}).last != Cell{kDataRows, kDataCols})
      state.SkipWithError("not trimmed");
  }
}
BENCHMARK(BM_SlimWorkbookOfFiveSheets)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tezlo
