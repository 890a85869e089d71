// The Calc host: application flags, workbooks (documents) and sheets.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "calc/calc_host.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/XActionLockable.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <osl/file.hxx>
#include <osl/process.h>

#include "calc/uno_text.h"
#include "calc/uno_errors.h"
#include "host/host_error.h"
#include "memory/sheet_names.h"
#include "text/case_fold.h"

namespace tezlo {

namespace uno = css::uno;
using css::beans::PropertyValue;

namespace {

PropertyValue Property(const char* name, const uno::Any& value) {
  PropertyValue p;
  p.Name = OUString::createFromAscii(name);
  p.Value = value;
  return p;
}

uno::Reference<css::container::XIndexAccess> SheetsOf(
    const uno::Reference<css::sheet::XSpreadsheetDocument>& doc) {
  return uno::Reference<css::container::XIndexAccess>(doc->getSheets(), uno::UNO_QUERY_THROW);
}

std::string NameOfSheet(const uno::Reference<css::container::XIndexAccess>& sheets, sal_Int32 i) {
  return ToUtf8(uno::Reference<css::container::XNamed>(sheets->getByIndex(i), uno::UNO_QUERY_THROW)
                    ->getName());
}

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The filter Calc writes a file with, chosen by its extension as Excel's SaveAs does by default.
OUString FilterFor(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "ods") return "calc8";
  if (ext == "xls") return "MS Excel 97";
  if (ext == "csv") return "Text - txt - csv (StarCalc)";
  return "Calc MS Excel 2007 XML";
}

OUString FileUrl(const std::string& path) {
  OUString cwd;
  osl_getProcessWorkingDir(&cwd.pData);
  OUString url;
  if (osl::FileBase::getFileURLFromSystemPath(ToOUString(path), url) != osl::FileBase::E_None) {
    throw HostError("not a file path: " + path);
  }
  OUString absolute;
  if (osl::FileBase::getAbsoluteFileURL(cwd, url, absolute) != osl::FileBase::E_None) {
    throw HostError("not a file path: " + path);
  }
  return absolute;
}

void LockScreen(const uno::Reference<css::sheet::XSpreadsheetDocument>& doc, bool lock) {
  const uno::Reference<css::frame::XModel> model(doc, uno::UNO_QUERY_THROW);
  const uno::Reference<css::document::XActionLockable> actions(doc, uno::UNO_QUERY);
  if (lock) {
    model->lockControllers();
    if (actions.is()) actions->addActionLock();
  } else {
    if (actions.is() && actions->isActionLocked()) actions->removeActionLock();
    if (model->hasControllersLocked()) model->unlockControllers();
  }
}

}  // namespace

CalcHost::CalcHost(OfficeConnection office, CalcSettings settings)
    : office_(std::move(office)), settings_(settings) {}

CalcHost::~CalcHost() {
  try {
    CloseAll();
  } catch (const uno::Exception&) {
    // The office may be gone already; its documents went with it.
  } catch (const HostError&) {
  }
}

void CalcHost::CloseAll() try {
  while (!books_.empty()) CloseWorkbook(WorkbookCount(), false);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

CalcHost::Book& CalcHost::BookAt(int32_t book) try {
  if (book < 1 || book > WorkbookCount()) throw HostError("no such workbook");
  return books_[static_cast<size_t>(book - 1)];
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

CalcHost::Book& CalcHost::ActiveBook() try {
  if (active_ == 0) throw HostError("no workbook is open");
  return BookAt(active_);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

uno::Reference<css::sheet::XSpreadsheetDocument> CalcHost::Document(int32_t book) const try {
  if (book < 1 || book > static_cast<int32_t>(books_.size())) throw HostError("no such workbook");
  return books_[static_cast<size_t>(book - 1)].doc;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

uno::Reference<css::sheet::XSpreadsheet> CalcHost::SheetOf(SheetRef sheet) try {
  const auto sheets = SheetsOf(BookAt(sheet.book).doc);
  if (sheet.sheet < 1 || sheet.sheet > sheets->getCount()) throw HostError("no such sheet");
  return uno::Reference<css::sheet::XSpreadsheet>(sheets->getByIndex(sheet.sheet - 1),
                                                  uno::UNO_QUERY_THROW);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

uno::Reference<css::sheet::XSpreadsheetView> CalcHost::View(int32_t book) try {
  const uno::Reference<css::frame::XModel> model(BookAt(book).doc, uno::UNO_QUERY_THROW);
  return uno::Reference<css::sheet::XSpreadsheetView>(model->getCurrentController(),
                                                      uno::UNO_QUERY_THROW);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

int32_t CalcHost::SheetIndexOf(int32_t book, const OUString& name) try {
  const auto sheets = SheetsOf(BookAt(book).doc);
  const std::string wanted = ToUtf8(name);
  for (sal_Int32 i = 0; i < sheets->getCount(); ++i) {
    if (NameOfSheet(sheets, i) == wanted) return i + 1;
  }
  throw HostError("no sheet named " + wanted);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

// ---- Application ----

int32_t CalcHost::RowsCount() { return ActiveBook().rows; }
int32_t CalcHost::ColumnsCount() { return ActiveBook().cols; }

void CalcHost::SetScreenUpdating(bool on) try {
  if (on == screenUpdating_) return;
  screenUpdating_ = on;
  for (const Book& b : books_) LockScreen(b.doc, !on);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

// ---- Workbooks ----

int32_t CalcHost::AdoptDocument(const uno::Reference<css::sheet::XSpreadsheetDocument>& doc,
                                const std::string& name) try {
  if (!doc.is()) throw HostError("no document to open");
  Book book;
  book.doc = doc;
  book.name = name;
  book.formulas = ExcelFormulas(doc);
  const uno::Reference<css::table::XColumnRowRange> grid(SheetsOf(doc)->getByIndex(0),
                                                         uno::UNO_QUERY_THROW);
  book.rows = grid->getRows()->getCount();
  book.cols = grid->getColumns()->getCount();
  if (!screenUpdating_) LockScreen(doc, true);
  books_.push_back(std::move(book));
  active_ = WorkbookCount();
  return active_;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

int32_t CalcHost::ActiveWorkbook() try {
  ActiveBook();
  return active_;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

int32_t CalcHost::AddWorkbook() try {
  const uno::Reference<css::frame::XComponentLoader> loader(office_.Desktop(),
                                                            uno::UNO_QUERY_THROW);
  const PropertyValue hidden[] = {Property("Hidden", uno::Any(settings_.hidden))};
  const uno::Sequence<PropertyValue> args(hidden, 1);
  const uno::Reference<css::sheet::XSpreadsheetDocument> doc(
      loader->loadComponentFromURL("private:factory/scalc", "_blank", 0, args),
      uno::UNO_QUERY_THROW);
  // Calc names its sheets in the language of its interface; a new workbook here has Excel's.
  const uno::Reference<css::sheet::XSpreadsheets> sheets = doc->getSheets();
  const uno::Reference<css::container::XNamed> first(SheetsOf(doc)->getByIndex(0),
                                                     uno::UNO_QUERY_THROW);
  first->setName("Sheet1");
  for (int32_t i = 2; i <= std::max(settings_.sheetsInNewWorkbook, 1); ++i) {
    sheets->insertNewByName(ToOUString("Sheet" + std::to_string(i)), static_cast<sal_Int16>(i - 1));
  }
  ++booksCreated_;
  const int32_t index = AdoptDocument(doc, "Book" + std::to_string(booksCreated_));
  View(index)->setActiveSheet(
      uno::Reference<css::sheet::XSpreadsheet>(first, uno::UNO_QUERY_THROW));
  return index;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::ActivateWorkbook(int32_t book) try {
  BookAt(book);
  active_ = book;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

std::string CalcHost::WorkbookName(int32_t book) try {
  return BookAt(book).name;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

int32_t CalcHost::FindWorkbook(const std::string& name) try {
  for (size_t i = 0; i < books_.size(); ++i) {
    if (EqualsIgnoringCase(books_[i].name, name)) return static_cast<int32_t>(i) + 1;
  }
  throw HostError("no open workbook has that name");
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::SaveWorkbookAs(int32_t book, const std::string& path) try {
  Book& b = BookAt(book);
  if (FileName(path).empty()) throw HostError("no file name given");
  // Calc would make the missing folders; Excel refuses, and so does the host.
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder))
    throw HostError("no such folder: " + folder.string());
  const uno::Reference<css::frame::XStorable> storable(b.doc, uno::UNO_QUERY_THROW);
  const PropertyValue options[] = {Property("FilterName", uno::Any(FilterFor(path))),
                                   Property("Overwrite", uno::Any(true))};
  const uno::Sequence<PropertyValue> args(options, 2);
  try {
    storable->storeAsURL(FileUrl(path), args);
  } catch (const uno::Exception& e) {
    throw HostError("cannot write " + path + ": " + ToUtf8(e.Message));
  }
  b.name = FileName(path);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::CloseWorkbook(int32_t book, bool saveChanges) try {
  Book& b = BookAt(book);
  if (saveChanges) {
    const uno::Reference<css::frame::XStorable> storable(b.doc, uno::UNO_QUERY_THROW);
    if (!storable->hasLocation()) throw HostError("the workbook has never been saved to a file");
    try {
      storable->store();
    } catch (const uno::Exception& e) {
      throw HostError("cannot save the workbook: " + ToUtf8(e.Message));
    }
  }
  const uno::Reference<css::util::XCloseable> closeable(b.doc, uno::UNO_QUERY_THROW);
  books_.erase(books_.begin() + (book - 1));
  if (active_ == book) {
    active_ = WorkbookCount();
  } else if (active_ > book) {
    --active_;
  }
  closeable->close(true);
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

// ---- Sheets ----

int32_t CalcHost::SheetCount(int32_t book) try {
  return SheetsOf(BookAt(book).doc)->getCount();
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

SheetRef CalcHost::ActiveSheet() try {
  const int32_t book = ActiveWorkbook();
  const uno::Reference<css::container::XNamed> sheet(View(book)->getActiveSheet(),
                                                     uno::UNO_QUERY_THROW);
  return SheetRef{book, SheetIndexOf(book, sheet->getName())};
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

std::string CalcHost::SheetName(SheetRef sheet) try {
  return ToUtf8(
      uno::Reference<css::container::XNamed>(SheetOf(sheet), uno::UNO_QUERY_THROW)->getName());
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::RenameSheet(SheetRef sheet, const std::string& name) try {
  const uno::Reference<css::container::XNamed> named(SheetOf(sheet), uno::UNO_QUERY_THROW);
  // Excel's rules, which are narrower than Calc's: checked here so both refuse alike.
  CheckSheetName(name);
  const auto sheets = SheetsOf(BookAt(sheet.book).doc);
  for (sal_Int32 i = 0; i < sheets->getCount(); ++i) {
    if (i != sheet.sheet - 1 && EqualsIgnoringCase(NameOfSheet(sheets, i), name)) {
      throw HostError("a sheet with that name exists");
    }
  }
  // Calc renames the references to the sheet in every formula itself.
  named->setName(ToOUString(name));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

SheetRef CalcHost::AddSheetAfter(SheetRef sheet) try {
  SheetOf(sheet);
  const auto sheets = SheetsOf(BookAt(sheet.book).doc);
  std::vector<std::string> taken;
  for (sal_Int32 i = 0; i < sheets->getCount(); ++i) taken.push_back(NameOfSheet(sheets, i));
  BookAt(sheet.book)
      .doc->getSheets()
      ->insertNewByName(ToOUString(NextSheetName(taken)), static_cast<sal_Int16>(sheet.sheet));
  const SheetRef added{sheet.book, sheet.sheet + 1};
  ActivateSheet(added);
  return added;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::DeleteSheet(SheetRef sheet) try {
  const uno::Reference<css::container::XNamed> named(SheetOf(sheet), uno::UNO_QUERY_THROW);
  if (SheetCount(sheet.book) == 1) throw HostError("a workbook must keep at least one sheet");
  Book& b = BookAt(sheet.book);
  // The sheet after the deleted one takes its place as active (the one before for the last),
  // as Excel passes it on; chosen selections follow their sheets' new indexes.
  const SheetRef active = sheet.book == active_ ? ActiveSheet() : SheetRef{0, 0};
  b.doc->getSheets()->removeByName(named->getName());
  std::map<int32_t, Book::Chosen> chosen;
  for (auto& [index, selection] : b.chosen) {
    if (index != sheet.sheet) chosen[index > sheet.sheet ? index - 1 : index] = selection;
  }
  b.chosen = std::move(chosen);
  if (active.book == 0) return;
  int32_t next = active.sheet > sheet.sheet ? active.sheet - 1 : active.sheet;
  next = std::min(next, SheetCount(sheet.book));
  View(sheet.book)->setActiveSheet(SheetOf(SheetRef{sheet.book, next}));
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::ActivateSheet(SheetRef sheet) try {
  const uno::Reference<css::sheet::XSpreadsheet> s = SheetOf(sheet);
  View(sheet.book)->setActiveSheet(s);
  active_ = sheet.book;
} catch (const css::uno::Exception& e) {
  ThrowHostError(e);
}

}  // namespace tezlo
