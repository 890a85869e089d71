#include "topic_sheet.h"

#include <string>

namespace tezlo::bench {

void FillTopicSheet(Host& host, SheetRef sheet) {
  Matrix rows(kTopicEvery, kTopicCols);
  for (int32_t top = 1; top <= kTopicRows; top += kTopicEvery) {
    for (int32_t r = 0; r < kTopicEvery; ++r) {
      const int32_t row = top + r;
      for (int32_t c = 0; c < kTopicCols; ++c) {
        Value& v = rows.At(r, c);
        if (r == 0) {
          v = c == 0 ? Value::Text("主题" + std::to_string(row / kTopicEvery + 1)) : Value();
        } else if (c == 0) {
          v = Value();
        } else if ((row * 7 + c * 3) % 5 < 3) {
          v = Value::Number((row * 37 + c * 11) % 1000 + c / 10.0);
        } else {
          v = Value::Text("t" + std::to_string((row * 13 + c) % 997));
        }
      }
    }
    host.SetValues(sheet, Cell{top, 1}, rows);
  }
}

namespace {
constexpr int32_t kFirstDataRow = 51;
std::string IndexedTopicWord(int32_t row) { return "主题" + std::to_string(row); }
}  // namespace

int32_t IndexedLastTopicRow() {
  return kFirstDataRow + (kTopicRows - kFirstDataRow) / kTopicEvery * kTopicEvery;
}

void FillIndexedTopicSheet(Host& host, SheetRef sheet) {
  Matrix index(kFirstDataRow - 1, 1);
  index.At(0, 0) = Value::Text(IndexedTopicWord(IndexedLastTopicRow()));
  for (int32_t r = 1; r < kFirstDataRow - 1; ++r)
    index.At(r, 0) = Value::Text(IndexedTopicWord(kFirstDataRow + r * kTopicEvery));
  host.SetValues(sheet, Cell{1, 1}, index);

  const int32_t rows = kTopicRows - kFirstDataRow + 1;
  Matrix data(rows, kTopicCols);
  for (int32_t i = 0; i < rows; ++i) {
    const int32_t row = kFirstDataRow + i;
    if ((row - kFirstDataRow) % kTopicEvery == 0)
      data.At(i, 0) = Value::Text(IndexedTopicWord(row));
    for (int32_t c = 1; c < kTopicCols; ++c) {
      data.At(i, c) = (row + c) % 2 == 0
                          ? Value::Number(row * 0.5 + c)
                          : Value::Text("t" + std::to_string(row) + "_" + std::to_string(c));
    }
  }
  host.SetValues(sheet, Cell{kFirstDataRow, 1}, data);
}

}  // namespace tezlo::bench
