#include "tui_support.h"

#include <sstream>

#include "tui/text_width.h"

namespace tezlo::testing {

// Wide characters are measured in a UTF-8 locale, as the workbench runs.
[[maybe_unused]] const bool kUtf8 = UseUtf8CharacterWidths();

void ScriptedTerminal::Type(const std::string& text) {
  for (size_t pos = 0; pos < text.size();) Queue(KeyEvent::Character(DecodeUtf8(text, pos)));
}

std::string ScriptedTerminal::ShownText() const {
  std::string out;
  for (int y = 0; y < shown_.Height(); ++y) out += shown_.RowText(y) + "\n";
  return out;
}

namespace {

std::string Describe(const Value& v) {
  std::ostringstream s;
  s << static_cast<int>(v.Kind()) << ':';
  switch (v.Kind()) {
    case ValueKind::Number:
    case ValueKind::Date: s << v.AsNumber(); break;
    case ValueKind::Text: s << v.AsText(); break;
    case ValueKind::Boolean: s << v.AsBoolean(); break;
    case ValueKind::Error: s << static_cast<int>(v.AsError()); break;
    case ValueKind::Empty: break;
  }
  return s.str();
}

template <class T>
void Runs(std::ostringstream& s, const char* what, const RunMap<T>& runs) {
  s << what;
  for (const auto& [first, run] : runs.Runs())
    s << ' ' << first << '-' << run.last << '=' << run.value;
  s << '\n';
}

}  // namespace

std::string Picture(MemoryHost& host) {
  std::ostringstream s;
  for (int32_t b = 1; b <= host.WorkbookCount(); ++b) {
    const Workbook& book = host.GetWorkbook(b);
    s << "book " << book.Name() << '\n';
    for (int32_t i = 1; i <= book.SheetCount(); ++i) {
      const Sheet& sheet = book.GetSheet(i);
      s << "sheet " << sheet.Name() << " scroll " << sheet.View().scroll.row << ','
        << sheet.View().scroll.col << " active " << sheet.View().selection.active.row << ','
        << sheet.View().selection.active.col << '\n';
      Runs(s, "widths", sheet.ColumnWidths());
      Runs(s, "heights", sheet.RowHeights());
      Runs(s, "colors", sheet.ColumnColors());
      Runs(s, "formats", sheet.ColumnNumberFormats());
      sheet.ForEachCellByRow([&](Cell c, const CellRecord& r) {
        s << c.row << ',' << c.col << ' ' << Describe(r.value) << " q" << r.quotePrefix << " c"
          << static_cast<int>(r.colorIndex);
        if (r.extras) {
          s << " f" << r.extras->formula << " n" << r.extras->comment.value_or("-") << " nf"
            << r.extras->numberFormat.value_or("-");
        }
        s << '\n';
      });
    }
  }
  return s.str();
}

}  // namespace tezlo::testing
