#include "app/all_tools.h"

#include <gtest/gtest.h>

namespace tezlo {
namespace {

TEST(AllTools, FillsEverySlotTheDispatcherCanCall) {
  const Toolset tools = AllTools();
  const std::pair<const char*, Tool Toolset::*> slots[] = {
      {"InsertBlockRow", &Toolset::InsertBlockRow},
      {"DeleteBlockRow", &Toolset::DeleteBlockRow},
      {"InsertBlockRows", &Toolset::InsertBlockRows},
      {"DeleteBlockRows", &Toolset::DeleteBlockRows},
      {"GoToVisibleCell", &Toolset::GoToVisibleCell},
      {"SwapTwoCells", &Toolset::SwapTwoCells},
      {"SwapRegionRows", &Toolset::SwapRegionRows},
      {"SwapRegionColumns", &Toolset::SwapRegionColumns},
      {"SortRegionAscending", &Toolset::SortRegionAscending},
      {"SortRegionDescending", &Toolset::SortRegionDescending},
      {"SaveBlockSizes", &Toolset::SaveBlockSizes},
      {"RestoreBlockSizes", &Toolset::RestoreBlockSizes},
      {"SelectRegion", &Toolset::SelectRegion},
      {"MoveRegionToEnd", &Toolset::MoveRegionToEnd},
      {"SlimSheetToEnd", &Toolset::SlimSheetToEnd},
      {"GoToTopicWord", &Toolset::GoToTopicWord},
      {"SetUpSheet", &Toolset::SetUpSheet},
      {"SlimWorkbook", &Toolset::SlimWorkbook},
      {"CopyTopicBlocksToNewSheet", &Toolset::CopyTopicBlocksToNewSheet},
      {"ListTopicWords", &Toolset::ListTopicWords},
      {"ListDesktopFiles", &Toolset::ListDesktopFiles},
      {"ListProcesses", &Toolset::ListProcesses},
      {"ExpandIdCardInfo", &Toolset::ExpandIdCardInfo},
      {"SwapTextAndNumber", &Toolset::SwapTextAndNumber},
      {"BlockToColumn", &Toolset::BlockToColumn},
      {"ColumnToBlock", &Toolset::ColumnToBlock},
      {"CompareTwoColumns", &Toolset::CompareTwoColumns},
      {"ListDriveFolders", &Toolset::ListDriveFolders},
      {"CopyTemplateSheets", &Toolset::CopyTemplateSheets},
  };
  static_assert(sizeof(Toolset) == std::size(slots) * sizeof(Tool), "a slot is missing here");
  for (const auto& [name, slot] : slots) EXPECT_NE(tools.*slot, nullptr) << name;
}

}  // namespace
}  // namespace tezlo
