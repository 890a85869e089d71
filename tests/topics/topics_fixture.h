// A workbook in the memory host, its codes run through the dispatcher and the program's tool
// table with scripted dialogs.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/all_tools.h"
#include "dispatch/context.h"
#include "dispatch/dispatch.h"
#include "memory/memory_host.h"
#include "scripted/fixed_system.h"
#include "scripted/scripted_ui.h"

namespace tezlo::testing {

inline MemorySettings SmallGrid(int32_t rows = 65536, int32_t cols = 256) {
  MemorySettings settings;
  settings.rows = rows;
  settings.cols = cols;
  return settings;
}

class TopicsTest : public ::testing::Test {
 protected:
  explicit TopicsTest(MemorySettings settings = {}) : host(settings), ctx(host, ui, system) {
    ctx.tools = AllTools();
    // Book1 holds "+1", "+2" and Sheet3 (as many of them as it has sheets), "+1" active.
    host.RenameSheet(SheetRef{1, 1}, "+1");
    if (host.SheetCount(1) >= 2) host.RenameSheet(SheetRef{1, 2}, "+2");
    host.ActivateSheet(plus1);
  }

  void Run(const std::string& code) {
    ctx.funcCode = code;
    Dispatch(ctx);
  }

  void Put(Cell cell, const std::string& text, SheetRef sheet = {1, 1}) {
    host.SetValue(sheet, cell, Value::Text(text));
  }
  void PutNumber(Cell cell, double number, SheetRef sheet = {1, 1}) {
    host.SetValue(sheet, cell, Value::Number(number));
  }
  Value At(Cell cell, SheetRef sheet = {1, 1}) { return host.GetValue(sheet, cell); }
  std::string TextAt(Cell cell, SheetRef sheet = {1, 1}) {
    const Value v = host.GetValue(sheet, cell);
    return v.IsText() ? v.AsText() : std::string("<not text>");
  }

  std::vector<std::string> SheetNames() {
    std::vector<std::string> names;
    const int32_t book = host.ActiveWorkbook();
    for (int32_t i = 1; i <= host.SheetCount(book); ++i) names.push_back(host.SheetName({book, i}));
    return names;
  }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const MessageBoxRequest& box : ui.MessageBoxes()) texts.push_back(box.text);
    return texts;
  }

  // Every value of an area, for comparing a whole region before and after.
  Matrix Values(Area area, SheetRef sheet = {1, 1}) { return host.GetValues(sheet, area); }

  static constexpr SheetRef plus1{1, 1};
  static constexpr SheetRef plus2{1, 2};

  MemoryHost host;
  ScriptedUi ui;
  FixedSystem system;
  Context ctx;
};

}  // namespace tezlo::testing
