#include "memory/workbook.h"

#include "host/grid_limits.h"

#include <algorithm>

#include "host/host_error.h"
#include "text/case_fold.h"
#include "memory/sheet_names.h"

namespace tezlo {

namespace {

constexpr int32_t kMaxRows = kGridRows;
constexpr int32_t kMaxCols = kGridCols;
constexpr int32_t kMaxNewSheets = 255;

}  // namespace

Workbook::Workbook(std::string name, int32_t rows, int32_t cols, int32_t maxDigitWidthPx,
                   int32_t sheetCount)
    : name_(std::move(name)), rows_(rows), cols_(cols), maxDigitWidthPx_(maxDigitWidthPx) {
  if (rows < 1 || rows > kMaxRows || cols < 1 || cols > kMaxCols) {
    throw HostError("sheet size outside 1 x 1 to " + std::to_string(kMaxRows) + " x " +
                    std::to_string(kMaxCols));
  }
  if (sheetCount > kMaxNewSheets) throw HostError("too many sheets for a new workbook");
  const int32_t count = std::max(sheetCount, 1);
  for (int32_t i = 1; i <= count; ++i) {
    sheets_.push_back(std::make_unique<Sheet>("Sheet" + std::to_string(i), rows, cols));
  }
}

void Workbook::CheckIndex(int32_t index) const {
  if (index < 1 || index > SheetCount()) throw HostError("no such sheet");
}

Sheet& Workbook::GetSheet(int32_t index) {
  CheckIndex(index);
  return *sheets_[static_cast<size_t>(index - 1)];
}

const Sheet& Workbook::GetSheet(int32_t index) const {
  CheckIndex(index);
  return *sheets_[static_cast<size_t>(index - 1)];
}

void Workbook::ActivateSheet(int32_t index) {
  CheckIndex(index);
  active_ = index;
}

int32_t Workbook::FindSheet(const std::string& name) const {
  for (size_t i = 0; i < sheets_.size(); ++i) {
    if (EqualsIgnoringCase(sheets_[i]->Name(), name)) return static_cast<int32_t>(i) + 1;
  }
  return 0;
}

int32_t Workbook::AddSheetAfter(int32_t after) {
  if (after != 0) CheckIndex(after);
  std::vector<std::string> names;
  for (const auto& s : sheets_) names.push_back(s->Name());
  sheets_.insert(sheets_.begin() + after,
                 std::make_unique<Sheet>(NextSheetName(names), rows_, cols_));
  active_ = after + 1;
  return active_;
}

Sheet& Workbook::AppendSheet(const std::string& name) {
  CheckSheetName(name);
  if (FindSheet(name) != 0) throw HostError("a sheet with that name exists");
  sheets_.push_back(std::make_unique<Sheet>(name, rows_, cols_));
  return *sheets_.back();
}

void Workbook::RenameSheet(int32_t index, const std::string& name) {
  CheckIndex(index);
  CheckSheetName(name);
  const int32_t other = FindSheet(name);
  if (other != 0 && other != index) throw HostError("a sheet with that name exists");
  sheets_[static_cast<size_t>(index - 1)]->SetName(name);
}

void Workbook::DeleteSheet(int32_t index) {
  CheckIndex(index);
  if (SheetCount() == 1) throw HostError("a workbook must keep at least one sheet");
  sheets_.erase(sheets_.begin() + (index - 1));
  if (active_ > index || active_ > SheetCount()) --active_;
}

void Workbook::ResetSheets(const std::vector<std::string>& names) {
  if (names.empty()) throw HostError("a workbook must keep at least one sheet");
  std::vector<std::unique_ptr<Sheet>> sheets;
  for (const std::string& name : names) {
    CheckSheetName(name);
    for (const auto& s : sheets) {
      if (EqualsIgnoringCase(s->Name(), name)) throw HostError("a sheet with that name exists");
    }
    sheets.push_back(std::make_unique<Sheet>(name, rows_, cols_));
  }
  sheets_ = std::move(sheets);
  active_ = 1;
}

}  // namespace tezlo
