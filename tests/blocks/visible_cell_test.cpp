// Jumping to a cell by its place in the window: "0CRR", "/xRR", and "." in fifth place.

#include <gtest/gtest.h>

#include <string>

#include "block_sheet.h"

namespace tezlo::testing {
namespace {

struct WindowSheet : BlockSheet {
  // Scrolls so that `topLeft` is the window's top-left cell and activates `active`.
  void Place(std::string_view topLeft, std::string_view active) {
    host.SetScrollRow(At(topLeft).row);
    host.SetScrollColumn(At(topLeft).col);
    Activate(active);
    host.ClearEditingRequest();
  }
};

TEST(GoToVisibleCell, CountsFromTheTopLeftVisibleCellAndScrollsTheTargetThere) {
  WindowSheet s;
  s.Place("B3", "B3");
  s.Run("0312");
  EXPECT_EQ(s.host.ActiveCell(), At("D14"));
  EXPECT_EQ(s.host.TopLeftVisibleCell(), At("D14"));
  EXPECT_FALSE(s.host.EditingRequested());
  EXPECT_TRUE(s.Boxes().empty());
  EXPECT_TRUE(s.host.ScreenUpdating());
}

TEST(GoToVisibleCell, FirstVisibleCellLeavesTheViewAlone) {
  WindowSheet s;
  s.Place("A1", "F9");
  s.Run("0101");
  EXPECT_EQ(s.host.ActiveCell(), At("A1"));
  EXPECT_EQ(s.host.TopLeftVisibleCell(), At("A1"));
}

TEST(GoToVisibleCell, ADotInFifthPlaceOpensTheCellForEditing) {
  WindowSheet s;
  s.Place("A1", "A1");
  s.Run("0312.");
  EXPECT_EQ(s.host.ActiveCell(), At("C12"));
  EXPECT_TRUE(s.host.EditingRequested());

  s.Place("A1", "A1");
  s.Run("03123");
  EXPECT_EQ(s.host.ActiveCell(), At("C12"));
  EXPECT_FALSE(s.host.EditingRequested());
}

TEST(GoToVisibleCell, SlashMeansTheTenthVisibleColumn) {
  for (const std::string code : {"/x05", "/005"}) {
    WindowSheet s;
    s.Place("C2", "C2");
    s.Run(code);
    EXPECT_EQ(s.host.ActiveCell(), At("L6")) << code;  // column C + 9, row 2 + 4
  }
}

TEST(GoToVisibleCell, ACodeEndingAtPositionThreeReadsOneRowDigit) {
  WindowSheet s;
  s.Place("A1", "A1");
  s.Run("035");
  EXPECT_EQ(s.host.ActiveCell(), At("C5"));
}

TEST(GoToVisibleCell, PositionsBeforeTheVisibleAreaStopAtTheSheetEdge) {
  WindowSheet s;
  s.Place("A1", "E5");
  s.Run("0001");
  EXPECT_EQ(s.host.ActiveCell(), At("A1"));

  s.Place("D4", "E5");
  s.Run("0001");  // column 0 of the window is one left of D
  EXPECT_EQ(s.host.ActiveCell(), At("C4"));
  s.Place("D4", "E5");
  s.Run("0100");  // row 0 of the window is one above row 4
  EXPECT_EQ(s.host.ActiveCell(), At("D3"));
}

TEST(GoToVisibleCell, NumbersBeyondTheWindowReachPastIt) {
  WindowSheet s;
  s.Place("A1", "A1");
  s.Run("/099");
  EXPECT_EQ(s.host.ActiveCell(), At("J99"));
  EXPECT_EQ(s.host.TopLeftVisibleCell(), At("J99"));
}

// A row or column that is not a number moves nothing and shows nothing, even right after a
// command that left a position behind.
TEST(GoToVisibleCell, ARowOrColumnThatIsNoNumberIsRefused) {
  for (const std::string code : {"0", "0a12", "03", "03x", "03x.", "/", "/0", "/0ab", "0.12"}) {
    WindowSheet s;
    s.Place("A1", "A1");
    s.Run("0515");  // leaves row and column numbers from an earlier command
    ASSERT_EQ(s.host.ActiveCell(), At("E15"));
    s.Place("B2", "F7");
    s.Run(code);
    EXPECT_EQ(s.host.ActiveCell(), At("F7")) << code;
    EXPECT_EQ(s.host.TopLeftVisibleCell(), At("B2")) << code;
    EXPECT_FALSE(s.host.EditingRequested()) << code;
    EXPECT_TRUE(s.Boxes().empty()) << code;
    EXPECT_TRUE(s.host.ScreenUpdating()) << code;
  }
}

TEST(GoToVisibleCell, WorksOutsideEveryColumnBlockAndOnWideBlocks) {
  BlockSheet s("+3");
  s.host.SetScrollRow(200);
  s.host.SetScrollColumn(100);
  s.Run("0920");
  EXPECT_EQ(s.host.ActiveCell(), (Cell{219, 108}));
  EXPECT_EQ(s.host.TopLeftVisibleCell(), (Cell{219, 108}));
}

}  // namespace
}  // namespace tezlo::testing
