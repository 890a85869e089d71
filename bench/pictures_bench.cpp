// Carrying a workbook with 20 MB of pictures through a load and a save, beside copying the same
// file: the pictures are kept as they were read and stored, not deflated again, so the two
// should cost about the same.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "files/workbook_file.h"

namespace tezlo {
namespace {

std::string PictureBook() {
  const auto path = std::filesystem::temp_directory_path() / "tezlo-bench-20mb-pictures.xlsx";
  if (!std::filesystem::exists(path)) {
    const auto script = std::filesystem::path(TEZLO_BENCH_DIR) / "make_picture_book.py";
    const std::string command = "/usr/bin/python3 '" + script.string() + "' '" + path.string() +
                                ".part' && mv '" + path.string() + ".part' '" + path.string() + "'";
    if (std::system(command.c_str()) != 0) return {};
  }
  return path.string();
}

std::string OutPath() {
  return (std::filesystem::temp_directory_path() /
          ("tezlo-bench-pictures-out-" + std::to_string(getpid()) + ".xlsx"))
      .string();
}

void BM_CarryTwentyMegabytesOfPictures(benchmark::State& state) {
  const std::string in = PictureBook();
  if (in.empty()) {
    state.SkipWithError("cannot make the workbook (python3-openpyxl)");
    return;
  }
  const std::string out = OutPath();
  for (auto _ : state) SaveWorkbook(*LoadWorkbook(in), out);
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(in)) / 1e6;
  std::filesystem::remove(out);
}
BENCHMARK(BM_CarryTwentyMegabytesOfPictures)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

// The floor: the same file copied and flushed to the disk, as a safe save flushes what it writes.
void BM_CopyTheSameFile(benchmark::State& state) {
  const std::string in = PictureBook();
  if (in.empty()) {
    state.SkipWithError("cannot make the workbook (python3-openpyxl)");
    return;
  }
  const std::string out = OutPath();
  for (auto _ : state) {
    std::filesystem::copy_file(in, out, std::filesystem::copy_options::overwrite_existing);
    const int fd = open(out.c_str(), O_WRONLY);
    if (fd < 0 || fsync(fd) != 0) state.SkipWithError("cannot flush the copy");
    if (fd >= 0) close(fd);
  }
  std::filesystem::remove(out);
}
BENCHMARK(BM_CopyTheSameFile)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
}  // namespace tezlo
