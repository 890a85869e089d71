// The benchmarks' sheets of topic blocks, 80,000 rows of 13 columns (1,040,000 cells) each.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace tezlo::bench {

inline constexpr int32_t kTopicRows = 80000;
inline constexpr int32_t kTopicCols = 13;
inline constexpr int32_t kTopicEvery = 50;

// A topic word alone in its row every 50 rows from row 1 (column A holds nothing else), numbers
// and texts in the 12 columns beside; written one topic block per transfer.
void FillTopicSheet(Host& host, SheetRef sheet);

// Rows 1-50: the topic index (A1 names the last topic block's word). From row 51: a topic word
// in column A every 50 rows, numbers and texts in B:M on every row.
void FillIndexedTopicSheet(Host& host, SheetRef sheet);
// The row of the last topic word of FillIndexedTopicSheet's sheet.
int32_t IndexedLastTopicRow();

}  // namespace tezlo::bench
