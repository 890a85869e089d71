// Undo and redo of whole commands through the journal: random sequences of every kind of change
// are undone back to exactly the workbook before each command and redone to exactly the one
// after it; the real "+3" and a tool that adds sheets are undone as one step.
#include <gtest/gtest.h>

#include <random>

#include "app/all_tools.h"
#include "dispatch/dispatch.h"
#include "host/host_error.h"
#include "scripted/fixed_system.h"
#include "scripted/scripted_ui.h"
#include "tui/journaling_host.h"
#include "tui/undo_history.h"
#include "tui_support.h"

namespace tezlo::testing {
namespace {

MemorySettings SmallGrid() {
  MemorySettings s;
  s.rows = 60;
  s.cols = 12;
  return s;
}

class RandomCommands {
 public:
  RandomCommands(JournalingHost& host, std::mt19937& rng) : host_(host), rng_(rng) {}

  int32_t Between(int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(rng_);
  }
  Cell AnyCell() { return Cell{Between(1, 60), Between(1, 12)}; }
  Area AnyArea() {
    const Cell a = AnyCell();
    return Area::Of(a.row, a.col, std::min(60, a.row + Between(0, 6)),
                    std::min(12, a.col + Between(0, 3)));
  }
  SheetRef AnySheet() { return SheetRef{1, Between(1, host_.SheetCount(1))}; }

  void OneChange() {
    const SheetRef s = AnySheet();
    try {
      switch (Between(0, 19)) {
        case 0: host_.SetValue(s, AnyCell(), Value::Number(Between(-9, 99))); break;
        case 1: host_.SetValue(s, AnyCell(), Value::Text(Between(0, 1) ? "主题" : "word")); break;
        case 2: {
          Matrix m(Between(1, 4), Between(1, 3));
          for (int32_t r = 0; r < m.Rows(); ++r)
            for (int32_t c = 0; c < m.Cols(); ++c) m.At(r, c) = Value::Number(r * 10 + c);
          host_.SetValues(s, AnyCell(), m);
          break;
        }
        case 3: host_.ClearContents(s, AnyArea()); break;
        case 4: host_.InsertShiftDown(s, AnyArea()); break;
        case 5: host_.DeleteShiftUp(s, AnyArea()); break;
        case 6: {
          const int32_t r = Between(1, 60);
          host_.DeleteRows(s, r, std::min(60, r + Between(0, 3)));
          break;
        }
        case 7: {
          const int32_t c = Between(1, 12);
          host_.DeleteColumns(s, c, std::min(12, c + Between(0, 2)));
          break;
        }
        case 8: {
          const Area a = AnyArea();
          host_.Sort(s, a, a.first.col, Between(0, 1) == 1);
          break;
        }
        case 9: host_.Copy(s, AnyArea(), AnySheet(), AnyCell()); break;
        case 10: host_.AddComment(s, AnyCell(), "note " + std::to_string(Between(0, 9))); break;
        case 11: host_.ClearComments(s, AnyArea()); break;
        case 12: host_.SetColumnWidth(s, Between(1, 12), Between(1, 12), Between(0, 30)); break;
        case 13: host_.SetRowHeight(s, Between(1, 60), Between(1, 60), Between(0, 40)); break;
        case 14: host_.SetColorIndex(s, AnyArea(), Between(0, 56)); break;
        case 15:
          host_.SetColumnColorIndex(s, Between(1, 12), Between(1, 12), Between(0, 56));
          break;
        case 16: host_.SetNumberFormat(s, AnyArea(), Between(0, 1) ? "0.00" : "@"); break;
        case 17: host_.AddSheetAfter(s); break;
        case 18:
          if (Between(0, 2) == 0) host_.DeleteSheet(s);
          else host_.RenameSheet(s, "s" + std::to_string(Between(0, 99)));
          break;
        default: {
          host_.ActivateSheet(s);
          host_.ActivateCell(AnyCell());
          if (Between(0, 3) == 0) host_.SetFormula(s, AnyCell(), "=A1+1", Value::Number(1));
        }
      }
    } catch (const HostError&) {
      // A refused change changes nothing; the command goes on, as the tools do.
    }
  }

 private:
  JournalingHost& host_;
  std::mt19937& rng_;
};

TEST(Undo, RandomCommandsUndoAndRedoExactly) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    MemoryHost memory(SmallGrid());
    JournalingHost host(memory);
    UndoHistory history;
    RandomCommands commands(host, rng);
    std::vector<std::string> pictures{Picture(memory)};
    const int count = commands.Between(1, 8);
    for (int c = 0; c < count; ++c) {
      host.BeginCommand();
      for (int n = commands.Between(1, 6); n > 0; --n) commands.OneChange();
      UndoEntry entry = host.EndCommand("command " + std::to_string(c));
      if (entry.steps.empty()) {
        ASSERT_EQ(Picture(memory), pictures.back()) << "seed " << seed;
        continue;
      }
      history.Push(std::move(entry));
      pictures.push_back(Picture(memory));
    }
    for (size_t i = pictures.size() - 1; i > 0; --i) {
      ASSERT_TRUE(history.Undo(memory).has_value());
      ASSERT_EQ(Picture(memory), pictures[i - 1]) << "seed " << seed << " undo to " << i - 1;
    }
    EXPECT_FALSE(history.Undo(memory).has_value());
    for (size_t i = 1; i < pictures.size(); ++i) {
      ASSERT_TRUE(history.Redo(memory).has_value());
      ASSERT_EQ(Picture(memory), pictures[i]) << "seed " << seed << " redo to " << i;
    }
    EXPECT_FALSE(history.Redo(memory).has_value());
  }
}

class ToolUndo : public ::testing::Test {
 protected:
  ToolUndo() {
    ctx.tools = AllTools();
    memory.RenameSheet({1, 1}, "+1");
    memory.RenameSheet({1, 2}, "+2");
    for (int32_t r = 51; r <= 60; ++r)
      for (int32_t c = 1; c <= 13; ++c)
        memory.SetValue({1, 1}, Cell{r, c}, Value::Number(r * 100 + c));
    memory.SetValue({1, 1}, Cell{51, 1}, Value::Text("主题"));
  }
  void Run(const char* code) {
    host.BeginCommand();
    ctx.funcCode = code;
    Dispatch(ctx);
    history.Push(host.EndCommand(code));
  }

  MemoryHost memory;
  JournalingHost host{memory};
  ScriptedUi ui;
  FixedSystem system;
  Context ctx{host, ui, system};
  UndoHistory history;
};

TEST_F(ToolUndo, InsertRowsIsOneStepAndRecordsOnlyWhatItTouches) {
  memory.ActivateCell(Cell{55, 3});
  const std::string before = Picture(memory);
  Run("+3");
  EXPECT_TRUE(memory.GetValue({1, 1}, Cell{55, 3}).IsEmpty());
  EXPECT_EQ(memory.GetValue({1, 1}, Cell{58, 3}), Value::Number(5503));
  const std::string after = Picture(memory);
  ASSERT_TRUE(history.Undo(memory).has_value());
  EXPECT_EQ(Picture(memory), before);
  ASSERT_TRUE(history.Redo(memory).has_value());
  EXPECT_EQ(Picture(memory), after);
}

TEST_F(ToolUndo, AToolThatAddsSheetsIsUndoneWithThem) {
  // "*19" lists the topic words on a sheet of its own.
  const int32_t sheets = memory.SheetCount(1);
  memory.ActivateCell(Cell{51, 1});
  const std::string before = Picture(memory);
  Run("*19");
  ASSERT_GT(memory.SheetCount(1), sheets);
  ASSERT_TRUE(history.Undo(memory).has_value());
  EXPECT_EQ(memory.SheetCount(1), sheets);
  EXPECT_EQ(Picture(memory), before);
  EXPECT_EQ(memory.SheetName(memory.ActiveSheet()), "+1");
}

TEST_F(ToolUndo, ACommandThatChangesNothingLeavesNoEntry) {
  Run("*23");  // no tool has this code
  EXPECT_FALSE(history.CanUndo());
}

}  // namespace
}  // namespace tezlo::testing
