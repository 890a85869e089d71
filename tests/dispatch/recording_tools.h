// Fake tools that record that they ran, under a name of their own, and what they saw on entry;
// and a small table of them for the tests of the dispatcher and the command box.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "dispatch/context.h"
#include "dispatch/helpers.h"
#include "dispatch/tool_table.h"

namespace tezlo::testing {

struct ToolRun {
  std::string name;
  bool screenUpdating = false;
  Flow flow = Flow::GoOn;
  int16_t blockWidth = 0;
};

// What the fake tools ran, in order. Cleared by UseRecordingTable.
inline std::vector<ToolRun>& ToolRuns() {
  static std::vector<ToolRun> runs;
  return runs;
}

// A name given as a template argument: Record<"plus">.
template <size_t N>
struct ToolName {
  constexpr ToolName(const char (&name)[N]) { std::copy_n(name, N, text); }
  char text[N];
};

template <ToolName name>
void Record(Context& ctx) {
  ToolRuns().push_back(ToolRun{name.text, ctx.host.ScreenUpdating(), ctx.flowFlag, ctx.blockWidth});
}

// A row of each kind of test, the captioned ones with captions of the program's form, and the
// empty code going to A1 as in the program.
inline constexpr DispatchRow kRecordingTable[] = {
    {CodeTest::Empty(), nullptr, &GoToTopLeft},
    {CodeTest::StartsWith("++"), nullptr, &Record<"++">},
    {CodeTest::StartsWith("+"), nullptr, &Record<"+">},
    {CodeTest::NumberEquals(999), nullptr, &Record<"999">},
    {CodeTest::NumberAbove(100), nullptr, &Record<"above 100">},
    {CodeTest::Exactly("*5"), nullptr, &Record<"*5">},
    {CodeTest::Exactly("*13"), "j13获取桌面文件列表", &Record<"*13">},
    {CodeTest::Exactly("*21"), "j21身份证信息", &Record<"*21">},
};

// Clears the record and makes the context dispatch through kRecordingTable.
inline void UseRecordingTable(Context& ctx) {
  ToolRuns().clear();
  ctx.tools = kRecordingTable;
}

// The names of the tools that ran, in order.
inline std::vector<std::string> RanTools() {
  std::vector<std::string> names;
  for (const ToolRun& run : ToolRuns()) names.push_back(run.name);
  return names;
}

}  // namespace tezlo::testing
