// Workbooks written by openpyxl with what the engine does not model (charts, pictures, names,
// conditional formats, validation, hyperlinks, filters, panes, tables, print settings, sheet
// settings, document properties, macros) are saved over themselves and come back whole: the
// parts not rewritten byte for byte, the rest equal after canonicalising the XML, and openpyxl
// sees the same features (check_kept_book.py compares).
#include <gtest/gtest.h>

#include <filesystem>

#include "files/workbook_file.h"
#include "memory/cell_shift.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::ReadFileBytes;
using testing::RunTestScript;
using testing::ScratchDir;

class KeptContent : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    corpus_ = new ScratchDir();
    status_ = RunTestScript("make_feature_books.py", "'" + corpus_->Path("books") + "'",
                            corpus_->Path("log"));
  }
  // A corpus that could not be made fails every test (a failure in SetUpTestSuite would only
  // skip them).
  void SetUp() override { ASSERT_EQ(status_, 0) << ReadFileBytes(corpus_->Path("log")); }
  static inline int status_ = -1;
  static void TearDownTestSuite() {
    delete corpus_;
    corpus_ = nullptr;
  }
  static std::vector<std::filesystem::path> Books() {
    std::vector<std::filesystem::path> books;
    for (const auto& entry : std::filesystem::directory_iterator(corpus_->Path("books")))
      books.push_back(entry.path());
    std::sort(books.begin(), books.end());
    return books;
  }
  // Copies `book` into `dir`, lets `change` work on it loaded, saves it over itself and compares.
  template <class Change>
  static void SaveInPlaceAndCompare(const std::filesystem::path& book, const ScratchDir& dir,
                                    const char* mode, Change&& change) {
    SCOPED_TRACE(book.filename().string());
    const std::string copy = dir.Path(book.filename().string());
    std::filesystem::copy_file(book, copy, std::filesystem::copy_options::overwrite_existing);
    auto wb = LoadWorkbook(copy);
    EXPECT_TRUE(wb->UnmodelledContent().empty()) << wb->UnmodelledContent().front();
    change(*wb);
    SaveWorkbook(*wb, copy);
    const std::string args = "'" + book.string() + "' '" + copy + "' " + mode;
    EXPECT_EQ(RunTestScript("check_kept_book.py", args, dir.Path("log")), 0)
        << ReadFileBytes(dir.Path("log"));
  }

  static ScratchDir* corpus_;
};

ScratchDir* KeptContent::corpus_ = nullptr;

TEST_F(KeptContent, ALoadAndASaveInPlaceKeepEveryFeature) {
  ScratchDir dir;
  const auto books = Books();
  ASSERT_EQ(books.size(), 14u);
  for (const auto& book : books) SaveInPlaceAndCompare(book, dir, "same", [](Workbook&) {});
}

TEST_F(KeptContent, AfterCellsMoveAndChangeTheFileStillOpensWithEveryFeature) {
  ScratchDir dir;
  for (const auto& book : Books()) {
    SaveInPlaceAndCompare(book, dir, "changed", [](Workbook& wb) {
      Sheet& sheet = wb.GetSheet(1);
      InsertCellsShiftDown(sheet, Area::Of(2, 1, 4, 3));  // "+3" in a band of three columns
      sheet.Edit({2, 1}, [](CellRecord& r) { r.value = Value::Text("新的一行"); });
      sheet.Edit({30, 2}, [](CellRecord& r) { r.Extras().comment = "a new comment"; });
      wb.AddSheetAfter(wb.SheetCount());
      wb.ActivateSheet(1);
    });
  }
}

}  // namespace
}  // namespace tezlo
