// Writes the workbooks the office benchmark (office_bench.py) loads into LibreOffice, with the
// same sheets the in-memory benchmarks build, so that the figures compare:
//   blocks.xlsx   "+1" holds the topic-block sheet of the column-block benchmarks;
//   topics.xlsx   "+1" holds the sheet with a topic index of the topic-tool benchmarks;
//   compare.xlsx  "+1" holds the two lists of 100,000 items of the comparison benchmark, under
//                 the topic word in A51, from row 52 in columns B and C.
//   tezlo_bench_books OUT_DIR
#include <cstdio>
#include <exception>
#include <string>

#include "compare_lists.h"
#include "files/workbook_file.h"
#include "memory/memory_host.h"
#include "topic_sheet.h"

namespace tezlo {
namespace {

constexpr int32_t kCompareItems = 100000;
constexpr int32_t kCompareTopRow = 51;

void NameSheets(MemoryHost& host) {
  const int32_t book = host.ActiveWorkbook();
  for (int32_t i = 1; i <= host.SheetCount(book); ++i)
    host.RenameSheet(SheetRef{book, i}, "+" + std::to_string(i));
}

void Save(MemoryHost& host, const std::string& path) {
  SaveWorkbook(host.GetWorkbook(host.ActiveWorkbook()), path);
}

void WriteBlocks(const std::string& path) {
  MemoryHost host;
  NameSheets(host);
  bench::FillTopicSheet(host, SheetRef{host.ActiveWorkbook(), 1});
  Save(host, path);
}

void WriteTopics(const std::string& path) {
  MemoryHost host;
  NameSheets(host);
  bench::FillIndexedTopicSheet(host, SheetRef{host.ActiveWorkbook(), 1});
  Save(host, path);
}

void WriteCompare(const std::string& path) {
  MemoryHost host;
  NameSheets(host);
  const SheetRef sheet{host.ActiveWorkbook(), 1};
  const bench::Lists lists = bench::MakeLists(kCompareItems);
  host.SetValue(sheet, Cell{kCompareTopRow, 1}, Value::Text("比较"));
  Matrix items(kCompareItems, 2);
  for (int32_t i = 0; i < kCompareItems; ++i) {
    items.At(i, 0) = Value::Text(lists.left[static_cast<size_t>(i)]);
    items.At(i, 1) = Value::Text(lists.right[static_cast<size_t>(i)]);
  }
  host.SetValues(sheet, Cell{kCompareTopRow + 1, 2}, items);
  Save(host, path);
}

}  // namespace
}  // namespace tezlo

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tezlo_bench_books OUT_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  try {
    tezlo::WriteBlocks(dir + "/blocks.xlsx");
    tezlo::WriteTopics(dir + "/topics.xlsx");
    tezlo::WriteCompare(dir + "/compare.xlsx");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tezlo_bench_books: %s\n", e.what());
    return 1;
  }
  return 0;
}
