// The Calc host inside the office: its workbooks follow the documents the user has open.
#include "calc/calc_host.h"

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <osl/file.hxx>

#include "calc/uno_errors.h"
#include "calc/uno_text.h"
#include "host/host_error.h"
#include "host/path_parts.h"

namespace tezlo {

namespace uno = css::uno;

namespace {

// Excel's Workbook.Name: the file name once the document has a file, its window title before.
std::string DocumentName(const uno::Reference<css::sheet::XSpreadsheetDocument>& doc) {
  const uno::Reference<css::frame::XModel> model(doc, uno::UNO_QUERY_THROW);
  const OUString url = model->getURL();
  OUString path;
  if (!url.isEmpty() && osl::FileBase::getSystemPathFromFileURL(url, path) == osl::FileBase::E_None)
    return FileNameOf(ToUtf8(path));
  const uno::Reference<css::frame::XTitle> title(doc, uno::UNO_QUERY);
  return title.is() ? ToUtf8(title->getTitle()) : "Untitled";
}

bool IsOpen(const uno::Reference<css::sheet::XSpreadsheetDocument>& doc) {
  try {
    doc->getSheets();
    return true;
  } catch (const css::lang::DisposedException&) {
    return false;
  }
}

}  // namespace

int32_t CalcHost::FollowDocument(
    const uno::Reference<css::sheet::XSpreadsheetDocument>& current) try {
  if (!current.is()) throw HostError("no spreadsheet document is active");
  for (size_t i = books_.size(); i-- > 0;) {
    if (IsOpen(books_[i].doc)) continue;
    books_.erase(books_.begin() + static_cast<std::ptrdiff_t>(i));
  }
  for (size_t i = 0; i < books_.size(); ++i) {
    if (books_[i].doc != current) continue;
    books_[i].name = DocumentName(current);  // saved under another name since
    active_ = static_cast<int32_t>(i) + 1;
    return active_;
  }
  return AdoptDocument(current, DocumentName(current));
} catch (const uno::Exception& e) {
  ThrowHostError(e);
}

void CalcHost::ReleaseAll() {
  books_.clear();
  active_ = 0;
}

}  // namespace tezlo
