// A workbook in the memory host, its codes run through the dispatcher and the program's tool
// table with scripted dialogs and a fixed operating system.
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

inline MemorySettings SmallGrid() {
  MemorySettings settings;
  settings.rows = 65536;
  settings.cols = 256;
  return settings;
}

class DataToolsTest : public ::testing::Test {
 protected:
  DataToolsTest() : host(SmallGrid()), ctx(host, ui, system) {
    ctx.tools = AllTools();
    // Book1: "+1", "+2", Sheet3; "+1" active.
    host.RenameSheet(plus1, "+1");
    host.RenameSheet(SheetRef{1, 2}, "+2");
    host.ActivateSheet(plus1);
  }

  void Run(const std::string& code) {
    ctx.funcCode = code;
    Dispatch(ctx);
  }

  void Put(Cell cell, const Value& value, SheetRef sheet = {1, 1}) {
    host.SetValue(sheet, cell, value);
  }
  void PutText(Cell cell, const std::string& text, SheetRef sheet = {1, 1}) {
    host.SetValue(sheet, cell, Value::Text(text));
  }
  // Stores a text as text whatever it looks like (as an entry typed with an apostrophe).
  void PutLiteral(Cell cell, const std::string& text, SheetRef sheet = {1, 1}) {
    host.SetValue(sheet, cell, Value::Text("'" + text));
  }
  Value At(Cell cell, SheetRef sheet = {1, 1}) { return host.GetValue(sheet, cell); }

  void Select(Area area) { host.Select(Selection{{area}, area.first}); }

  std::vector<std::string> SheetNames(int32_t book = 1) {
    std::vector<std::string> names;
    for (int32_t i = 1; i <= host.SheetCount(book); ++i) names.push_back(host.SheetName({book, i}));
    return names;
  }

  // The values of one column from row 1 down to `rows`.
  std::vector<Value> Column(SheetRef sheet, int32_t col, int32_t rows) {
    std::vector<Value> out;
    for (int32_t r = 1; r <= rows; ++r) out.push_back(host.GetValue(sheet, Cell{r, col}));
    return out;
  }

  // Whether nothing is stored in the area.
  bool Blank(SheetRef sheet, Area area) { return host.CountA(sheet, area) == 0; }

  MemoryHost host;
  ScriptedUi ui;
  FixedSystem system;
  Context ctx;
  const SheetRef plus1{1, 1};
};

inline Value T(const std::string& text) { return Value::Text(text); }
inline Value N(double number) { return Value::Number(number); }

}  // namespace tezlo::testing
