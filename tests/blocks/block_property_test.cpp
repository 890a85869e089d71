// Random topic-block sheets and random sequences of the column-block codes: nothing crashes, no
// cell outside the 13 edited columns ever changes, and "+n" followed by "-n" on the same cell
// gives the block back exactly.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "block_sheet.h"

namespace tezlo::testing {
namespace {

// Rows and columns beside the edited ones that hold data and must stay as they are.
const Area kNeighbours = Area::Of(1, 14, 330, 60);
// Far enough down to hold everything the edited columns can be pushed to in one run.
const Area kEdited = Area::Of(1, 1, 1400, 13);

class RandomSheet {
 public:
  RandomSheet(BlockSheet& s, std::mt19937& rng) : s_(s), rng_(rng) {}

  int32_t Between(int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(rng_);
  }

  Value RandomValue() {
    switch (Between(0, 3)) {
      case 0: return Value::Number(Between(-50, 500));
      case 1: return Value::Number(Between(0, 9999) / 8.0);
      case 2: return Value::Text("w" + std::to_string(Between(0, 99)));
      default: return Value::Text(Between(0, 1) ? "苹果" : "香蕉");
    }
  }

  // Topic blocks down the first column block's first column from row 51, their data in the other
  // 12 columns, and scattered data in the neighbouring columns.
  void Lay() {
    for (int32_t top = 51 + Between(0, 5); top < 300; top += Between(4, 30)) {
      s_.host.SetValue(s_.sheet, Cell{top, 1}, Value::Text("主题" + std::to_string(top)));
      const int32_t height = Between(1, 20);
      for (int32_t r = top; r < top + height && r < 300; ++r) {
        for (int32_t c = 2; c <= 13; ++c) {
          if (Between(0, 2) != 0) s_.host.SetValue(s_.sheet, Cell{r, c}, RandomValue());
        }
      }
      top += height;
    }
    for (int32_t i = 0; i < 1500; ++i) {
      s_.host.SetValue(s_.sheet,
                       Cell{Between(kNeighbours.first.row, kNeighbours.last.row),
                            Between(kNeighbours.first.col, kNeighbours.last.col)},
                       RandomValue());
    }
  }

  Cell EditedCell() { return Cell{Between(40, 320), Between(1, 13)}; }

  std::string RandomCode() {
    static const std::vector<std::string> fixed = {"++", "--", "*2",   "*3",  "*4", "*5",
                                                   "*6", "*7", "*8",   "*9",  "+",  "-",
                                                   "+a", "-0", "-0.4", "+-2", "0",  "/x05"};
    switch (Between(0, 3)) {
      case 0: return "+" + std::to_string(Between(-2, 12));
      case 1: return "-" + std::to_string(Between(-2, 12));
      case 2: return "0" + std::to_string(Between(0, 9)) + std::to_string(Between(10, 40));
      default:
        return fixed[static_cast<size_t>(Between(0, static_cast<int32_t>(fixed.size()) - 1))];
    }
  }

  // Places the cursor for `code`: two picked cells for the swaps, one active cell otherwise.
  void PlaceCursor(const std::string& code) {
    if (code == "*2" || code == "*3" || code == "*4") {
      const Cell a = EditedCell();
      Cell b = EditedCell();
      if (Between(0, 1)) b.row = a.row + Between(0, 6);
      if (a == b) b.col = a.col == 13 ? 12 : a.col + 1;
      s_.host.Select(Selection{{Area::Of(a), Area::Of(b)}, b});
    } else {
      s_.host.ActivateCell(EditedCell());
    }
  }

 private:
  BlockSheet& s_;
  std::mt19937& rng_;
};

TEST(BlockToolsProperty, RandomCodesKeepTheNeighboursAndInsertThenDeleteRoundTrips) {
  std::mt19937 rng(20240611);
  int roundTrips = 0;
  for (int sheetNo = 0; sheetNo < 4; ++sheetNo) {
    BlockSheet s(sheetNo % 2 == 0 ? "+1" : "+2");
    RandomSheet random(s, rng);
    random.Lay();
    const Matrix neighbours = s.Values(kNeighbours);
    const int64_t outsideCount = s.host.CountA(s.sheet, Area::Of(1, 14, 65536, 256));

    for (int step = 0; step < 75; ++step) {
      if (step % 5 == 4) {
        // "+n" then "-n" on one cell: with empty bottom rows and the inserted rows empty, neither
        // asks, and the block comes back as it was.
        const Cell at = random.EditedCell();
        const int32_t n = random.Between(1, 10);
        const Matrix before = s.Values(kEdited);
        s.ui.ClearDialogs();
        s.host.ActivateCell(at);
        s.Run("+" + std::to_string(n));
        s.host.ActivateCell(at);
        s.Run("-" + std::to_string(n));
        ASSERT_EQ(s.Values(kEdited), before)
            << "sheet " << sheetNo << " step " << step << " +" << n;
        ASSERT_TRUE(s.ui.Dialogs().empty());
        ++roundTrips;
        continue;
      }
      const std::string code = random.RandomCode();
      random.PlaceCursor(code);
      if (s.ui.UnusedAnswers() == 0)
        s.ui.QueueAnswer(random.Between(0, 1) ? Answer::Ok : Answer::Cancel);
      s.Run(code);
      ASSERT_EQ(s.Values(kNeighbours), neighbours)
          << "sheet " << sheetNo << " step " << step << " " << code;
      ASSERT_EQ(s.host.CountA(s.sheet, Area::Of(1, 14, 65536, 256)), outsideCount) << code;
      ASSERT_TRUE(s.host.ScreenUpdating()) << code;
    }
  }
  EXPECT_EQ(roundTrips, 60);
}

}  // namespace
}  // namespace tezlo::testing
