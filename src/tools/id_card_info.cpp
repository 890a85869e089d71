// "*21": beside each selected identity-card number, its region code, birth date, age and sex in
// the columns two to five to the right (the column right next to the number stays untouched).
#include <charconv>
#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "dispatch/context.h"
#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "host/host_error.h"
#include "tools/data_tools.h"

namespace tezlo {
namespace {

constexpr const char* kIntroText = "此程序将右展4列，分别代表地区、生日、年龄、性别。";
constexpr const char* kTextFormat = "@";

// One character taken as a number: only a digit is one.
int DigitValue(std::string_view character) {
  if (character.size() != 1 || character[0] < '0' || character[0] > '9') {
    throw HostError("Type mismatch");
  }
  return character[0] - '0';
}

// The calendar year of a date serial of the 1900 system (serial 60 is its 29 February 1900).
int32_t YearOfSerial(double serial) {
  if (!(serial >= 0.0 && serial < 2958466.0)) throw HostError("Overflow");
  const auto whole = static_cast<int32_t>(std::floor(serial));
  if (whole == 0) return 1899;  // the day before 1 January 1900
  if (whole <= 60) return 1900;
  using namespace std::chrono;
  const year_month_day date{sys_days{1899y / December / 30} + days{whole}};
  return static_cast<int32_t>(date.year());
}

// A whole number made of digits only.
std::optional<int32_t> Digits(std::string_view text) {
  int32_t value = 0;
  if (text.empty() || text.size() > 4) return std::nullopt;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The year of a text written as year-month-day, as reading it as a date gives it.
int32_t YearOfDateText(std::string_view text) {
  const size_t first = text.find('-');
  const size_t second = first == std::string_view::npos ? first : text.find('-', first + 1);
  if (second == std::string_view::npos) throw HostError("Type mismatch");
  const auto y = Digits(text.substr(0, first));
  const auto m = Digits(text.substr(first + 1, second - first - 1));
  const auto d = Digits(text.substr(second + 1));
  if (!y || !m || !d || *y < 100) throw HostError("Type mismatch");
  using namespace std::chrono;
  const year_month_day date{year{*y}, month{static_cast<unsigned>(*m)},
                            day{static_cast<unsigned>(*d)}};
  if (!date.ok()) throw HostError("Type mismatch");
  return *y;
}

// Year() of what a cell holds: a date or a number as a date serial, a text read as a date.
int32_t YearOf(const Value& value) {
  if (value.IsDate() || value.IsNumber()) return YearOfSerial(value.AsNumber());
  if (value.IsText()) return YearOfDateText(value.AsText());
  throw HostError("Type mismatch");
}

// The "@" format that the region and age cells receive right after their values. Where no later
// step of the run can touch those cells again (one selected column: every output lies in a row
// of its own), the formats are gathered into one column range each and set when the run ends,
// however it ends: the same cells get the same format after the same values, in two calls
// instead of two per number.
class TextFormats {
 public:
  TextFormats(Host& host, SheetRef sheet, bool deferred)
      : host_(host), sheet_(sheet), deferred_(deferred) {}
  TextFormats(const TextFormats&) = delete;
  TextFormats& operator=(const TextFormats&) = delete;

  enum class Slot { Region, Age };

  void Set(Slot slot, Cell cell) {
    if (!deferred_) {
      host_.SetNumberFormatLocal(sheet_, Area::Of(cell), kTextFormat);
      return;
    }
    Pending& run = slot == Slot::Region ? region_ : age_;
    if (run.cells == 0) run.first = cell;
    ++run.cells;
  }

  // Sets the gathered formats; the first failure ends the flush.
  void Flush() {
    for (Pending* run : {&region_, &age_}) {
      if (run->cells == 0) continue;
      const Area area =
          Area::Of(run->first.row, run->first.col, run->first.row + run->cells - 1, run->first.col);
      run->cells = 0;
      host_.SetNumberFormatLocal(sheet_, area, kTextFormat);
    }
  }

 private:
  struct Pending {
    Cell first;
    int32_t cells = 0;  // consecutive rows from `first` down
  };
  Host& host_;
  SheetRef sheet_;
  bool deferred_;
  Pending region_;
  Pending age_;
};

// Writes the four derived values of one number. Returns false when the cell ends the tool
// (empty, or of a length other than 15 and 18); a failing step throws.
bool ExpandOne(Context& ctx, SheetRef sheet, Cell cell, TextFormats& formats,
               std::optional<int32_t>& thisYear) {
  Host& host = ctx.host;
  const std::string text = ValueToText(host.GetValue(sheet, cell));
  const size_t length = CharCount(text);
  if (length != 15 && length != 18) return false;

  std::string normalized = text;
  if (length == 15) {
    const char* prefix = DigitValue(Mid(text, 7, 1)) > 0 ? "10000019" : "10000020";
    normalized = prefix + Mid(text, 7, 6);
  }
  const auto at = [&](int32_t offset) { return Cell{cell.row, cell.col + offset}; };

  host.SetValue(sheet, at(2), Value::Text(Left(text, 6)));
  formats.Set(TextFormats::Slot::Region, at(2));

  host.SetValue(sheet, at(3),
                Value::Text(Mid(normalized, 7, 4) + "-" + Mid(normalized, 11, 2) + "-" +
                            Mid(normalized, 13, 2)));

  if (!thisYear) thisYear = ctx.system.Today().year;
  const int32_t birthYear = YearOf(host.GetValue(sheet, at(3)));
  host.SetValue(sheet, at(4), Value::Number(static_cast<double>(*thisYear - birthYear)));
  formats.Set(TextFormats::Slot::Age, at(4));

  const int sexDigit = DigitValue(Mid(text, length == 15 ? 15 : 17, 1));
  host.SetValue(sheet, at(5), Value::Text(sexDigit % 2 == 1 ? "男" : "女"));
  return true;
}

void ExpandSelection(Context& ctx, SheetRef sheet, const Selection& selection,
                     TextFormats& formats) {
  std::optional<int32_t> thisYear;
  for (const Area& area : selection.areas) {
    for (int32_t row = area.first.row; row <= area.last.row; ++row) {
      for (int32_t col = area.first.col; col <= area.last.col; ++col) {
        if (!ExpandOne(ctx, sheet, Cell{row, col}, formats, thisYear)) return;
      }
    }
  }
}

}  // namespace

void ExpandIdCardInfo(Context& ctx) {
  Host& host = ctx.host;
  ScreenUpdatingGuard screen(host);

  MessageBoxRequest intro;
  intro.text = kIntroText;
  intro.title = "提示";
  intro.buttons = Buttons::OkCancel;
  if (ctx.ui.MessageBox(intro) == Answer::Cancel) return;

  // Nothing is trapped here: the first failing cell ends the tool with the earlier cells done.
  const SheetRef sheet = host.ActiveSheet();
  const Selection selection = host.GetSelection();
  const bool oneColumn = selection.areas.size() == 1 && selection.areas.front().Cols() == 1;
  TextFormats formats(host, sheet, oneColumn);
  try {
    ExpandSelection(ctx, sheet, selection, formats);
  } catch (const HostError&) {
    formats.Flush();
    throw;
  }
  formats.Flush();
}

}  // namespace tezlo
