// Fake tools for every Toolset slot that record which slot ran, and what they saw on entry.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "dispatch/context.h"
#include "dispatch/toolset.h"

namespace tezlo::testing {

struct ToolRun {
  std::string name;
  bool screenUpdating = false;
  Flow flow = Flow::GoOn;
  int16_t blockWidth = 0;
};

// What the fake tools ran, in order. Cleared by InstallRecordingTools.
inline std::vector<ToolRun>& ToolRuns() {
  static std::vector<ToolRun> runs;
  return runs;
}

struct Slot {
  Tool Toolset::*member;
  const char* name;
};

#define TEZLO_SLOT(name) Slot{&Toolset::name, #name}
inline constexpr std::array kSlots = {
    TEZLO_SLOT(InsertBlockRow),   TEZLO_SLOT(DeleteBlockRow),
    TEZLO_SLOT(InsertBlockRows),  TEZLO_SLOT(DeleteBlockRows),
    TEZLO_SLOT(GoToVisibleCell),  TEZLO_SLOT(SwapTwoCells),
    TEZLO_SLOT(SwapRegionRows),   TEZLO_SLOT(SwapRegionColumns),
    TEZLO_SLOT(SortRegionAscending), TEZLO_SLOT(SortRegionDescending),
    TEZLO_SLOT(SaveBlockSizes),   TEZLO_SLOT(RestoreBlockSizes),
    TEZLO_SLOT(SelectRegion),     TEZLO_SLOT(MoveRegionToEnd),
    TEZLO_SLOT(SlimSheetToEnd),   TEZLO_SLOT(GoToTopicWord),
    TEZLO_SLOT(SetUpSheet),       TEZLO_SLOT(SlimWorkbook),
    TEZLO_SLOT(CopyTopicBlocksToNewSheet), TEZLO_SLOT(ListTopicWords),
    TEZLO_SLOT(ListDesktopFiles), TEZLO_SLOT(ListProcesses),
    TEZLO_SLOT(ExpandIdCardInfo), TEZLO_SLOT(SwapTextAndNumber),
    TEZLO_SLOT(BlockToColumn),    TEZLO_SLOT(ColumnToBlock),
    TEZLO_SLOT(CompareTwoColumns), TEZLO_SLOT(ListDriveFolders),
    TEZLO_SLOT(CopyTemplateSheets),
};
#undef TEZLO_SLOT

template <size_t I>
void RecordRun(Context& ctx) {
  ToolRuns().push_back(ToolRun{kSlots[I].name, ctx.host.ScreenUpdating(), ctx.flowFlag, ctx.blockWidth});
}

template <size_t... I>
void InstallAll(Toolset& tools, std::index_sequence<I...>) {
  ((tools.*(kSlots[I].member) = &RecordRun<I>), ...);
}

// Puts a recording fake into every slot.
inline void InstallRecordingTools(Context& ctx) {
  ToolRuns().clear();
  InstallAll(ctx.tools, std::make_index_sequence<kSlots.size()>{});
}

// The names of the tools that ran, in order.
inline std::vector<std::string> RanTools() {
  std::vector<std::string> names;
  for (const ToolRun& run : ToolRuns()) names.push_back(run.name);
  return names;
}

}  // namespace tezlo::testing
