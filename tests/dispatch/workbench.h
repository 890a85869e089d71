// A small workbook in the memory host with a scripted Ui, a fixed System and a fresh Context,
// plus shorthands for building sheets in tests.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "dispatch/context.h"
#include "host/a1_address.h"
#include "dispatch/dispatch.h"
#include "memory/memory_host.h"
#include "scripted/fixed_system.h"
#include "scripted/scripted_ui.h"

namespace tezlo::testing {

// "B61" -> row 61, column 2.
inline Cell At(std::string_view a1) {
  const std::optional<Cell> cell = ParseCellRef(a1);
  if (!cell) throw std::invalid_argument(std::string(a1));
  return *cell;
}

// "A60:M75" -> that area.
inline Area Range(std::string_view a1) {
  const size_t colon = a1.find(':');
  return Area{At(a1.substr(0, colon)), At(a1.substr(colon + 1))};
}

struct Workbench {
  explicit Workbench(MemorySettings settings = {}) : host(settings) {}

  MemoryHost host;
  ScriptedUi ui;
  FixedSystem system;
  Context ctx{host, ui, system};

  std::vector<std::string> SheetNames() {
    std::vector<std::string> names;
    const int32_t book = host.ActiveWorkbook();
    for (int32_t i = 1; i <= host.SheetCount(book); ++i) names.push_back(host.SheetName({book, i}));
    return names;
  }

  SheetRef Sheet(const std::string& name) {
    const int32_t book = host.ActiveWorkbook();
    for (int32_t i = 1; i <= host.SheetCount(book); ++i) {
      if (host.SheetName({book, i}) == name) return {book, i};
    }
    throw std::invalid_argument("no sheet " + name);
  }

  // Sheet1..Sheet3 become "+1", "+2" and "+3"; `active` is activated.
  void UseWorkingSheets(const std::string& active = "+1") {
    const int32_t book = host.ActiveWorkbook();
    host.RenameSheet({book, 1}, "+1");
    host.RenameSheet({book, 2}, "+2");
    host.RenameSheet({book, 3}, "+3");
    host.ActivateSheet(Sheet(active));
  }

  void Put(std::string_view a1, const Value& value) {
    host.SetValue(host.ActiveSheet(), At(a1), value);
  }
  void PutText(std::string_view a1, const std::string& text) { Put(a1, Value::Text(text)); }
  // Fills every cell of the area with a text.
  void Fill(std::string_view area, const std::string& text) {
    const Area a = Range(area);
    for (int32_t r = a.first.row; r <= a.last.row; ++r) {
      for (int32_t c = a.first.col; c <= a.last.col; ++c)
        host.SetValue(host.ActiveSheet(), {r, c}, Value::Text(text));
    }
  }
  void Select(std::string_view a1) { host.ActivateCell(At(a1)); }

  void Run(const std::string& code) {
    ctx.funcCode = code;
    Dispatch(ctx);
  }
};

}  // namespace tezlo::testing
