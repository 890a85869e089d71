#include <gtest/gtest.h>

#include "host/host_error.h"
#include "memory/memory_host.h"

namespace tezlo {
namespace {

TEST(MemoryHostWindowTest, StartsAtA1WithTheSettingsWindow) {
  MemoryHost h;
  EXPECT_EQ(h.ActiveCell(), (Cell{1, 1}));
  EXPECT_EQ(h.GetSelection(), (Selection{{Area::Of(Cell{1, 1})}, Cell{1, 1}}));
  EXPECT_EQ(h.TopLeftVisibleCell(), (Cell{1, 1}));
  EXPECT_EQ(h.VisibleRows(), 40);
  EXPECT_EQ(h.VisibleColumns(), 16);
}

TEST(MemoryHostWindowTest, ActivatingInsideTheSelectionOnlyMovesTheActiveCell) {
  MemoryHost h;
  const Selection two{{Area::Of(1, 1, 3, 3), Area::Of(10, 10, 12, 12)}, Cell{11, 11}};
  h.Select(two);
  EXPECT_EQ(h.GetSelection(), two);
  EXPECT_EQ(h.GetSelection().Count(), 18);
  h.ActivateCell(Cell{2, 2});
  EXPECT_EQ(h.GetSelection().areas, two.areas);
  EXPECT_EQ(h.ActiveCell(), (Cell{2, 2}));
  h.ActivateCell(Cell{5, 5});
  EXPECT_EQ(h.GetSelection(), (Selection{{Area::Of(Cell{5, 5})}, Cell{5, 5}}));
}

TEST(MemoryHostWindowTest, BadSelectionsAreRefusedAndChangeNothing) {
  MemoryHost h;
  EXPECT_THROW(h.Select(Selection{{}, Cell{1, 1}}), HostError);
  EXPECT_THROW(h.Select(Selection{{Area::Of(1, 1, 2, 2)}, Cell{3, 3}}), HostError);
  EXPECT_THROW(h.Select(Selection{{Area::Of(1, 1, 1048577, 1)}, Cell{1, 1}}), HostError);
  EXPECT_THROW(h.ActivateCell(Cell{0, 1}), HostError);
  EXPECT_EQ(h.ActiveCell(), (Cell{1, 1}));
  // Corners given backwards name the same area.
  h.Select(Selection{{Area::Of(2, 2, 1, 1)}, Cell{1, 2}});
  EXPECT_EQ(h.GetSelection().areas.front(), Area::Of(1, 1, 2, 2));
}

TEST(MemoryHostWindowTest, ScrollingIsClampedAndActivationKeepsTheCellInView) {
  MemoryHost h;
  h.SetScrollRow(3);
  h.SetScrollColumn(2);
  EXPECT_EQ(h.TopLeftVisibleCell(), (Cell{3, 2}));
  h.ActivateCell(Cell{14, 4});  // already visible: the view stays
  EXPECT_EQ(h.TopLeftVisibleCell(), (Cell{3, 2}));
  h.ActivateCell(Cell{100, 30});
  EXPECT_EQ(h.TopLeftVisibleCell(), (Cell{61, 15}));
  h.ActivateCell(Cell{1, 1});
  EXPECT_EQ(h.TopLeftVisibleCell(), (Cell{1, 1}));
  h.SetScrollRow(2000000);
  EXPECT_EQ(h.TopLeftVisibleCell().row, 1048576);
  EXPECT_THROW(h.SetScrollRow(0), HostError);
  EXPECT_THROW(h.SetScrollColumn(-3), HostError);
}

TEST(MemoryHostWindowTest, EditingRequestAndApplicationFlags) {
  MemoryHost h;
  EXPECT_FALSE(h.EditingRequested());
  h.BeginEditing();
  EXPECT_TRUE(h.EditingRequested());
  h.ClearEditingRequest();
  EXPECT_FALSE(h.EditingRequested());
  h.SetScreenUpdating(false);
  h.SetDisplayAlerts(false);
  EXPECT_FALSE(h.ScreenUpdating());
  EXPECT_FALSE(h.DisplayAlerts());
}

}  // namespace
}  // namespace tezlo
