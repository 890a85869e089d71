#include "known_differences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "workbook_snapshot.h"

namespace tezlo {

namespace {

// The words of column B in rows `first` to `last` of sheet 1, top down, each with the facts of
// its row's columns C and D (which travel with it); those rows' lines leave `lines`.
std::vector<std::pair<std::string, std::string>> TakeSortedRows(std::vector<std::string>& lines,
                                                                int32_t first, int32_t last) {
  std::vector<std::pair<std::string, std::string>> rows;
  std::vector<std::string> rest;
  for (const std::string& line : lines) {
    int32_t row = 0;
    int32_t col = 0;
    if (std::sscanf(line.c_str(), "[1] %d,%d ", &row, &col) == 2 && row >= first && row <= last) {
      const std::string facts = line.substr(line.find(' ', 4) + 1);
      if (col == 2) rows.emplace_back(facts, "");
      if ((col == 3 || col == 4) && !rows.empty()) rows.back().second += facts + ";";
      continue;
    }
    rest.push_back(line);
  }
  lines = std::move(rest);
  return rows;
}

}  // namespace

// Both order Chinese by pinyin, the memory engine with ICU's Chinese collation and Calc with its
// own pinyin collator, which read some characters of two readings apart: the same rows in
// another order, while words whose characters have one reading keep their order among
// themselves.
void ExpectOwnCollation(std::vector<std::string> memory, std::vector<std::string> calc) {
  auto memoryRows = TakeSortedRows(memory, 102, 108);
  auto calcRows = TakeSortedRows(calc, 102, 108);
  EXPECT_TRUE(calc == memory) << FirstDifference(memory, calc);
  EXPECT_NE(calcRows, memoryRows);
  auto oneReading = [](std::vector<std::pair<std::string, std::string>> rows) {
    std::erase_if(rows, [](const auto& r) {
      for (const char* two : {"重", "长", "朝", "厦"})
        if (r.first.find(two) != std::string::npos) return true;
      return false;
    });
    return rows;
  };
  EXPECT_EQ(oneReading(calcRows), oneReading(memoryRows));
  std::sort(memoryRows.begin(), memoryRows.end());
  std::sort(calcRows.begin(), calcRows.end());
  EXPECT_EQ(calcRows, memoryRows);
}

// Sheets the code added hold the sizes each spreadsheet gives a new sheet: Excel's standard width
// and height in the memory engine; Calc's default width, and rows whose height Calc fits to their
// contents. Their width and height lines are left out on both sides, once checked to be those.
void DropNewSheetSizes(const std::vector<std::string>& namesBefore,
                       std::vector<std::string>& memory, std::vector<std::string>& calc) {
  ASSERT_EQ(calc.size(), memory.size()) << FirstDifference(memory, calc);
  std::string added;  // the "[i] " prefix of the sheet being read, when the code added it
  std::vector<std::string> keptMemory;
  std::vector<std::string> keptCalc;
  for (size_t i = 0; i < memory.size(); ++i) {
    const std::string& line = memory[i];
    if (line.starts_with("[") && line.find("] name ") != std::string::npos) {
      const std::string name = line.substr(line.find("] name ") + 7);
      const bool isNew =
          std::find(namesBefore.begin(), namesBefore.end(), name) == namesBefore.end();
      added = isNew ? line.substr(0, line.find(']') + 2) : "";
    }
    if (!added.empty() && line.starts_with(added + "row ")) {
      EXPECT_TRUE(line.ends_with(" h=13.500000")) << line;
      continue;
    }
    if (!added.empty() && line.starts_with(added + "col ")) {
      EXPECT_TRUE(line.ends_with(" w=48.000000")) << line;
      EXPECT_TRUE(calc[i].ends_with(" w=64.000000")) << calc[i];
      continue;
    }
    keptMemory.push_back(line);
    keptCalc.push_back(calc[i]);
  }
  memory = std::move(keptMemory);
  calc = std::move(keptCalc);
}

// Sizes that differ only where a column or row came in at an edge with each spreadsheet's
// default; every such line is made the same, and there must be one.
void ExpectEdgeSizes(std::vector<std::string> memory, std::vector<std::string> calc) {
  ASSERT_EQ(calc.size(), memory.size()) << FirstDifference(memory, calc);
  int32_t edge = 0;
  for (size_t i = 0; i < memory.size(); ++i) {
    const bool width = memory[i].find(" col ") != std::string::npos &&
                       memory[i].ends_with(" w=48.000000") && calc[i].ends_with(" w=64.000000");
    const bool height = memory[i].find(" row ") != std::string::npos &&
                        memory[i].ends_with(" h=13.500000") && calc[i].ends_with(" h=12.800000");
    if (memory[i] != calc[i] && (width || height)) {
      calc[i] = memory[i];
      ++edge;
    }
  }
  EXPECT_GT(edge, 0);
  EXPECT_TRUE(calc == memory) << FirstDifference(memory, calc);
}

// Only the used ranges differ, and the memory engine's reaches down to the marks' last row.
void ExpectFilledCellsUnused(std::vector<std::string> memory, std::vector<std::string> calc,
                             int32_t lastRow) {
  ASSERT_EQ(calc.size(), memory.size()) << FirstDifference(memory, calc);
  int32_t used = 0;
  for (size_t i = 0; i < memory.size(); ++i) {
    if (memory[i] != calc[i] && memory[i].starts_with("[1] used ")) {
      EXPECT_TRUE(memory[i].find(":" + std::to_string(lastRow) + ",") != std::string::npos)
          << memory[i];
      calc[i] = memory[i];
      ++used;
    }
  }
  EXPECT_EQ(used, 1);
  EXPECT_TRUE(calc == memory) << FirstDifference(memory, calc);
}

}  // namespace tezlo
