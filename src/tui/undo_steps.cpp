#include "tui/undo_steps.h"

#include <map>

namespace tezlo {
namespace {

Sheet& SheetOf(MemoryHost& host, SheetRef ref) {
  return host.GetWorkbook(ref.book).GetSheet(ref.sheet);
}

class Cells final : public UndoStep {
 public:
  Cells(SheetRef ref, CellImage image) : ref_(ref), image_(std::move(image)) {}
  std::unique_ptr<UndoStep> Apply(MemoryHost& host) override {
    Sheet& sheet = SheetOf(host, ref_);
    CellImage now = CaptureCells(sheet, image_.area);
    auto& columns = sheet.Columns();
    const Area& a = image_.area;
    for (auto it = columns.lower_bound(a.first.col); it != columns.end() && it->first <= a.last.col;
         ++it)
      it->second.Extract(a.first.row, a.last.row);
    for (auto& [col, entries] : image_.columns) columns[col].InsertRun(std::move(entries));
    sheet.DropEmptyColumns();
    return std::make_unique<Cells>(ref_, std::move(now));
  }

 private:
  SheetRef ref_;
  CellImage image_;
};

class Frame final : public UndoStep {
 public:
  Frame(SheetRef ref, Sheet frame) : ref_(ref), frame_(std::move(frame)) {}
  std::unique_ptr<UndoStep> Apply(MemoryHost& host) override {
    Sheet& sheet = SheetOf(host, ref_);
    auto cells = std::exchange(sheet.Columns(), {});
    Sheet now = std::move(sheet);
    sheet = std::move(frame_);
    sheet.Columns() = std::move(cells);
    return std::make_unique<Frame>(ref_, std::move(now));
  }

 private:
  SheetRef ref_;
  Sheet frame_;
};

class Whole final : public UndoStep {
 public:
  Whole(SheetRef ref, Sheet copy) : ref_(ref), copy_(std::move(copy)) {}
  std::unique_ptr<UndoStep> Apply(MemoryHost& host) override {
    std::swap(SheetOf(host, ref_), copy_);
    return std::make_unique<Whole>(ref_, std::move(copy_));
  }

 private:
  SheetRef ref_;
  Sheet copy_;
};

class Shift final : public UndoStep {
 public:
  Shift(SheetRef ref, Area area, bool down) : ref_(ref), area_(area), down_(down) {}
  std::unique_ptr<UndoStep> Apply(MemoryHost& host) override {
    if (down_) {
      host.InsertShiftDown(ref_, area_);
    } else {
      host.DeleteShiftUp(ref_, area_);
    }
    return std::make_unique<Shift>(ref_, area_, !down_);
  }

 private:
  SheetRef ref_;
  Area area_;
  bool down_;
};

class Rows final : public UndoStep {
 public:
  Rows(SheetRef ref, int32_t first, int32_t count, bool insert)
      : ref_(ref), first_(first), count_(count), insert_(insert) {}
  std::unique_ptr<UndoStep> Apply(MemoryHost& host) override {
    Sheet& sheet = SheetOf(host, ref_);
    for (auto& [col, store] : sheet.Columns()) {
      if (insert_) {
        store.ShiftRows(first_, count_);
      } else {
        store.Extract(first_, first_ + count_ - 1);
        store.ShiftRows(first_ + count_, -count_);
      }
    }
    sheet.DropEmptyColumns();
    return std::make_unique<Rows>(ref_, first_, count_, !insert_);
  }

 private:
  SheetRef ref_;
  int32_t first_;
  int32_t count_;
  bool insert_;
};

class Columns final : public UndoStep {
 public:
  Columns(SheetRef ref, int32_t first, int32_t count, bool insert)
      : ref_(ref), first_(first), count_(count), insert_(insert) {}
  std::unique_ptr<UndoStep> Apply(MemoryHost& host) override {
    Sheet& sheet = SheetOf(host, ref_);
    std::map<int32_t, ColumnStore> moved;
    for (auto& [col, store] : sheet.Columns()) {
      if (col < first_) {
        moved.emplace(col, std::move(store));
      } else if (insert_) {
        moved.emplace(col + count_, std::move(store));
      } else if (col >= first_ + count_) {
        moved.emplace(col - count_, std::move(store));
      }
    }
    sheet.Columns() = std::move(moved);
    return std::make_unique<Columns>(ref_, first_, count_, !insert_);
  }

 private:
  SheetRef ref_;
  int32_t first_;
  int32_t count_;
  bool insert_;
};

class InsertSheet final : public UndoStep {
 public:
  InsertSheet(SheetRef at, Sheet content) : at_(at), content_(std::move(content)) {}
  std::unique_ptr<UndoStep> Apply(MemoryHost& host) override {
    Workbook& book = host.GetWorkbook(at_.book);
    const int32_t index = book.AddSheetAfter(at_.sheet - 1);
    book.GetSheet(index) = std::move(content_);
    return RemoveSheetStep(SheetRef{at_.book, index});
  }

 private:
  SheetRef at_;
  Sheet content_;
};

class RemoveSheet final : public UndoStep {
 public:
  explicit RemoveSheet(SheetRef at) : at_(at) {}
  std::unique_ptr<UndoStep> Apply(MemoryHost& host) override {
    Workbook& book = host.GetWorkbook(at_.book);
    Sheet content = std::move(book.GetSheet(at_.sheet));
    book.DeleteSheet(at_.sheet);
    return InsertSheetStep(at_, std::move(content));
  }

 private:
  SheetRef at_;
};

class ReopenWorkbook final : public UndoStep {
 public:
  explicit ReopenWorkbook(std::unique_ptr<Workbook> book) : book_(std::move(book)) {}
  std::unique_ptr<UndoStep> Apply(MemoryHost& host) override {
    return CloseWorkbookStep(host.OpenWorkbook(std::move(book_)));
  }

 private:
  std::unique_ptr<Workbook> book_;
};

class CloseWorkbook final : public UndoStep {
 public:
  explicit CloseWorkbook(int32_t book) : book_(book) {}
  std::unique_ptr<UndoStep> Apply(MemoryHost& host) override {
    std::unique_ptr<Workbook> copy = CopyWorkbook(host.GetWorkbook(book_));
    host.CloseWorkbook(book_, false);
    return ReopenWorkbookStep(std::move(copy));
  }

 private:
  int32_t book_;
};

}  // namespace

CellImage CaptureCells(const Sheet& sheet, const Area& area) {
  CellImage image;
  image.area = area;
  const auto& columns = sheet.Columns();
  for (auto it = columns.lower_bound(area.first.col);
       it != columns.end() && it->first <= area.last.col; ++it) {
    std::vector<ColumnStore::Entry> entries;
    for (ColumnStore::Cursor c = it->second.Seek(area.first.row);
         c.Valid() && c.Row() <= area.last.row; c.Next())
      entries.push_back(ColumnStore::Entry{c.Row(), c.Record()});
    if (!entries.empty()) image.columns.emplace_back(it->first, std::move(entries));
  }
  return image;
}

Sheet CopyFrame(Sheet& sheet) {
  auto cells = std::exchange(sheet.Columns(), {});
  Sheet frame = sheet;
  sheet.Columns() = std::move(cells);
  return frame;
}

std::unique_ptr<Workbook> CopyWorkbook(const Workbook& book) {
  auto copy = std::make_unique<Workbook>(book.Name(), book.Rows(), book.Cols(),
                                         book.MaxDigitWidthPx(), book.SheetCount());
  for (int32_t i = 1; i <= book.SheetCount(); ++i) copy->GetSheet(i) = book.GetSheet(i);
  copy->SetPath(book.Path());
  copy->SetStyles(book.Styles());
  copy->ActivateSheet(book.ActiveSheetIndex());
  return copy;
}

std::unique_ptr<UndoStep> CellsStep(SheetRef sheet, CellImage image) {
  return std::make_unique<Cells>(sheet, std::move(image));
}
std::unique_ptr<UndoStep> FrameStep(SheetRef sheet, Sheet& now) {
  return std::make_unique<Frame>(sheet, CopyFrame(now));
}
std::unique_ptr<UndoStep> SheetStep(SheetRef sheet, Sheet copy) {
  return std::make_unique<Whole>(sheet, std::move(copy));
}
std::unique_ptr<UndoStep> ShiftStep(SheetRef sheet, Area area, bool down) {
  return std::make_unique<Shift>(sheet, area, down);
}
std::unique_ptr<UndoStep> RowsStep(SheetRef sheet, int32_t first, int32_t count, bool insert) {
  return std::make_unique<Rows>(sheet, first, count, insert);
}
std::unique_ptr<UndoStep> ColumnsStep(SheetRef sheet, int32_t first, int32_t count, bool insert) {
  return std::make_unique<Columns>(sheet, first, count, insert);
}
std::unique_ptr<UndoStep> InsertSheetStep(SheetRef at, Sheet content) {
  return std::make_unique<InsertSheet>(at, std::move(content));
}
std::unique_ptr<UndoStep> RemoveSheetStep(SheetRef at) { return std::make_unique<RemoveSheet>(at); }
std::unique_ptr<UndoStep> ReopenWorkbookStep(std::unique_ptr<Workbook> book) {
  return std::make_unique<ReopenWorkbook>(std::move(book));
}
std::unique_ptr<UndoStep> CloseWorkbookStep(int32_t book) {
  return std::make_unique<CloseWorkbook>(book);
}

}  // namespace tezlo
