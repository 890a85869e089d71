// Loading and saving an xlsx workbook of 1,040,000 cells: 80,000 rows x 13 columns of numbers
// and texts, as a working sheet of topic blocks holds them.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "files/workbook_file.h"

namespace tezlo {
namespace {

constexpr int32_t kRows = 80000;
constexpr int32_t kCols = 13;

std::unique_ptr<Workbook> BigBook() {
  auto wb = std::make_unique<Workbook>("big", 1048576, 16384, 7, 1);
  Sheet& s = wb->GetSheet(1);
  for (int32_t col = 1; col <= kCols; ++col) {
    std::vector<ColumnStore::Entry> entries;
    entries.reserve(kRows);
    for (int32_t row = 1; row <= kRows; ++row) {
      CellRecord r;
      if ((row + col) % 2 == 0) {
        r.value = Value::Number(row * 1.25 + col);
      } else {
        r.value = Value::Text("主题" + std::to_string(row % 5000) + "-" + std::to_string(col));
      }
      entries.push_back(ColumnStore::Entry{row, std::move(r)});
    }
    s.Columns()[col].InsertRun(std::move(entries));
  }
  return wb;
}

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() /
          (std::string(name) + std::to_string(getpid()) + ".xlsx"))
      .string();
}

void BM_SaveBigWorkbook(benchmark::State& state) {
  const auto wb = BigBook();
  const std::string path = TempPath("tezlo-bench-save-");
  for (auto _ : state) SaveWorkbook(*wb, path);
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
  std::remove(path.c_str());
}
BENCHMARK(BM_SaveBigWorkbook)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_LoadBigWorkbook(benchmark::State& state) {
  const std::string path = TempPath("tezlo-bench-load-");
  SaveWorkbook(*BigBook(), path);
  for (auto _ : state) {
    auto wb = LoadWorkbook(path);
    benchmark::DoNotOptimize(wb.get());
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_LoadBigWorkbook)->Unit(benchmark::kMillisecond)->Iterations(3);

// The figure the target is stated for: read the file, then write it back.
void BM_LoadAndSaveBigWorkbook(benchmark::State& state) {
  const std::string in = TempPath("tezlo-bench-in-");
  const std::string out = TempPath("tezlo-bench-out-");
  SaveWorkbook(*BigBook(), in);
  for (auto _ : state) {
    auto wb = LoadWorkbook(in);
    SaveWorkbook(*wb, out);
  }
  std::remove(in.c_str());
  std::remove(out.c_str());
}
BENCHMARK(BM_LoadAndSaveBigWorkbook)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace tezlo
