// A working sheet in the memory host, dispatching through the program's tool table, a scripted Ui
// that also notes whether screen updating was off when each dialog showed, and shorthands for
// laying out topic blocks and comparing areas.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/all_tools.h"
#include "dispatch/context.h"
#include "dispatch/dispatch.h"
#include "dispatch/workbench.h"
#include "memory/memory_host.h"
#include "scripted/fixed_system.h"
#include "scripted/scripted_ui.h"

namespace tezlo {

// Readable values and blocks in failure messages.
inline void PrintTo(const Value& value, std::ostream* out) {
  switch (value.Kind()) {
    case ValueKind::Empty: *out << "(empty)"; break;
    case ValueKind::Number: *out << value.AsNumber(); break;
    case ValueKind::Text: *out << '"' << value.AsText() << '"'; break;
    case ValueKind::Boolean: *out << (value.AsBoolean() ? "TRUE" : "FALSE"); break;
    case ValueKind::Date: *out << "date " << value.AsNumber(); break;
    case ValueKind::Error: *out << ErrorText(value.AsError()); break;
  }
}

inline void PrintTo(const Matrix& block, std::ostream* out) {
  *out << block.Rows() << "x" << block.Cols() << " {";
  for (int32_t r = 0; r < block.Rows(); ++r) {
    *out << "\n  ";
    for (int32_t c = 0; c < block.Cols(); ++c) {
      PrintTo(block.At(r, c), out);
      *out << ' ';
    }
  }
  *out << "}";
}

inline void PrintTo(const MessageBoxRequest& box, std::ostream* out) {
  *out << "{\"" << box.text << "\", title \"" << box.title << "\", buttons "
       << static_cast<int>(box.buttons) << ", icon " << static_cast<int>(box.icon) << ", default "
       << static_cast<int>(box.defaultButton) << "}";
}

}  // namespace tezlo

namespace tezlo::testing {

// A ScriptedUi that also records the host's ScreenUpdating at the moment each message box shows.
class ScreenWatchingUi : public ScriptedUi {
 public:
  explicit ScreenWatchingUi(Host& host) : host_(host) {}
  Answer MessageBox(const MessageBoxRequest& request) override {
    screenOnAtBox.push_back(host_.ScreenUpdating());
    return ScriptedUi::MessageBox(request);
  }
  std::vector<bool> screenOnAtBox;

 private:
  Host& host_;
};

// The 65,536 x 256 grid of the older file format.
inline MemorySettings SmallGrid() {
  MemorySettings settings;
  settings.rows = 65536;
  settings.cols = 256;
  return settings;
}

// The text every filled cell holds before a command runs: where it stood, so that after a move
// each cell tells where it came from.
inline Value Label(int32_t row, int32_t col) {
  return Value::Text("r" + std::to_string(row) + "c" + std::to_string(col));
}

struct BlockSheet {
  explicit BlockSheet(const std::string& sheetName = "+1", MemorySettings settings = SmallGrid())
      : host(settings) {
    ctx.tools = AllTools();
    const int32_t book = host.ActiveWorkbook();
    host.RenameSheet({book, 1}, "+1");
    host.RenameSheet({book, 2}, "+2");
    host.RenameSheet({book, 3}, "+3");
    for (int32_t i = 1; i <= 3; ++i) {
      if (host.SheetName({book, i}) == sheetName) sheet = {book, i};
    }
    host.ActivateSheet(sheet);
  }

  MemoryHost host;
  ScreenWatchingUi ui{host};
  FixedSystem system;
  Context ctx{host, ui, system};
  SheetRef sheet;

  void Run(const std::string& code) {
    ctx.funcCode = code;
    Dispatch(ctx);
  }

  Value Get(std::string_view a1) { return host.GetValue(sheet, At(a1)); }
  Value Get(int32_t row, int32_t col) { return host.GetValue(sheet, Cell{row, col}); }
  void Put(std::string_view a1, const Value& value) { host.SetValue(sheet, At(a1), value); }
  void PutText(std::string_view a1, const std::string& text) { Put(a1, Value::Text(text)); }
  void PutNumber(std::string_view a1, double number) { Put(a1, Value::Number(number)); }
  // Every cell of the area holds its Label.
  void FillLabels(std::string_view area) {
    const Area a = Range(area);
    Matrix labels(static_cast<int32_t>(a.Rows()), static_cast<int32_t>(a.Cols()));
    for (int32_t r = 0; r < labels.Rows(); ++r) {
      for (int32_t c = 0; c < labels.Cols(); ++c)
        labels.At(r, c) = Label(a.first.row + r, a.first.col + c);
    }
    host.SetValues(sheet, a.first, labels);
  }
  Matrix Values(std::string_view area) { return host.GetValues(sheet, Range(area)); }
  Matrix Values(const Area& area) { return host.GetValues(sheet, area); }

  void Activate(std::string_view a1) { host.ActivateCell(At(a1)); }
  // Two cells picked one after the other: two areas, the second one active.
  void PickTwo(std::string_view first, std::string_view second) {
    host.Select(Selection{{Area::Of(At(first)), Area::Of(At(second))}, At(second)});
  }

  std::vector<MessageBoxRequest> Boxes() const { return ui.MessageBoxes(); }
};

// An OK-only notice with the host's default title and no icon.
inline MessageBoxRequest Notice(const std::string& text) {
  MessageBoxRequest request;
  request.text = text;
  return request;
}

// An OK/Cancel question titled "提示", Cancel the default, no icon.
inline MessageBoxRequest Question(const std::string& text) {
  MessageBoxRequest request;
  request.text = text;
  request.title = "提示";
  request.buttons = Buttons::OkCancel;
  request.defaultButton = DefaultButton::Second;
  return request;
}

}  // namespace tezlo::testing
