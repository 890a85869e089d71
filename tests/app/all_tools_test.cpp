// The program's table against what each function code does: the tool a code reaches, the codes
// that leave a note in the recent-codes list, and no row that no code can reach.
#include "app/all_tools.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "blocks/block_tools.h"
#include "dispatch/dispatch.h"
#include "dispatch/helpers.h"
#include "tools/data_tools.h"
#include "topics/topic_tools.h"

namespace tezlo {
namespace {

struct Routing {
  const char* code;
  Tool tool;  // nullptr: no row holds
};

// Codes as the command box hands them over (trimmed of spaces), the first-match order included:
// "0" and "/" before anything, "++" before "+", 999 before the numbers above 100.
const Routing kRoutings[] = {
    {"0", &GoToVisibleCell},
    {"/", &GoToVisibleCell},
    {"0150", &GoToVisibleCell},
    {"/+3", &GoToVisibleCell},
    {"", &GoToTopLeft},
    {"++", &InsertBlockRow},
    {"+++", &InsertBlockRow},
    {"--", &DeleteBlockRow},
    {"+3", &InsertBlockRows},
    {"+", &InsertBlockRows},
    {"+-", &InsertBlockRows},
    {"-+", &DeleteBlockRows},
    {"-7", &DeleteBlockRows},
    {"-999", &DeleteBlockRows},
    {"999", &SlimSheetToEnd},
    {"999abc", &SlimSheetToEnd},
    {"9 9 9", &SlimSheetToEnd},
    {"100", nullptr},
    {"100.5", &GoToTopicWord},
    {"101", &GoToTopicWord},
    {"1e3", &GoToTopicWord},
    {"150abc", &GoToTopicWord},
    {"&HFF", &GoToTopicWord},  // reads 255
    {"*1", &SetUpSheet},
    {"*2", &SwapTwoCells},
    {"*3", &SwapRegionRows},
    {"*4", &SwapRegionColumns},
    {"*5", &SortRegionAscending},
    {"*6", &SortRegionDescending},
    {"*7", &SaveBlockSizes},
    {"*8", &RestoreBlockSizes},
    {"*9", &SelectRegion},
    {"*11", &BlockToColumn},
    {"*12", &ColumnToBlock},
    {"*13", &ListDesktopFiles},
    {"*14", &ListProcesses},
    {"*15", &SlimWorkbook},
    {"*16", &MoveRegionToEnd},
    {"*17", &CopyTopicBlocksToNewSheet},
    {"*18", &CompareTwoColumns},
    {"*19", &ListTopicWords},
    {"*20", &ListDriveFolders},
    {"*21", &ExpandIdCardInfo},
    {"*22", &SwapTextAndNumber},
    {"*780", &CopyTemplateSheets},
    {"*01", nullptr},
    {"*23", nullptr},
    {"*10", nullptr},
    {"*1 ", nullptr},
    {"*13a", nullptr},
    {"50", nullptr},
    {"hello", nullptr},
    {"*７８０", nullptr},
};

TEST(AllTools, EachCodeReachesItsToolAndEveryRowIsReached) {
  const ToolTable table = AllTools();
  std::set<const DispatchRow*> reached;
  for (const Routing& r : kRoutings) {
    const DispatchRow* row = MatchingRow(table, r.code);
    if (r.tool == nullptr) {
      EXPECT_EQ(row, nullptr) << "code \"" << r.code << "\" reaches row " << (row - table.data());
      continue;
    }
    ASSERT_NE(row, nullptr) << "code \"" << r.code << "\"";
    EXPECT_EQ(row->tool, r.tool) << "code \"" << r.code << "\" reaches row "
                                 << (row - table.data());
    reached.insert(row);
  }
  // A row no code reaches is shadowed by an earlier one, or missing from the list above.
  EXPECT_EQ(reached.size(), table.size());
}

// A captioned code writes "*NN title" into the recent-codes list; the caption is "jNN" and the
// title, so it names its own code.
TEST(AllTools, TheElevenToTwentyTwoCodesLeaveANoteNamingTheirOwnCode) {
  std::set<std::string> captioned;
  for (const DispatchRow& row : AllTools()) {
    EXPECT_NE(row.tool, nullptr);
    if (row.caption == nullptr) continue;
    ASSERT_EQ(row.test.kind, CodeTest::Kind::Exactly) << row.caption;
    const std::string code(row.test.text);
    captioned.insert(code);
    EXPECT_EQ(std::string(row.caption).substr(0, code.size()), "j" + code.substr(1)) << code;
    EXPECT_GT(std::string(row.caption).size(), code.size())
        << code << ": a caption without a title";
  }
  EXPECT_EQ(captioned, (std::set<std::string>{"*11", "*12", "*13", "*14", "*15", "*16", "*17",
                                              "*18", "*19", "*20", "*21", "*22"}));
}

}  // namespace
}  // namespace tezlo
