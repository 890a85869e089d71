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

}  // namespace tezlo::bench
