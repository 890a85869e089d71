// The workbook Tezlo shows off its tools on when no file is given: a "+1" sheet with a topic
// index and topic blocks of Chinese and English notes, numbers, dates, formulas and a
// recent-codes note, and an empty "+2".
#pragma once

#include "host/host.h"

namespace tezlo {

// The topic index's words and where their topic blocks stand, for tests and help texts.
struct SampleTopic {
  const char* word;
  Cell indexCell;  // where the word stands in the topic index
  Cell block;      // its topic block's first cell; row 0 when it has none yet
};
inline constexpr SampleTopic kSampleTopics[] = {
    {"联系人", {1, 1}, {51, 1}},    {"读书笔记", {2, 1}, {66, 1}}, {"Budget 2024", {3, 1}, {81, 1}},
    {"身份证号", {4, 1}, {105, 1}}, {"数据对比", {5, 1}, {1, 14}}, {"Travel", {1, 2}, {119, 1}},
    {"待办事项", {6, 1}, {0, 0}},
};

// Turns the active workbook (a new one, with at least one sheet) into the sample through `host`:
// its sheets become "+1" and "+2", "+1" is filled and left active at A1, scrolled to A1.
// HostError when the host refuses a step.
void BuildSampleWorkbook(Host& host);

}  // namespace tezlo
