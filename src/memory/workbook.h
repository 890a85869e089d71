// One open workbook: its name and file, its grid size, its sheets in order and which is active.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "memory/sheet.h"

namespace tezlo {

// The cell formats of the file a workbook was read from, kept by the file layer to be written
// back; the engine only holds on to them (cells refer to them by CellRecord::style).
struct FileStyles;
struct KeptPackage;  // the file layer's, see files/kept_content.h

class Workbook {
 public:
  // A workbook of `sheetCount` (1 to 255; less counts as 1) empty sheets Sheet1..SheetN, the
  // first active. HostError for a grid beyond 1048576 rows x 16384 columns.
  Workbook(std::string name, int32_t rows, int32_t cols, int32_t maxDigitWidthPx,
           int32_t sheetCount);

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  // The file it was last saved to or read from; empty for a new workbook.
  const std::string& Path() const { return path_; }
  void SetPath(std::string path) { path_ = std::move(path); }
  int32_t Rows() const { return rows_; }
  int32_t Cols() const { return cols_; }
  int32_t MaxDigitWidthPx() const { return maxDigitWidthPx_; }

  // Sheets by 1-based index; HostError for an index out of range.
  int32_t SheetCount() const { return static_cast<int32_t>(sheets_.size()); }
  Sheet& GetSheet(int32_t index);
  const Sheet& GetSheet(int32_t index) const;
  int32_t ActiveSheetIndex() const { return active_; }
  void ActivateSheet(int32_t index);
  // Index of the sheet with that name (without regard to case), 0 when none.
  int32_t FindSheet(const std::string& name) const;

  // A new empty sheet named "SheetN" right after `after` (0: first); it becomes active.
  // Returns its index.
  int32_t AddSheetAfter(int32_t after);
  // Adds a sheet with the given name at the end (for readers); HostError for a bad or taken name.
  Sheet& AppendSheet(const std::string& name);
  void RenameSheet(int32_t index, const std::string& name);
  // HostError for the last sheet. The active sheet passes to its neighbour.
  void DeleteSheet(int32_t index);
  // Replaces every sheet by new empty ones named `names`, in order, the first active (for
  // readers). HostError for an empty list, a bad name or a repeated one; nothing changes then.
  void ResetSheets(const std::vector<std::string>& names);

  // Cells moved on any sheet since the workbook was read, in order: the file layer's kept
  // defined names follow them when the workbook is written.
  const std::vector<RefShift>& ShiftsSinceRead() const { return shifts_; }
  void NoteShift(const RefShift& shift) { shifts_.push_back(shift); }

  // What the file layer keeps of the file it was read from beyond the engine's model (parts
  // written back as they were); null for a new workbook.
  const std::shared_ptr<const KeptPackage>& Kept() const { return kept_; }
  void SetKept(std::shared_ptr<const KeptPackage> kept) { kept_ = std::move(kept); }

  // ---- Content of the file it was read from that the workbook does not keep ----
  // Charts, pictures, defined names and the like, one short description each, and the file they
  // came from. Saving over that file would lose them; the file layer refuses to.
  const std::vector<std::string>& UnmodelledContent() const { return unmodelled_; }
  const std::string& UnmodelledSource() const { return unmodelledSource_; }
  void SetUnmodelledContent(std::string source, std::vector<std::string> what) {
    unmodelledSource_ = std::move(source);
    unmodelled_ = std::move(what);
  }

  // The file's cell formats (none for a new workbook, which gets generated ones).
  const std::shared_ptr<const FileStyles>& Styles() const { return styles_; }
  void SetStyles(std::shared_ptr<const FileStyles> styles) { styles_ = std::move(styles); }

 private:
  void CheckIndex(int32_t index) const;

  std::string name_;
  std::string path_;
  int32_t rows_;
  int32_t cols_;
  int32_t maxDigitWidthPx_;
  std::vector<std::unique_ptr<Sheet>> sheets_;
  int32_t active_ = 1;
  std::vector<std::string> unmodelled_;
  std::string unmodelledSource_;
  std::vector<RefShift> shifts_;
  std::shared_ptr<const FileStyles> styles_;
  std::shared_ptr<const KeptPackage> kept_;
};

}  // namespace tezlo
