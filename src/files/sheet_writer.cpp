#include "files/sheet_writer.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <charconv>
#include <cmath>
#include <map>
#include <set>

#include "host/a1_address.h"
#include "files/column_width.h"
#include "files/comment_parts.h"
#include "files/kept_content.h"
#include "files/kept_references.h"
#include "files/raw_tag.h"
#include "files/rich_text.h"
#include "files/workbook_file.h"
#include "files/xml_text.h"

namespace tezlo {

namespace {

void AppendNumber(std::string& out, double v) {
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, r.ptr);
}

void AppendInt(std::string& out, int64_t v) {
  char buffer[24];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, r.ptr);
}

// The style index of a cell, remembered by its own format number and the identity of its format
// string (the sheet's formats live as long as the write) so that most cells cost one hash
// look-up.
class CellStyles {
 public:
  explicit CellStyles(StyleTable& table) : table_(table) {}
  uint32_t Of(uint32_t base, const std::string& format, int color, bool quote) {
    const Key key{&format, (static_cast<uint64_t>(base) << 16) |
                               static_cast<uint64_t>(color * 2 + (quote ? 1 : 0))};
    auto it = cache_.find(key);
    if (it != cache_.end()) return it->second;
    const uint32_t index = table_.IndexOf(base, format, color, quote);
    cache_.emplace(key, index);
    return index;
  }

 private:
  using Key = std::pair<const std::string*, uint64_t>;
  struct Hash {
    size_t operator()(const Key& k) const {
      return std::hash<const void*>()(k.first) ^
             (static_cast<size_t>(k.second) * 0x9E3779B97F4A7C15ull);
    }
  };
  StyleTable& table_;
  std::unordered_map<Key, uint32_t, Hash> cache_;
};

// The row height most rows have: written once as the sheet's default.
double CommonRowHeight(const Sheet& sheet) {
  std::map<double, int64_t> rows;
  int64_t covered = 0;
  for (const auto& [first, run] : sheet.RowHeights().Runs()) {
    const int64_t n = int64_t{run.last} - first + 1;
    rows[run.value] += n;
    covered += n;
  }
  rows[kDefaultRowHeightPoints] += sheet.Rows() - covered;
  double best = kDefaultRowHeightPoints;
  int64_t most = -1;
  for (const auto& [height, n] : rows) {
    if (n > most) {
      most = n;
      best = height;
    }
  }
  return best;
}

class Writer {
 public:
  Writer(const Sheet& sheet, int maxDigitWidthPx, StyleTable& styles, SharedTexts& texts,
         const SheetWriteOptions& options)
      : sheet_(sheet),
        mdw_(maxDigitWidthPx),
        styles_(styles),
        texts_(texts),
        options_(options),
        kept_(options.kept) {}

  SheetParts Run(int number, bool selected);

 private:
  void Views(bool selected);
  void KeptViews(const KeptView& kept, bool selected);
  void SelectionXml(std::string_view prefix, std::string_view pane);
  void FormatProperties();
  void Columns();
  void Rows();
  void OpenRow(int32_t row);
  void EmptyRowsBefore(int32_t row);
  void CellXml(Cell c, const CellRecord& r);
  // The format number a cell is written with: its file style with what the engine models of it
  // (colour and number format, its own or, when none, its column's; and the quote prefix).
  uint32_t CellStyleOf(Cell c, uint32_t fileStyle, uint8_t colorIndex,
                       const std::string* numberFormat, bool quotePrefix);
  // `<c r="A1" s="N"`, the tag left open for the rest of the cell.
  void OpenCellTag(Cell c, uint32_t style);
  void FormatOnlyCellXml(Cell c, const CellFormat& f);
  uint32_t RowStyleOf(int32_t row) const;

  const Sheet& sheet_;
  int mdw_;
  StyleTable& styles_;
  CellStyles cellStyles_{styles_};
  SharedTexts& texts_;
  const SheetWriteOptions& options_;
  const KeptSheetXml* kept_;
  // The kept row and cell attributes where the cells are now (see kept_references.h).
  std::map<int32_t, std::vector<RawAttr>> rowAttrs_;
  std::map<std::pair<int32_t, int32_t>, std::vector<RawAttr>> cellAttrs_;
  std::string out_;
  double defaultHeight_ = kDefaultRowHeightPoints;
  // Rows whose height differs from the default, as runs, walked in order.
  std::vector<std::pair<int32_t, int32_t>> heightRuns_;
  size_t heightRun_ = 0;
  int32_t nextHeightRow_ = 0;
  std::vector<CommentBox> comments_;
};

void Writer::SelectionXml(std::string_view prefix, std::string_view pane) {
  const SheetView& view = sheet_.View();
  out_ += '<';
  out_ += prefix;
  out_ += "selection";
  if (!pane.empty() && pane != "topLeft") {
    out_ += " pane=\"";
    out_ += pane;
    out_ += '"';
  }
  out_ += " activeCell=\"";
  AppendCellRef(out_, view.selection.active);
  out_ += '"';
  for (size_t i = 0; i < view.selection.areas.size(); ++i) {
    if (view.selection.areas[i].Contains(view.selection.active)) {
      if (i != 0) {
        out_ += " activeCellId=\"";
        AppendInt(out_, static_cast<int64_t>(i));
        out_ += '"';
      }
      break;
    }
  }
  out_ += " sqref=\"";
  for (size_t i = 0; i < view.selection.areas.size(); ++i) {
    if (i != 0) out_ += ' ';
    out_ += AreaRefText(view.selection.areas[i]);
  }
  if (view.selection.areas.empty()) AppendCellRef(out_, view.selection.active);
  out_ += "\"/>";
}

void Writer::Views(bool selected) {
  if (kept_ != nullptr && kept_->views) return KeptViews(*kept_->views, selected);
  const SheetView& view = sheet_.View();
  out_ += "<sheetViews><sheetView";
  if (selected) out_ += " tabSelected=\"1\"";
  if (view.scroll != Cell{1, 1}) {
    out_ += " topLeftCell=\"";
    AppendCellRef(out_, view.scroll);
    out_ += '"';
  }
  out_ += " workbookViewId=\"0\">";
  SelectionXml("", "");
  out_ += "</sheetView></sheetViews>";
}

// The file's views, the first with what the engine models (tab selection, top-left cell,
// selection) replaced and everything else (panes, zoom, grid lines, other views) as it was.
void Writer::KeptViews(const KeptView& kept, bool selected) {
  const std::string_view xml = kept.xml;
  auto tag = ParseStartTag(xml.substr(kept.tagBegin, kept.tagEnd - kept.tagBegin));
  if (!tag || kept.viewEnd < kept.tagEnd || kept.viewEnd > xml.size()) {
    out_ += xml;  // never reached: the reader cut these bytes at the parser's offsets
    return;
  }
  const bool wasEmpty = tag->empty;
  tag->empty = false;
  tag->Remove("tabSelected");
  tag->Remove("topLeftCell");
  const SheetView& view = sheet_.View();
  std::vector<RawAttr> engine;
  if (selected) engine.push_back(RawAttr{"tabSelected", "1"});
  if (view.scroll != Cell{1, 1}) engine.push_back(RawAttr{"topLeftCell", CellRefText(view.scroll)});
  tag->attrs.insert(tag->attrs.begin(), engine.begin(), engine.end());
  const size_t colon = tag->name.find(':');
  const std::string prefix =
      colon == std::string::npos ? std::string() : tag->name.substr(0, colon + 1);
  out_ += xml.substr(0, kept.tagBegin);
  tag->AppendTo(out_);
  size_t at = kept.tagEnd;
  auto copyTo = [&](size_t end) {
    for (const auto& [first, last] : kept.cut) {
      if (first >= end || last <= at) continue;
      if (first > at) out_ += xml.substr(at, first - at);
      at = std::max(at, last);
    }
    if (end > at) out_ += xml.substr(at, end - at);
    at = std::max(at, end);
  };
  copyTo(kept.insertAt);
  SelectionXml(prefix, kept.activePane);
  copyTo(kept.viewEnd);
  if (wasEmpty) out_ += "</" + tag->name + ">";
  out_ += xml.substr(kept.viewEnd);
}

// The file's format properties with the default row height the engine computes.
void Writer::FormatProperties() {
  RawTag tag;
  tag.name = "sheetFormatPr";
  const SizeTexts& texts = sheet_.FileSizeTexts();
  const bool heightAsRead =
      texts.defaultRowHeight && texts.defaultRowHeight->value == defaultHeight_;
  // While the default height is the file's, so are its flags (whether it was set by hand,
  // whether rows are hidden by default).
  const bool flagsAsRead = heightAsRead && kept_ != nullptr && kept_->formatPr;
  if (kept_ != nullptr && kept_->formatPr) {
    tag = *kept_->formatPr;
    for (const char* ours : {"baseColWidth", "defaultColWidth", "defaultRowHeight"})
      tag.Remove(ours);
    if (!flagsAsRead) {
      tag.Remove("customHeight");
      tag.Remove("zeroHeight");
    }
  }
  tag.empty = true;
  // The format's sizes as the file gave them while they still hold.
  std::string height;
  if (heightAsRead) {
    height = texts.defaultRowHeight->text;
  } else {
    AppendNumber(height, defaultHeight_ == 0 ? kDefaultRowHeightPoints : defaultHeight_);
  }
  std::vector<RawAttr> sizes;
  if (texts.baseColWidth) sizes.push_back(RawAttr{"baseColWidth", *texts.baseColWidth});
  if (texts.defaultColWidth)
    sizes.push_back(RawAttr{"defaultColWidth", texts.defaultColWidth->text});
  sizes.push_back(RawAttr{"defaultRowHeight", height});
  tag.attrs.insert(tag.attrs.begin(), sizes.begin(), sizes.end());
  if (!flagsAsRead) {
    tag.attrs.push_back(RawAttr{"customHeight", "1"});
    if (defaultHeight_ == 0) tag.attrs.push_back(RawAttr{"zeroHeight", "1"});
  }
  tag.AppendTo(out_);
}

void Writer::Columns() {
  // Every column where a width, a colour or a number format starts or stops.
  std::set<int32_t> cuts{1, sheet_.Cols() + 1};
  auto addCuts = [&cuts](const auto& runs) {
    for (const auto& [first, run] : runs.Runs()) {
      cuts.insert(first);
      if (run.last < INT32_MAX) cuts.insert(run.last + 1);
    }
  };
  addCuts(sheet_.ColumnWidths());
  addCuts(sheet_.ColumnColors());
  addCuts(sheet_.ColumnNumberFormats());
  addCuts(sheet_.ColumnStyles());
  const SizeTexts& texts = sheet_.FileSizeTexts();
  for (const int32_t cut : texts.ColumnCuts()) cuts.insert(cut);
  // Columns of the sheet's default width are not listed; that default is the file's own when
  // it was read with one (written back in sheetFormatPr).
  const double sheetDefault =
      texts.defaultColWidth ? texts.defaultColWidth->value : kDefaultColumnWidthChars;
  static const std::map<int32_t, std::pair<int32_t, std::vector<RawAttr>>> kNone;
  const auto& keptCols = kept_ != nullptr ? kept_->colAttrs : kNone;
  for (const auto& [first, range] : keptCols) {
    cuts.insert(first);
    cuts.insert(range.first + 1);
  }
  std::string cols;
  for (auto it = cuts.begin(); it != cuts.end() && *it <= sheet_.Cols(); ++it) {
    const int32_t first = *it;
    const int32_t last = std::min(*std::next(it), sheet_.Cols() + 1) - 1;
    const double width = sheet_.ColumnWidth(first);
    const uint32_t style =
        cellStyles_.Of(sheet_.ColumnStyle(first), sheet_.ColumnNumberFormat(first),
                       sheet_.ColumnColor(first), false);
    // The kept attributes of the range that holds these columns, if any.
    const std::vector<RawAttr>* kept = nullptr;
    if (auto k = keptCols.upper_bound(first);
        k != keptCols.begin() && std::prev(k)->second.first >= first) {
      kept = &std::prev(k)->second.second;
    }
    if (width == sheetDefault && style == 0 && kept == nullptr) continue;
    cols += "<col min=\"";
    AppendInt(cols, first);
    cols += "\" max=\"";
    AppendInt(cols, last);
    cols += "\" width=\"";
    if (const std::string* text = texts.ColumnWidth(first, width)) {
      AppendXmlText(cols, *text, true);  // as read: the width has not changed
    } else {
      AppendNumber(cols, CharsToStoredWidth(width, mdw_));
    }
    cols += '"';
    if (style != 0) {
      cols += " style=\"";
      AppendInt(cols, style);
      cols += '"';
    }
    if (width == 0) cols += " hidden=\"1\"";
    // A hidden column the file did not size by hand keeps its own customWidth; any other width
    // is the engine's.
    const bool keptCustom = kept != nullptr && HasAttr(*kept, "customWidth");
    if (width != sheetDefault && !(width == 0 && keptCustom)) cols += " customWidth=\"1\"";
    if (kept != nullptr) {
      AppendRawAttrs(cols, width == 0 ? *kept : WithoutAttr(*kept, "customWidth"));
    }
    cols += "/>";
  }
  if (!cols.empty()) out_ += "<cols>" + cols + "</cols>";
}

void Writer::OpenRow(int32_t row) {
  out_ += "<row r=\"";
  AppendInt(out_, row);
  out_ += '"';
  const double h = sheet_.RowHeight(row);
  const std::vector<RawAttr>* keptRow = nullptr;
  if (!rowAttrs_.empty()) {
    if (const auto it = rowAttrs_.find(row); it != rowAttrs_.end()) keptRow = &it->second;
  }
  if (h != defaultHeight_) {
    // A height read from the file and not changed since is written as it was read (a hidden
    // row keeps the height it shows again when unhidden).
    const std::string* text = sheet_.FileSizeTexts().RowHeight(row, h);
    if (text != nullptr || h != 0) {
      out_ += " ht=\"";
      if (text != nullptr) {
        AppendXmlText(out_, *text, true);
      } else {
        AppendNumber(out_, h);
      }
      out_ += '"';
    }
    if (h == 0) out_ += " hidden=\"1\"";
    // A hidden row the file did not size by hand keeps its own customHeight.
    if (h != 0 || keptRow == nullptr || !HasAttr(*keptRow, "customHeight"))
      out_ += " customHeight=\"1\"";
  }
  if (const uint32_t style = RowStyleOf(row); style != 0) {
    out_ += " s=\"";
    AppendInt(out_, style);
    out_ += "\" customFormat=\"1\"";
  }
  if (keptRow != nullptr)
    AppendRawAttrs(out_, h == 0 ? *keptRow : WithoutAttr(*keptRow, "customHeight"));
  out_ += '>';
}

uint32_t Writer::RowStyleOf(int32_t row) const {
  // Rows keep the format number they were read with; a generated styles part has none.
  const uint32_t style = sheet_.RowStyle(row);
  return styles_.Kept() && style < styles_.Count() ? style : 0;
}

// Rows before `row` that hold no cell but a height or kept attributes of their own.
void Writer::EmptyRowsBefore(int32_t row) {
  while (true) {
    while (heightRun_ < heightRuns_.size() && heightRuns_[heightRun_].second < nextHeightRow_)
      ++heightRun_;
    int32_t next = INT32_MAX;
    if (heightRun_ < heightRuns_.size())
      next = std::max(heightRuns_[heightRun_].first, nextHeightRow_);
    if (!rowAttrs_.empty()) {
      const auto it = rowAttrs_.lower_bound(nextHeightRow_);
      if (it != rowAttrs_.end()) next = std::min(next, it->first);
    }
    if (next >= row || next > sheet_.Rows()) return;
    OpenRow(next);
    out_ += "</row>";
    nextHeightRow_ = next + 1;
  }
}

uint32_t Writer::CellStyleOf(Cell c, uint32_t fileStyle, uint8_t colorIndex,
                             const std::string* numberFormat, bool quotePrefix) {
  const int color = colorIndex != kInheritColor ? colorIndex : sheet_.ColumnColor(c.col);
  const std::string& format = numberFormat ? *numberFormat : sheet_.ColumnNumberFormat(c.col);
  return cellStyles_.Of(fileStyle, format, color, quotePrefix);
}

void Writer::OpenCellTag(Cell c, uint32_t style) {
  out_ += "<c r=\"";
  AppendCellRef(out_, c);
  out_ += '"';
  if (style != 0) {
    out_ += " s=\"";
    AppendInt(out_, style);
    out_ += '"';
  }
}

void Writer::FormatOnlyCellXml(Cell c, const CellFormat& f) {
  const uint32_t style = CellStyleOf(c, f.style, f.colorIndex, f.numberFormat, f.quotePrefix);
  if (style == RowStyleOf(c.row) && style != 0) return;  // the row says it
  OpenCellTag(c, style);
  out_ += "/>";
}

void Writer::CellXml(Cell c, const CellRecord& r) {
  const uint32_t style =
      CellStyleOf(c, r.style, r.colorIndex, r.OwnNumberFormat() ? &*r.OwnNumberFormat() : nullptr,
                  r.quotePrefix);
  // A cell holding nothing but its row's format was spread over the row when read: the row
  // says it again.
  if (r.value.IsEmpty() && !r.extras && style != 0 && style == RowStyleOf(c.row)) return;
  OpenCellTag(c, style);
  if (!cellAttrs_.empty()) {
    if (const auto it = cellAttrs_.find({c.row, c.col}); it != cellAttrs_.end()) {
      // Cell metadata (cm) marks a dynamic array's anchor: a cell that no longer anchors an
      // array (a tool wrote over it) drops it.
      if (!r.ArrayArea(c) && HasAttr(it->second, "cm")) {
        AppendRawAttrs(out_, WithoutAttr(it->second, "cm"));
      } else {
        AppendRawAttrs(out_, it->second);
      }
    }
  }
  const Value& v = r.value;
  const bool formula = r.HasFormula();
  const bool finite = !(v.IsNumber() || v.IsDate()) || std::isfinite(v.AsNumber());
  switch (v.Kind()) {
    case ValueKind::Text: out_ += formula ? " t=\"str\"" : " t=\"s\""; break;
    case ValueKind::Boolean: out_ += " t=\"b\""; break;
    case ValueKind::Error: out_ += " t=\"e\""; break;
    case ValueKind::Number:
    case ValueKind::Date:
      if (!finite) out_ += " t=\"e\"";
      break;
    case ValueKind::Empty: break;
  }
  if (!formula && v.IsEmpty()) {
    out_ += "/>";
    return;
  }
  out_ += '>';
  if (formula) {
    if (const std::optional<Area> block = r.ArrayArea(c)) {
      // An array formula: its anchor names the block; the block's other cells hold values.
      out_ += "<f t=\"array\" ref=\"";
      AppendCellRef(out_, block->first);
      if (block->last != block->first) {
        out_ += ':';
        AppendCellRef(out_, block->last);
      }
      out_ += "\">";
    } else {
      out_ += "<f>";
    }
    const std::string& f = r.extras->formula;
    AppendXmlText(out_, std::string_view(f).substr(f[0] == '=' ? 1 : 0));
    out_ += "</f>";
  }
  switch (v.Kind()) {
    case ValueKind::Text:
      out_ += "<v>";
      if (formula) {
        AppendXmlText(out_, v.AsText());
      } else if (r.extras && r.extras->richText) {
        AppendInt(out_, texts_.IndexOfRich(*r.extras->richText, v.AsText()));
      } else {
        AppendInt(out_, texts_.IndexOf(v.AsText()));
      }
      out_ += "</v>";
      break;
    case ValueKind::Boolean: out_ += v.AsBoolean() ? "<v>1</v>" : "<v>0</v>"; break;
    case ValueKind::Error:
      out_ += "<v>";
      out_ += ErrorText(v.AsError());
      out_ += "</v>";
      break;
    case ValueKind::Number:
    case ValueKind::Date:
      out_ += "<v>";
      if (finite) {
        AppendNumber(out_, v.IsDate() ? v.AsNumber() + options_.dateShift : v.AsNumber());
      } else {
        out_ += ErrorText(ErrorCode::Num);
      }
      out_ += "</v>";
      break;
    case ValueKind::Empty: break;
  }
  out_ += "</c>";
}

// How much of the worksheet is written before it is handed on (SheetWriteOptions::spill).
constexpr size_t kSpillBytes = size_t{1} << 20;

void Writer::Rows() {
  for (const auto& [first, run] : sheet_.RowHeights().Runs()) {
    if (run.value != defaultHeight_)
      heightRuns_.emplace_back(first, std::min(run.last, sheet_.Rows()));
  }
  if (styles_.Kept()) {
    for (const auto& [first, run] : sheet_.RowStyles().Runs()) {
      heightRuns_.emplace_back(first, std::min(run.last, sheet_.Rows()));
    }
    std::sort(heightRuns_.begin(), heightRuns_.end());
  }
  if (defaultHeight_ != kDefaultRowHeightPoints) {
    // Rows no run covers have the engine's default height, which is not the sheet's here.
    std::vector<std::pair<int32_t, int32_t>> gaps;
    int32_t next = 1;
    for (const auto& [first, run] : sheet_.RowHeights().Runs()) {
      if (first > next) gaps.emplace_back(next, first - 1);
      next = std::max(next, run.last + 1);
    }
    if (next <= sheet_.Rows()) gaps.emplace_back(next, sheet_.Rows());
    heightRuns_.insert(heightRuns_.end(), gaps.begin(), gaps.end());
    std::sort(heightRuns_.begin(), heightRuns_.end());
  }
  out_ += "<sheetData>";
  int32_t openRow = 0;
  auto open = [&](int32_t row) {
    if (row == openRow) return;
    if (openRow != 0) out_ += "</row>";
    if (options_.spill && out_.size() >= kSpillBytes) {
      options_.spill(std::move(out_));
      out_.clear();
      out_.reserve(kSpillBytes + kSpillBytes / 8);
    }
    EmptyRowsBefore(row);
    OpenRow(row);
    openRow = row;
    nextHeightRow_ = std::max(nextHeightRow_, row + 1);
  };
  sheet_.ForEachCellByRow(
      [&](Cell c, const CellRecord& r) {
        open(c.row);
        CellXml(c, r);
        if (r.HasComment()) comments_.push_back(CommentBox{c, &*r.extras->comment});
      },
      [&](Cell c, const CellFormat& f) {
        open(c.row);
        FormatOnlyCellXml(c, f);
      });
  if (openRow != 0) out_ += "</row>";
  EmptyRowsBefore(sheet_.Rows() + 1);
  out_ += "</sheetData>";
}

// The worksheet's children in their schema order, as the reader numbers them (sheet_reader.cpp).
enum Position : int {
  kSheetViews = 2,
  kSheetFormatPr = 3,
  kCols = 4,
  kSheetData = 5,
  kMergeCells = 14,
  kPageMargins = 20,
  kLegacyDrawing = 30,
};

SheetParts Writer::Run(int number, bool selected) {
  defaultHeight_ = CommonRowHeight(sheet_);
  static const std::vector<KeptElement> kNone;
  const std::vector<KeptElement>& kept = kept_ != nullptr ? kept_->elements : kNone;
  auto keeps = [&kept](std::string_view name) {
    return std::any_of(kept.begin(), kept.end(),
                       [name](const KeptElement& e) { return e.name == name; });
  };
  // The kept elements that come before position `order`, in the order the file had them, with
  // their references moved with the cells the sheet moved since it was read.
  const std::vector<RefShift>& shifts = sheet_.ShiftsSinceRead();
  if (kept_ != nullptr) {
    rowAttrs_ = ShiftRowAttrs(kept_->rowAttrs, shifts);
    cellAttrs_ = ShiftCellAttrs(kept_->cellAttrs, shifts);
  }
  size_t next = 0;
  auto keptBefore = [&](int order) {
    for (; next < kept.size() && kept[next].order < order; ++next) {
      out_ += shifts.empty() ? kept[next].xml
                             : ShiftKeptElement(kept[next].name, kept[next].xml, shifts);
    }
  };
  out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
  RootTag(kept_ != nullptr ? kept_->root : std::nullopt, "worksheet").AppendTo(out_);
  keptBefore(kSheetViews);
  Views(selected);
  keptBefore(kSheetFormatPr);
  FormatProperties();
  keptBefore(kCols);
  Columns();
  keptBefore(kSheetData);
  Rows();
  keptBefore(kMergeCells);
  if (!sheet_.MergedAreas().empty()) {
    out_ += "<mergeCells count=\"";
    AppendInt(out_, static_cast<int64_t>(sheet_.MergedAreas().size()));
    out_ += "\">";
    for (const Area& a : sheet_.MergedAreas())
      out_ += "<mergeCell ref=\"" + AreaRefText(a) + "\"/>";
    out_ += "</mergeCells>";
  }
  keptBefore(kPageMargins);
  if (!keeps("pageMargins")) {
    out_ +=
        "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
        "footer=\"0.3\"/>";
  }
  keptBefore(kLegacyDrawing);
  SheetParts parts;
  if (options_.keepComments && kept_ != nullptr && kept_->comments) {
    out_ += kept_->comments->drawing;
  } else if (!comments_.empty()) {
    if (keeps("legacyDrawing")) {
      throw FileError("cannot save sheet '" + sheet_.Name() +
                      "': its form controls and its comments would need two legacy drawings; "
                      "delete the comments "
                      "or the controls");
    }
    out_ += "<legacyDrawing r:id=\"" + options_.commentsDrawingId + "\"/>";
    parts.comments = CommentsXml(comments_);
    parts.drawing = CommentBoxesVml(comments_, number);
  }
  keptBefore(INT32_MAX);
  out_ += "</worksheet>";
  parts.worksheet = std::move(out_);
  return parts;
}

}  // namespace

uint32_t SharedTexts::IndexOf(std::string_view text) {
  ++uses_;
  if (2 * starts_.size() > slots_.size()) Grow();
  const uint64_t hash = std::hash<std::string_view>()(text);
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (slot.index == kEmpty) {
      slot = Slot{hash, static_cast<uint32_t>(Count())};
      all_ += text;
      starts_.push_back(all_.size());
      return slot.index;
    }
    if (slot.hash == hash && Text(slot.index) == text) return slot.index;
  }
}

uint32_t SharedTexts::IndexOfRich(const std::string& runs, std::string_view text) {
  auto [it, added] = rich_.try_emplace(runs, Rich{std::nullopt, kEmpty});
  if (added) it->second.shown = RichTextShown(runs);
  Rich& rich = it->second;
  if (!rich.shown || *rich.shown != text) return IndexOf(text);
  ++uses_;
  if (rich.index == kEmpty) {
    rich.index = static_cast<uint32_t>(Count());
    all_ += runs;
    starts_.push_back(all_.size());
    richItems_.push_back(rich.index);
  }
  return rich.index;
}

void SharedTexts::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(std::max<size_t>(1024, old.size() * 2), Slot{});
  const size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (s.index == kEmpty) continue;
    size_t i = s.hash & mask;
    while (slots_[i].index != kEmpty) i = (i + 1) & mask;
    slots_[i] = s;
  }
}

std::string SharedTexts::Xml() const {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"" +
      std::to_string(uses_) + "\" uniqueCount=\"" + std::to_string(Count()) + "\">";
  size_t nextRich = 0;
  for (uint32_t index = 0; index < Count(); ++index) {
    const std::string_view t = Text(index);
    if (nextRich < richItems_.size() && richItems_[nextRich] == index) {
      // Runs checked by RichTextShown: well-formed inside this root.
      ++nextRich;
      out += "<si>";
      out += t;
      out += "</si>";
      continue;
    }
    const bool keepSpace =
        !t.empty() && (t.front() == ' ' || t.back() == ' ' || t.front() == '\n' ||
                       t.back() == '\n' || t.front() == '\t' || t.back() == '\t');
    out += keepSpace ? "<si><t xml:space=\"preserve\">" : "<si><t>";
    AppendXmlText(out, t);
    out += "</t></si>";
  }
  out += "</sst>";
  return out;
}

SheetParts WriteSheet(const Sheet& sheet, int number, bool selected, int maxDigitWidthPx,
                      StyleTable& styles, SharedTexts& texts, const SheetWriteOptions& options) {
  return Writer(sheet, maxDigitWidthPx, styles, texts, options).Run(number, selected);
}

}  // namespace tezlo
