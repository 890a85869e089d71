// Reads one worksheet part into a Sheet: cells with their values, formulas and formats, column
// and row sizes and formats, merged areas and the window's view. The worksheet's other elements,
// the view's panes and settings, and the attributes of rows and cells the engine does not use
// are kept as the file's bytes (kept_content.h); what cannot be kept is reported.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "files/kept_content.h"
#include "files/shared_formulas.h"
#include "files/style_reader.h"
#include "files/xml_reader.h"
#include "memory/sheet.h"

namespace tezlo {

struct SheetReadContext {
  const std::vector<CellStyle>* styles;
  const std::vector<std::string>* sharedStrings;
  std::set<std::string>* unmodelled;
  int64_t* cellBudget;      // cells the workbook may still hold
  int64_t* memoryBudget;    // bytes of memory the workbook may still take, about
  int64_t memoryLimit = 0;  // the whole budget, for the message
  int32_t maxDigitWidthPx = 7;
  bool date1904 = false;
  std::string what;           // "sheet 'Name' of book.xlsx", for messages
  std::string_view document;  // the part's bytes, which the kept elements are cut from
  KeptSheetXml* kept = nullptr;
  // The runs of the shared texts that have formatted runs, by index (shorter, or null, where
  // they have none).
  const std::vector<std::shared_ptr<const std::string>>* sharedRuns = nullptr;
};

class SheetReader final : public XmlHandler {
 public:
  SheetReader(Sheet& sheet, SheetReadContext context);

  void Start(std::string_view ns, std::string_view name, const XmlAttrs& attrs) override;
  void End(std::string_view ns, std::string_view name) override;
  void Text(std::string_view text) override;

  // Moves the cells read into the sheet; call once the part is read.
  void Finish();
  // The relationship id of the legacy drawing holding the comment boxes, if any.
  const std::string& LegacyDrawingId() const { return legacyDrawingId_; }
  bool TabSelected() const { return tabSelected_; }

 private:
  void StartCell(const XmlAttrs& attrs);
  void EndCell();
  void StartRow(const XmlAttrs& attrs);
  void EndRow();
  void ReadColumn(const XmlAttrs& attrs);
  void ReadSelection(const XmlAttrs& attrs);
  void ReadArray(CellRecord& r);
  const CellStyle& Style(int index);
  void Spend(int64_t cells);
  void Put(int32_t row, int32_t col, CellRecord record);
  // A cell holding only a format: it joins its column's run when it continues it.
  void PutFormat(int32_t row, int32_t col, const CellFormat& format);
  void FlushRun(int32_t col);
  // The format a cell of `style` has in column `col`, as the sheet keeps it.
  CellFormat FormatFor(int style, int32_t col);
  // Takes `bytes` from the memory budget; FileError once it is spent.
  void Charge(int64_t bytes);
  [[noreturn]] void Fail(const std::string& why) const;
  std::string_view Bytes(int64_t begin, int64_t end) const;
  // The attributes of the current start tag other than `used`, as written.
  std::vector<RawAttr> OtherAttrs(std::initializer_list<std::string_view> used) const;
  void StartKept(std::string_view name, size_t depth, const XmlAttrs& attrs);
  void EndKept(std::string_view name, size_t depth);

  Sheet& sheet_;
  SheetReadContext ctx_;
  std::vector<std::string> path_;
  std::vector<std::vector<ColumnStore::Entry>> columns_;  // by column, rows ascending
  struct PendingRun {
    int32_t first = 0;
    int32_t last = -1;  // none when last < first
    CellFormat format;
  };
  std::vector<PendingRun> runs_;                         // by column: the run being read
  std::vector<const std::string*> internedFormats_;      // by style index, once looked up
  std::vector<std::optional<CellFormat>> plainFormats_;  // by style index, in a plain column
  bool ordered_ = true;
  SharedFormulas shared_;
  ArrayExtent arrayReach_;  // the largest array formulas read

  // The row being read.
  int32_t row_ = 0;
  int rowStyle_ = -1;  // a row format for the cells the row does not list
  std::vector<int32_t> rowCols_;

  // The cell being read.
  bool inCell_ = false;
  Cell cell_{};
  int cellStyle_ = 0;
  std::string type_;
  std::string value_;
  std::string formula_;
  std::string formulaType_;
  std::string formulaGroup_;  // a shared formula's si and ref (an array formula's ref too)
  std::string formulaRange_;
  bool formulaHasText_ = false;
  bool inValue_ = false;
  bool inFormula_ = false;
  bool inInlineText_ = false;
  // An inline text's content, and whether it has runs (kept as written, as a shared text's).
  int64_t inlineBegin_ = 0;
  bool inlineRuns_ = false;
  std::string_view inlineXml_;
  int32_t lastCol_ = 0;

  bool defaultsApplied_ = false;
  bool sawView_ = false;
  bool tabSelected_ = false;
  std::string activePane_;
  std::string legacyDrawingId_;
  unsigned lostFormatting_ = 0;

  // Where the root's current child (and the first sheetView's pane or selection) started.
  int64_t childBegin_ = 0;
  int64_t innerBegin_ = 0;
  int order_ = 0;
  bool inViews_ = false;  // inside sheetViews
  bool inFirstView_ = false;
  std::string selectionPane_;
};

}  // namespace tezlo
