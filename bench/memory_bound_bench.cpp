// Opening a small file that declares 39 million formatted empty cells (2,400 rows x 16,384
// columns of <c r=".." s="1"/>, under 1 MB zipped): it must open in well under 1 GB of memory
// and a few seconds, or be refused quickly for its memory bound. Reports the peak memory of the
// load (VmHWM, reset before it) and the file's size.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/workbook_file.h"

namespace tezlo {
namespace {

std::string FormattedBook() {
  const auto path = std::filesystem::temp_directory_path() / "tezlo-bench-39m-formatted-cells.xlsx";
  if (!std::filesystem::exists(path)) {
    const auto script = std::filesystem::path(TEZLO_BENCH_DIR) / "make_formatted_book.py";
    const std::string command = "/usr/bin/python3 '" + script.string() + "' '" + path.string() +
                                ".part' 2400 && mv '" + path.string() + ".part' '" + path.string() +
                                "'";
    if (std::system(command.c_str()) != 0) return {};
  }
  return path.string();
}

// Resets the process's peak resident size (Linux: 5 into clear_refs), then reads it in MB.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }
double PeakMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

void BM_OpenThirtyNineMillionFormattedEmptyCells(benchmark::State& state) {
  const std::string path = FormattedBook();
  if (path.empty()) {
    state.SkipWithError("cannot make the workbook (python3 with zipfile)");
    return;
  }
  double peak = 0;
  bool refused = false;
  size_t runs = 0;
  for (auto _ : state) {
    ResetPeak();
    try {
      const auto wb = LoadWorkbook(path);
      runs = wb->GetSheet(1).RunCount();
    } catch (const FileError& e) {
      refused = true;
      state.SetLabel(e.what());
    }
    peak = std::max(peak, PeakMb());
  }
  state.counters["peak_MB"] = peak;
  state.counters["file_KB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
  state.counters["refused"] = refused ? 1 : 0;
  state.counters["runs"] = static_cast<double>(runs);
}

BENCHMARK(BM_OpenThirtyNineMillionFormattedEmptyCells)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace tezlo
