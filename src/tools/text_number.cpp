// "*22": the used cells of the selection converted from numbers stored as text into numbers
// (answer 1) or from numbers into text (answer 2).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dispatch/context.h"
#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "host/host_error.h"
#include "host/range_functions.h"
#include "tools/data_tools.h"
#include "tools/numeric_text.h"

namespace tezlo {
namespace {

constexpr const char* kPrompt = "输入1：将文本转换成数字；\n输入2：将数字转换成文本。";
constexpr const char* kGeneralLocal = "G/通用格式";

// The parts of the selection inside the used range, each area on its own. HostError when the
// selection lies wholly outside it.
std::vector<Area> UsedPartOfSelection(Host& host, SheetRef sheet) {
  const Area used = host.UsedRange(sheet);
  std::vector<Area> parts;
  for (const Area& area : host.GetSelection().areas) {
    if (const auto part = Intersect(area, used)) parts.push_back(*part);
  }
  if (parts.empty()) throw HostError("Object required");
  return parts;
}

// A number, a text that reads as a number, or nothing at all.
bool CountsAsNumeric(const Value& value) {
  if (value.IsEmpty() || value.IsNumber()) return true;
  return value.IsText() && ReadsAsNumber(value.AsText());
}

// Every digit string held as text becomes a number: the cells take the General format and get
// their own values written back, which the spreadsheet reads as typed. Formulas become their
// values. Each area is read and written back on its own.
void TextToNumbers(Host& host, SheetRef sheet) {
  for (const Area& area : UsedPartOfSelection(host, sheet)) {
    host.SetNumberFormatLocal(sheet, area, kGeneralLocal);
    host.SetValues(sheet, area.first, host.GetValues(sheet, area));
  }
}

// Every numeric cell (empty ones included) gets its value back as text behind the apostrophe
// that marks an entry as text.
void NumbersToText(Host& host, SheetRef sheet) {
  for (const Area& area : UsedPartOfSelection(host, sheet)) {
    const Matrix values = host.GetValues(sheet, area);
    for (int32_t r = 0; r < values.Rows(); ++r) {
      for (int32_t c = 0; c < values.Cols(); ++c) {
        const Value& value = values.At(r, c);
        if (!CountsAsNumeric(value)) continue;
        host.SetValue(sheet, Cell{area.first.row + r, area.first.col + c},
                      Value::Text("'" + ValueToText(value)));
      }
    }
  }
}

}  // namespace

void SwapTextAndNumber(Context& ctx) {
  Host& host = ctx.host;
  // Screen updating goes off only after the question, and comes back on however the tool ends.
  ScreenUpdatingGuard screen(host, /*switchOff=*/false);
  RunUntilFailure([&] {
    InputBoxRequest ask;
    ask.prompt = kPrompt;
    ask.title = "提示";
    ask.defaultValue = "1";
    const std::optional<std::string> answer = ctx.ui.InputBox(ask);
    host.SetScreenUpdating(false);
    if (!answer) return;
    const SheetRef sheet = host.ActiveSheet();
    if (*answer == "1") {
      TextToNumbers(host, sheet);
    } else if (*answer == "2") {
      NumbersToText(host, sheet);
    }
  });
}

}  // namespace tezlo
