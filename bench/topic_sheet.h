// The benchmarks' sheet of topic blocks: 80,000 rows of 13 columns, a topic word alone in its
// row every 50 rows (column A holds nothing else), numbers and texts in the 12 columns beside.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace tezlo::bench {

inline constexpr int32_t kTopicRows = 80000;
inline constexpr int32_t kTopicCols = 13;
inline constexpr int32_t kTopicEvery = 50;

// Writes the sheet into `sheet`, one topic block per transfer.
void FillTopicSheet(Host& host, SheetRef sheet);

}  // namespace tezlo::bench
