#include "files/sheet_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "host/a1_address.h"
#include "files/column_width.h"
#include "files/workbook_file.h"
#include "files/xml_text.h"
#include "host/host_error.h"
#include "memory/array_formulas.h"
#include "memory/display_text.h"

namespace tezlo {

namespace {

constexpr size_t kMaxCellText = 1 << 20;  // far above the spreadsheet's 32,767 characters
constexpr double kMaxRowHeight = 409;
constexpr double kLastSerial = 2958465;  // 9999-12-31
constexpr double k1904Offset = 1462;     // days from the 1900 system's serials to the 1904 one's
// Each merged area is checked against those before it; this bounds the work.
constexpr size_t kMaxMergedAreas = 20000;

// The worksheet's children in their schema order. A child of another name (markup
// compatibility wrapping) keeps the place of the child before it.
constexpr std::array<std::string_view, 39> kWorksheetOrder = {
    "sheetPr",
    "dimension",
    "sheetViews",
    "sheetFormatPr",
    "cols",
    "sheetData",
    "sheetCalcPr",
    "sheetProtection",
    "protectedRanges",
    "scenarios",
    "autoFilter",
    "sortState",
    "dataConsolidate",
    "customSheetViews",
    "mergeCells",
    "phoneticPr",
    "conditionalFormatting",
    "dataValidations",
    "hyperlinks",
    "printOptions",
    "pageMargins",
    "pageSetup",
    "headerFooter",
    "rowBreaks",
    "colBreaks",
    "customProperties",
    "cellWatches",
    "ignoredErrors",
    "smartTags",
    "drawing",
    "legacyDrawing",
    "legacyDrawingHF",
    "drawingHF",
    "picture",
    "oleObjects",
    "controls",
    "webPublishItems",
    "tableParts",
    "extLst",
};

// Children the engine writes itself (the dimension is left out: it is optional).
constexpr std::array<std::string_view, 6> kWrittenElements = {
    "dimension", "sheetViews", "sheetFormatPr", "cols", "sheetData", "mergeCells",
};

double ParseDouble(std::string_view text, bool& ok) {
  double v = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  ok = r.ec == std::errc() && r.ptr == text.data() + text.size();
  return v;
}

// A number as the writer writes it (the shortest text that reads back as the same number).
std::string NumberText(double v) {
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, r.ptr);
}

int64_t ParseInt(std::string_view text, bool& ok) {
  int64_t v = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  ok = r.ec == std::errc() && r.ptr == text.data() + text.size();
  return v;
}

bool Truthy(std::optional<std::string_view> v) { return v && (*v == "1" || *v == "true"); }

std::optional<ErrorCode> ParseError(std::string_view text) {
  for (ErrorCode code : {ErrorCode::Null, ErrorCode::Div0, ErrorCode::Value, ErrorCode::Ref,
                         ErrorCode::Name, ErrorCode::Num, ErrorCode::NA}) {
    if (text == ErrorText(code)) return code;
  }
  return std::nullopt;
}

// "2024-05-01", "2024-05-01T13:30:00" (seconds and fractions optional) -> serial.
std::optional<double> ParseIsoDate(std::string_view text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0;
  double s = 0;
  bool ok = true;
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  y = static_cast<int>(ParseInt(text.substr(0, 4), ok));
  if (ok) mo = static_cast<int>(ParseInt(text.substr(5, 2), ok));
  if (ok) d = static_cast<int>(ParseInt(text.substr(8, 2), ok));
  if (!ok || !IsValidCalendarDate(y, mo, d)) return std::nullopt;
  if (text.size() >= 16 && text[10] == 'T' && text[13] == ':') {
    h = static_cast<int>(ParseInt(text.substr(11, 2), ok));
    if (ok) mi = static_cast<int>(ParseInt(text.substr(14, 2), ok));
    if (ok && text.size() >= 19 && text[16] == ':') {
      size_t end = 17;
      while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '.'))
        ++end;
      s = ParseDouble(text.substr(17, end - 17), ok);
    }
    if (!ok || h > 23 || mi > 59 || s >= 60) return std::nullopt;
  }
  try {
    return DateToSerial(y, mo, d) + (h * 3600 + mi * 60 + s) / 86400.0;
  } catch (const HostError&) {
    return std::nullopt;
  }
}

}  // namespace

// What one stored record and one format run cost in memory, about: the record in its column
// store and, while the part is read, in the reader's list (a vector's growth included); a run's
// map node.
constexpr int64_t kRecordBytes = 2 * static_cast<int64_t>(sizeof(ColumnStore::Entry)) + 16;
constexpr int64_t kRunBytes = 80;

SheetReader::SheetReader(Sheet& sheet, SheetReadContext context)
    : sheet_(sheet), ctx_(std::move(context)), shared_(GridSize{sheet.Rows(), sheet.Cols()}) {
  columns_.resize(static_cast<size_t>(sheet.Cols()) + 1);
  runs_.resize(static_cast<size_t>(sheet.Cols()) + 1);
}

void SheetReader::Charge(int64_t bytes) {
  *ctx_.memoryBudget -= bytes;
  if (*ctx_.memoryBudget < 0) {
    throw FileError(ctx_.what + " is refused: it would take more than " +
                    std::to_string(ctx_.memoryLimit >> 20) +
                    " MB of memory (the bound can be raised with --max-memory)");
  }
}

CellFormat SheetReader::FormatFor(int style, int32_t col) {
  const auto index = static_cast<size_t>(style);
  // Columns without formats of their own (nearly all) share one format per style.
  const bool plainColumn = sheet_.ColumnColors().Find(col) == nullptr &&
                           sheet_.ColumnNumberFormats().Find(col) == nullptr;
  if (plainColumn && index < plainFormats_.size() && plainFormats_[index])
    return *plainFormats_[index];
  const CellStyle& s = Style(style);
  if (internedFormats_.size() <= index) internedFormats_.resize(index + 1, nullptr);
  if (internedFormats_[index] == nullptr)
    internedFormats_[index] = InternNumberFormat(s.numberFormat);
  CellFormat f;
  f.style = static_cast<uint32_t>(style);
  f.quotePrefix = s.quotePrefix;
  if (s.colorIndex != sheet_.ColumnColor(col)) f.colorIndex = static_cast<uint8_t>(s.colorIndex);
  if (s.numberFormat != sheet_.ColumnNumberFormat(col)) f.numberFormat = internedFormats_[index];
  if (plainColumn) {
    if (plainFormats_.size() <= index) plainFormats_.resize(index + 1);
    plainFormats_[index] = f;
  }
  return f;
}

void SheetReader::PutFormat(int32_t row, int32_t col, const CellFormat& format) {
  PendingRun& run = runs_[static_cast<size_t>(col)];
  if (run.last >= run.first && run.last + 1 == row && run.format == format) {
    run.last = row;
    return;
  }
  FlushRun(col);
  if (format.Plain()) return;
  Charge(kRunBytes);
  run = PendingRun{row, row, format};
}

void SheetReader::FlushRun(int32_t col) {
  PendingRun& run = runs_[static_cast<size_t>(col)];
  if (run.last >= run.first) sheet_.SetRunFormat(col, run.first, run.last, run.format);
  run.last = run.first - 1;
}

void SheetReader::Fail(const std::string& why) const { throw FileError(ctx_.what + ": " + why); }

const CellStyle& SheetReader::Style(int index) {
  if (index < 0 || static_cast<size_t>(index) >= ctx_.styles->size()) {
    Fail("a cell refers to a format that does not exist");
  }
  return (*ctx_.styles)[static_cast<size_t>(index)];
}

void SheetReader::Spend(int64_t cells) {
  *ctx_.cellBudget -= cells;
  if (*ctx_.cellBudget < 0)
    throw FileError(ctx_.what + " is refused: the workbook holds too many cells");
}

std::string_view SheetReader::Bytes(int64_t begin, int64_t end) const {
  const std::string_view doc = ctx_.document;
  if (begin < 0 || end < begin || static_cast<size_t>(end) > doc.size() ||
      doc[static_cast<size_t>(begin)] != '<') {
    Fail("the part is not in UTF-8");
  }
  return doc.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
}

std::vector<RawAttr> SheetReader::OtherAttrs(std::initializer_list<std::string_view> used) const {
  const auto [begin, end] = EventBytes();
  auto tag = ParseStartTag(Bytes(begin, end));
  if (!tag) Fail("a start tag cannot be read back");
  std::erase_if(tag->attrs, [&used](const RawAttr& a) {
    return std::find(used.begin(), used.end(), LocalName(a.name)) != used.end() ||
           a.name.rfind("xmlns", 0) == 0;
  });
  return std::move(tag->attrs);
}

// Records what the engine does not model: the root's start tag, the children it does not
// write, the first view's panes and settings.
void SheetReader::StartKept(std::string_view name, size_t depth, const XmlAttrs& attrs) {
  const auto [begin, end] = EventBytes();
  if (depth == 1) {
    ctx_.kept->root = ParseStartTag(Bytes(begin, end));
    return;
  }
  if (depth == 2) {
    childBegin_ = begin;
    if (name == "sheetFormatPr") ctx_.kept->formatPr = ParseStartTag(Bytes(begin, end));
    inViews_ = name == "sheetViews";
    if (inViews_) ctx_.kept->views.emplace();
    return;
  }
  if (!ctx_.kept->views || path_[1] != "sheetViews") return;
  KeptView& view = *ctx_.kept->views;
  if (depth == 3 && name == "sheetView" && !sawView_) {
    view.tagBegin = static_cast<size_t>(begin - childBegin_);
    view.tagEnd = view.insertAt = static_cast<size_t>(end - childBegin_);
    view.activePane = "topLeft";
    inFirstView_ = true;
  } else if (depth == 4 && inFirstView_) {
    innerBegin_ = begin;
    selectionPane_ = std::string(attrs.Get("pane").value_or("topLeft"));
  }
}

void SheetReader::EndKept(std::string_view name, size_t depth) {
  const auto [begin, end] = EventBytes();
  if (depth == 2) {
    const auto known = std::find(kWorksheetOrder.begin(), kWorksheetOrder.end(), name);
    if (known != kWorksheetOrder.end()) order_ = static_cast<int>(known - kWorksheetOrder.begin());
    if (name == "sheetViews") {
      ctx_.kept->views->xml = std::string(Bytes(childBegin_, end));
    } else if (std::find(kWrittenElements.begin(), kWrittenElements.end(), name) ==
               kWrittenElements.end()) {
      std::string bytes(Bytes(childBegin_, end));
      ctx_.kept->elements.push_back(KeptElement{order_, std::string(name), std::move(bytes)});
    }
    return;
  }
  if (!inFirstView_) return;
  KeptView& view = *ctx_.kept->views;
  if (depth == 3) {
    view.viewEnd = static_cast<size_t>(begin - childBegin_);
    inFirstView_ = false;
  } else if (depth == 4 && name == "pane") {
    view.insertAt = static_cast<size_t>(end - childBegin_);
  } else if (depth == 4 && name == "selection" && selectionPane_ == view.activePane) {
    // The engine's selection replaces the active pane's, in its place; the other panes keep
    // theirs.
    if (view.cut.empty()) view.insertAt = static_cast<size_t>(innerBegin_ - childBegin_);
    view.cut.emplace_back(static_cast<size_t>(innerBegin_ - childBegin_),
                          static_cast<size_t>(end - childBegin_));
  }
}

void SheetReader::Put(int32_t row, int32_t col, CellRecord record) {
  Charge(kRecordBytes);
  auto& column = columns_[static_cast<size_t>(col)];
  if (!column.empty() && column.back().row >= row) ordered_ = false;
  column.push_back(ColumnStore::Entry{row, std::move(record)});
}

void SheetReader::Start(std::string_view, std::string_view name, const XmlAttrs& attrs) {
  path_.emplace_back(name);
  const size_t depth = path_.size();
  // Below the root's children only the first view's panes and selections are looked at (cells
  // and rows, by far the most elements, never reach StartKept).
  if (ctx_.kept != nullptr && (depth <= 2 || (depth <= 4 && inViews_)))
    StartKept(name, depth, attrs);
  if (depth == 1) {
    if (name != "worksheet") Fail("the part is not a worksheet");
    return;
  }
  if (depth == 2) {
    if (name == "sheetFormatPr") {
      bool ok = false;
      SizeTexts& texts = sheet_.FileSizeTexts();
      if (const auto b = attrs.Get("baseColWidth")) texts.baseColWidth = std::string(*b);
      const auto h = attrs.Get("defaultRowHeight");
      if (Truthy(attrs.Get("zeroHeight"))) {
        sheet_.SetRowHeight(1, sheet_.Rows(), 0);
        if (h) texts.defaultRowHeight = SizeTexts::Noted{std::string(*h), 0};
      } else if (h) {
        const double height = ParseDouble(*h, ok);
        if (ok && height > 0 && height <= kMaxRowHeight) {
          if (height != kDefaultRowHeightPoints) sheet_.SetRowHeight(1, sheet_.Rows(), height);
          texts.defaultRowHeight = SizeTexts::Noted{std::string(*h), height};
        }
      }
      if (const auto w = attrs.Get("defaultColWidth")) {
        const double chars = StoredWidthToChars(ParseDouble(*w, ok), ctx_.maxDigitWidthPx);
        if (ok && chars > 0 && chars <= 255) {
          if (chars != kDefaultColumnWidthChars) sheet_.SetColumnWidth(1, sheet_.Cols(), chars);
          texts.defaultColWidth = SizeTexts::Noted{std::string(*w), chars};
        }
      }
    } else if (name == "legacyDrawing") {
      legacyDrawingId_ = std::string(attrs.Get("id").value_or(""));
    }
    return;
  }
  const std::string_view parent = path_[depth - 2];
  // Cells and their values, by far the most elements, are told apart first.
  if (XmlNameIs(name, "c") && XmlNameIs(parent, "row")) {
    StartCell(attrs);
  } else if (inCell_ && XmlNameIs(name, "v") && XmlNameIs(parent, "c")) {
    inValue_ = true;
  } else if (XmlNameIs(name, "row") && XmlNameIs(parent, "sheetData")) {
    StartRow(attrs);
  } else if (name == "col" && parent == "cols") {
    ReadColumn(attrs);
  } else if (inCell_ && name == "f" && parent == "c") {
    inFormula_ = true;
    formulaType_ = std::string(attrs.Get("t").value_or("normal"));
    if (formulaType_ == "shared" || formulaType_ == "array") {
      formulaGroup_ = std::string(attrs.Get("si").value_or(""));
      formulaRange_ = std::string(attrs.Get("ref").value_or(""));
    }
  } else if (inCell_ && name == "t" &&
             (parent == "is" || (parent == "r" && depth >= 3 && path_[depth - 3] == "is"))) {
    inInlineText_ = true;
  } else if (inCell_ && name == "is" && parent == "c") {
    inlineBegin_ = EventBytes().second;
  } else if (inCell_ && parent == "is") {
    inlineRuns_ = true;  // a run, a phonetic run or their properties
  } else if (name == "mergeCell" && parent == "mergeCells") {
    const auto area = ParseAreaRef(attrs.Get("ref").value_or(""));
    if (!area) Fail("a merged area has a bad reference");
    if (area->Count() < 2) return;
    if (sheet_.MergedAreas().size() >= kMaxMergedAreas)
      Fail("the sheet has more than 20000 merged areas");
    try {
      sheet_.AddMergedArea(*area);
    } catch (const HostError& e) {
      Fail(std::string("bad merged area ") + AreaRefText(*area) + " (" + e.what() + ")");
    }
  } else if (name == "sheetView" && parent == "sheetViews") {
    if (sawView_) return;
    if (Truthy(attrs.Get("tabSelected"))) tabSelected_ = true;
    if (const auto tl = attrs.Get("topLeftCell")) {
      if (const auto c = ParseCellRef(*tl); c && sheet_.Contains(*c)) sheet_.View().scroll = *c;
    }
  } else if (name == "pane" && parent == "sheetView" && !sawView_) {
    activePane_ = std::string(attrs.Get("activePane").value_or("topLeft"));
    if (ctx_.kept != nullptr && ctx_.kept->views && inFirstView_)
      ctx_.kept->views->activePane = activePane_;
  } else if (name == "selection" && parent == "sheetView" && !sawView_) {
    ReadSelection(attrs);
  }
}

void SheetReader::ReadColumn(const XmlAttrs& attrs) {
  bool ok1 = false;
  bool ok2 = false;
  const int64_t min = ParseInt(attrs.Get("min").value_or(""), ok1);
  const int64_t max = ParseInt(attrs.Get("max").value_or(""), ok2);
  if (!ok1 || !ok2 || min < 1 || min > max || max > kGridCols) Fail("a column range is malformed");
  if (min > sheet_.Cols()) return;
  const auto first = static_cast<int32_t>(min);
  const auto last = static_cast<int32_t>(std::min<int64_t>(max, sheet_.Cols()));
  // Each width is noted with its text, so that an untouched one is written as it was read.
  const auto w = attrs.Get("width");
  if (Truthy(attrs.Get("hidden"))) {
    sheet_.SetColumnWidth(first, last, 0);
    if (w) sheet_.FileSizeTexts().NoteColumns(first, last, 0, *w);
  } else if (w) {
    bool ok = false;
    const double chars =
        std::min(StoredWidthToChars(ParseDouble(*w, ok), ctx_.maxDigitWidthPx), 255.0);
    if (ok) {
      sheet_.SetColumnWidth(first, last, chars);
      sheet_.FileSizeTexts().NoteColumns(first, last, chars, *w);
    }
  }
  if (const auto s = attrs.Get("style")) {
    bool ok = false;
    const int index = static_cast<int>(std::clamp<int64_t>(ParseInt(*s, ok), -1, INT32_MAX));
    const CellStyle& style = Style(index);
    sheet_.SetColumnStyle(first, last, static_cast<uint32_t>(index));
    if (style.colorIndex != 0) sheet_.SetColumnColor(first, last, style.colorIndex);
    if (style.numberFormat != kGeneralFormat)
      sheet_.SetColumnNumberFormat(first, last, style.numberFormat);
  }
  if (ctx_.kept != nullptr) {
    auto other = OtherAttrs({"min", "max", "width", "style", "hidden", "customWidth"});
    // The engine hides a column by giving it no width; a hidden column whose width was not set
    // by hand keeps saying so (customWidth false), for the width it shows again.
    if (Truthy(attrs.Get("hidden")) && !Truthy(attrs.Get("customWidth"))) {
      other.push_back(RawAttr{"customWidth", std::string(attrs.Get("customWidth").value_or("0"))});
    }
    if (!other.empty()) ctx_.kept->colAttrs[first] = {last, std::move(other)};
  }
}

void SheetReader::StartRow(const XmlAttrs& attrs) {
  int64_t r = int64_t{row_} + 1;
  if (const auto text = attrs.Get("r")) {
    bool ok = false;
    r = ParseInt(*text, ok);
    if (!ok || r < 1) Fail("a row number is malformed");
    // Rows beyond a smaller grid are judged by their cells, whose message names the cell.
    if (r > kGridRows) {
      Fail("row " + std::to_string(r) + " lies outside the " + std::to_string(sheet_.Rows()) +
           " x " + std::to_string(sheet_.Cols()) + " grid");
    }
  }
  if (r <= row_) ordered_ = false;
  row_ = static_cast<int32_t>(r);
  lastCol_ = 0;
  rowCols_.clear();
  rowStyle_ = -1;
  if (row_ > sheet_.Rows()) return;  // refused below if it holds a cell
  // Outline levels, thick borders, phonetic display: kept for the row as written.
  const size_t count = attrs.Count();
  size_t used = 0;
  if (count == 1) {
    used = attrs.Get("r") ? 1 : 0;  // the common case, looked at once
  } else {
    for (std::string_view a : {"r", "spans", "s", "customFormat", "ht", "hidden", "customHeight"})
      used += attrs.Get(a) ? 1u : 0u;
  }
  // A hidden row whose height was not set by hand keeps saying so (the engine hides a row by
  // giving it no height).
  const bool hiddenAuto =
      count > 1 && Truthy(attrs.Get("hidden")) && !Truthy(attrs.Get("customHeight"));
  if (ctx_.kept != nullptr && (count > used || hiddenAuto)) {
    auto other = OtherAttrs({"r", "spans", "s", "customFormat", "ht", "hidden", "customHeight"});
    if (hiddenAuto)
      other.push_back(
          RawAttr{"customHeight", std::string(attrs.Get("customHeight").value_or("0"))});
    if (!other.empty()) ctx_.kept->rowAttrs[row_] = std::move(other);
  }
  const auto ht = attrs.Get("ht");
  if (Truthy(attrs.Get("hidden"))) {
    sheet_.SetRowHeight(row_, row_, 0);
    if (ht) sheet_.FileSizeTexts().NoteRow(row_, 0, *ht);
  } else if (ht) {
    bool ok = false;
    const double h = ParseDouble(*ht, ok);
    if (!ok || !(h >= 0)) Fail("a row height is malformed");
    const double height = std::min(h, kMaxRowHeight);
    sheet_.SetRowHeight(row_, row_, height);
    // A text that writing the number would not give back ("40.0") is kept to be written again.
    if (NumberText(height) != *ht) sheet_.FileSizeTexts().NoteRow(row_, height, *ht);
  }
  if (Truthy(attrs.Get("customFormat"))) {
    if (const auto s = attrs.Get("s")) {
      bool ok = false;
      const int64_t index = ParseInt(*s, ok);
      if (ok && index > 0) rowStyle_ = static_cast<int>(std::min<int64_t>(index, INT32_MAX));
    }
  }
}

void SheetReader::EndRow() {
  if (rowStyle_ < 0 || row_ > sheet_.Rows()) return;
  const CellStyle& style = Style(rowStyle_);
  sheet_.SetRowStyle(row_, row_, static_cast<uint32_t>(rowStyle_));
  if (style.colorIndex == 0 && style.numberFormat == kGeneralFormat && !style.quotePrefix) return;
  // A row format applies to every cell of the row that does not list its own; the engine keeps
  // what it models of it on those cells (the row's format number is written back on the row).
  const int64_t expansion = int64_t{sheet_.Cols()} - static_cast<int64_t>(rowCols_.size());
  Spend(expansion);
  std::sort(rowCols_.begin(), rowCols_.end());
  size_t k = 0;
  for (int32_t col = 1; col <= sheet_.Cols(); ++col) {
    if (k < rowCols_.size() && rowCols_[k] == col) {
      while (k < rowCols_.size() && rowCols_[k] == col) ++k;
      continue;
    }
    PutFormat(row_, col, FormatFor(rowStyle_, col));
  }
}

void SheetReader::StartCell(const XmlAttrs& attrs) {
  inCell_ = true;
  size_t used = 0;  // attributes read here; any other is kept
  if (const auto ref = attrs.Get("r")) {
    ++used;
    const auto c = ParseCellRef(*ref);
    if (!c) Fail("a cell has a bad reference");
    cell_ = *c;
    if (cell_.row != row_ && row_ != 0) Fail("cell " + std::string(*ref) + " lies outside its row");
  } else {
    if (row_ == 0 || lastCol_ >= kGridCols) Fail("a cell has no reference");
    cell_ = Cell{row_, lastCol_ + 1};
  }
  lastCol_ = cell_.col;
  if (!sheet_.Contains(cell_)) {
    Fail("cell " + CellRefText(cell_) + " lies outside the " + std::to_string(sheet_.Rows()) +
         " x " + std::to_string(sheet_.Cols()) + " grid");
  }
  rowCols_.push_back(cell_.col);
  cellStyle_ = 0;
  if (const auto s = attrs.Get("s")) {
    ++used;
    bool ok = false;
    const int64_t index = ParseInt(*s, ok);
    if (!ok || index < 0 || index > INT32_MAX) Fail("a cell has a bad format number");
    cellStyle_ = static_cast<int>(index);
  }
  const auto type = attrs.Get("t");
  used += type ? 1u : 0u;
  type_ = std::string(type.value_or("n"));
  // Cell metadata (dynamic arrays, rich values) and phonetic display: kept as written.
  if (ctx_.kept != nullptr) {
    if (attrs.Count() > used) {
      auto other = OtherAttrs({"r", "s", "t"});
      if (!other.empty()) ctx_.kept->cellAttrs[{cell_.row, cell_.col}] = std::move(other);
    }
  }
  value_.clear();
  formula_.clear();
  formulaType_.clear();
  formulaHasText_ = false;
  inlineRuns_ = false;
  inlineXml_ = {};
}

void SheetReader::Text(std::string_view text) {
  if (inValue_ || inInlineText_) {
    if (value_.size() + text.size() > kMaxCellText) Fail("a cell's text is too long");
    value_ += text;
  } else if (inFormula_) {
    if (formula_.size() + text.size() > kMaxCellText) Fail("a formula is too long");
    formula_ += text;
  }
}

void SheetReader::EndCell() {
  inCell_ = false;
  Spend(1);
  // The common case of a formatted empty cell (no value, no formula, a type whose empty value is
  // no value) goes straight to its column's run: a file may list tens of millions of them.
  if (value_.empty() && formulaType_.empty() && type_.size() == 1 && type_[0] != 's') {
    PutFormat(cell_.row, cell_.col, FormatFor(cellStyle_, cell_.col));
    return;
  }
  const CellStyle& style = Style(cellStyle_);
  auto where = [this] { return "cell " + CellRefText(cell_); };
  CellRecord r;
  bool ok = true;
  if (type_ == "s") {
    const int64_t index = ParseInt(value_, ok);
    if (!ok || index < 0 || static_cast<size_t>(index) >= ctx_.sharedStrings->size()) {
      Fail(where() + " refers to a shared text that does not exist");
    }
    const auto i = static_cast<size_t>(index);
    r.value = Value::Text((*ctx_.sharedStrings)[i]);
    if (ctx_.sharedRuns != nullptr && i < ctx_.sharedRuns->size() && (*ctx_.sharedRuns)[i]) {
      Charge(static_cast<int64_t>(sizeof(CellExtras)));
      r.Extras().richText = (*ctx_.sharedRuns)[i];
    }
  } else if (type_ == "str" || type_ == "inlineStr") {
    r.value = Value::Text(DecodeEscapes(value_));
    if (type_ == "inlineStr" && inlineRuns_) {
      Charge(static_cast<int64_t>(sizeof(CellExtras) + 48 + inlineXml_.size()));
      r.Extras().richText = std::make_shared<const std::string>(inlineXml_);
    }
  } else if (type_ == "b") {
    if (!value_.empty()) r.value = Value::Boolean(value_ == "1" || value_ == "true");
  } else if (type_ == "e") {
    if (const auto code = ParseError(value_)) {
      r.value = Value::Error(*code);
    } else if (!value_.empty()) {
      ctx_.unmodelled->insert("error values of newer versions (kept as #N/A)");
      r.value = Value::Error(ErrorCode::NA);
    }
  } else if (type_ == "d") {
    if (!value_.empty()) {
      const auto serial = ParseIsoDate(value_);
      if (!serial) Fail(where() + " holds a malformed date");
      r.value = Value::Date(*serial);
    }
  } else if (type_ == "n") {
    if (!value_.empty()) {
      const double v = ParseDouble(value_, ok);
      if (!ok || !std::isfinite(v)) Fail(where() + " holds a malformed number");
      const double serial = ctx_.date1904 ? v + k1904Offset : v;
      if (style.isDate && serial >= 0 && serial <= kLastSerial) {
        r.value = Value::Date(serial);
      } else {
        r.value = Value::Number(v);
      }
    }
  } else {
    Fail(where() + " has an unknown type '" + type_ + "'");
  }
  if (!formulaType_.empty()) {
    if (formulaType_ == "shared" && !formulaHasText_) {
      // A follower: its group's master formula, moved to it. A file may hold millions of them
      // from a few bytes each, so each one's formula is charged.
      if (auto moved = shared_.FollowerFormula(formulaGroup_, cell_)) {
        Charge(static_cast<int64_t>(sizeof(CellExtras) + moved->size()));
        r.Extras().formula = std::move(*moved);
      } else {
        ctx_.unmodelled->insert("shared formulas without their first cell (kept as values)");
      }
    } else if (formulaType_ == "dataTable") {
      ctx_.unmodelled->insert("data tables");
    } else if (!formula_.empty()) {
      r.Extras().formula = "=" + DecodeEscapes(formula_);
      if (formulaType_ == "shared")
        Charge(shared_.AddMaster(formulaGroup_, formulaRange_, cell_, r.extras->formula));
      if (formulaType_ == "array") ReadArray(r);
    }
  }
  if (r.value.IsEmpty() && !r.extras) {
    PutFormat(cell_.row, cell_.col, FormatFor(cellStyle_, cell_.col));
    return;
  }
  r.quotePrefix = style.quotePrefix;
  r.style = static_cast<uint32_t>(cellStyle_);
  SetOwnColor(r, style.colorIndex, sheet_.ColumnColor(cell_.col));
  SetOwnNumberFormat(r, style.numberFormat, sheet_.ColumnNumberFormat(cell_.col));
  if (!r.Blank()) Put(cell_.row, cell_.col, std::move(r));
}

// An array formula's anchor: its block starts at the cell and lies on the sheet. The block's
// other cells hold only their cached values and are read as any other cell's.
void SheetReader::ReadArray(CellRecord& r) {
  const auto block = ParseAreaRef(formulaRange_);
  if (!block || block->first != cell_ || !sheet_.Contains(block->last)) {
    ctx_.unmodelled->insert(
        "array formulas whose range does not start at their cell (kept as plain formulas)");
    return;
  }
  r.extras->array =
      ArrayExtent{static_cast<int32_t>(block->Rows()), static_cast<int32_t>(block->Cols())};
  arrayReach_.rows = std::max(arrayReach_.rows, r.extras->array.rows);
  arrayReach_.cols = std::max(arrayReach_.cols, r.extras->array.cols);
}

void SheetReader::ReadSelection(const XmlAttrs& attrs) {
  const std::string pane(attrs.Get("pane").value_or("topLeft"));
  if (!activePane_.empty() && pane != activePane_) return;
  Selection sel;
  const auto active = ParseCellRef(attrs.Get("activeCell").value_or(""));
  std::string_view sqref = attrs.Get("sqref").value_or("");
  while (!sqref.empty()) {
    const size_t space = sqref.find(' ');
    const std::string_view piece = sqref.substr(0, space);
    if (!piece.empty()) {
      const auto area = ParseAreaRef(piece);
      if (!area || !sheet_.Contains(area->last))
        return;  // a selection the sheet cannot hold is not kept
      if (sel.areas.size() < 4096) sel.areas.push_back(*area);
    }
    sqref = space == std::string_view::npos ? std::string_view() : sqref.substr(space + 1);
  }
  if (active && sheet_.Contains(*active)) {
    sel.active = *active;
    if (sel.areas.empty()) sel.areas.push_back(Area::Of(*active));
  } else if (!sel.areas.empty()) {
    sel.active = sel.areas.front().first;
  } else {
    return;
  }
  sheet_.View().selection = std::move(sel);
}

void SheetReader::End(std::string_view, std::string_view name) {
  const size_t depth = path_.size();
  const std::string_view parent =
      depth >= 2 ? std::string_view(path_[depth - 2]) : std::string_view();
  if (XmlNameIs(name, "c") && XmlNameIs(parent, "row") && inCell_) {
    EndCell();
  } else if (XmlNameIs(name, "v")) {
    inValue_ = false;
  } else if (name == "f" && inFormula_) {
    inFormula_ = false;
    formulaHasText_ = !formula_.empty();
  } else if (name == "t") {
    inInlineText_ = false;
  } else if (name == "is" && inCell_ && inlineRuns_) {
    const int64_t end = EventBytes().first;
    if (inlineBegin_ > end || static_cast<size_t>(end) > ctx_.document.size())
      Fail("the part is not in UTF-8");
    inlineXml_ = ctx_.document.substr(static_cast<size_t>(inlineBegin_),
                                      static_cast<size_t>(end - inlineBegin_));
  } else if (name == "row" && parent == "sheetData") {
    EndRow();
  } else if (name == "sheetView" && parent == "sheetViews") {
    sawView_ = true;
  }
  if (ctx_.kept != nullptr && (depth == 2 || (depth <= 4 && inViews_))) EndKept(name, depth);
  path_.pop_back();
}

void SheetReader::Finish() {
  for (int32_t col = 1; col <= sheet_.Cols(); ++col) FlushRun(col);
  int64_t formulas = 0;
  auto& stores = sheet_.Columns();
  for (size_t col = 1; col < columns_.size(); ++col) {
    auto& entries = columns_[col];
    if (entries.empty()) continue;
    if (!ordered_) {
      std::stable_sort(entries.begin(), entries.end(),
                       [](const ColumnStore::Entry& a, const ColumnStore::Entry& b) {
                         return a.row < b.row;
                       });
      // A cell listed twice keeps its last listing.
      std::vector<ColumnStore::Entry> unique;
      for (auto& e : entries) {
        if (!unique.empty() && unique.back().row == e.row) {
          unique.back() = std::move(e);
        } else {
          unique.push_back(std::move(e));
        }
      }
      entries = std::move(unique);
    }
    for (const ColumnStore::Entry& e : entries) formulas += e.record.HasFormula() ? 1 : 0;
    // A cell listed twice, once with content and once with a format only, keeps the record.
    if (sheet_.FormatRuns().count(static_cast<int32_t>(col)) != 0) {
      for (const ColumnStore::Entry& e : entries)
        sheet_.SetRunFormat(static_cast<int32_t>(col), e.row, e.row, CellFormat{});
    }
    stores[static_cast<int32_t>(col)].InsertRun(std::move(entries));
    entries = {};
  }
  sheet_.DropEmptyColumns();
  // Handing out the stores made the count unknown; it is exact again.
  sheet_.SetFormulaCountBound(formulas);
  if (arrayReach_.Any()) {
    sheet_.NoteArray(arrayReach_);
    // An array overlapping another or holding another formula cannot be written back as one:
    // its anchor keeps a plain formula.
    for (Cell anchor : BrokenArrays(sheet_)) {
      ctx_.unmodelled->insert("array formulas overlapping other formulas (kept as plain formulas)");
      sheet_.Edit(anchor, [](CellRecord& r) { r.extras->array = ArrayExtent{}; });
    }
  }
}

}  // namespace tezlo
