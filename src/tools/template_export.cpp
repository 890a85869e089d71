// "*780": the used range of the sheet "+1" copied to A1 of a new one-sheet workbook, which is
// saved as the template ExcelVarelto.xls and closed.
#include <string>

#include "dispatch/context.h"
#include "dispatch/error_modes.h"
#include "host/host_error.h"
#include "tools/data_tools.h"

namespace tezlo {
namespace {

constexpr const char* kTemplateSheet = "+1";
constexpr const char* kTemplateFile = "ExcelVarelto.xls";

SheetRef FindSheet(Host& host, int32_t book, const std::string& name) {
  for (int32_t i = 1; i <= host.SheetCount(book); ++i) {
    if (host.SheetName({book, i}) == name) return {book, i};
  }
  throw HostError("Subscript out of range");
}

// The folder and the file name joined with the separator the folder itself uses.
std::string TemplatePath(const std::string& folder) {
  const bool backslashes =
      folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
  const char separator = backslashes ? '\\' : '/';
  if (folder.empty() || folder.back() == '/' || folder.back() == '\\')
    return folder + kTemplateFile;
  return folder + separator + kTemplateFile;
}

}  // namespace

void CopyTemplateSheets(Context& ctx) {
  Host& host = ctx.host;
  ScreenUpdatingGuard screen(host);
  AlertsGuard alerts(host);

  // Nothing is trapped: a failing step ends the tool, and a template that could not be saved
  // stays open, unsaved.
  const int32_t source = host.ActiveWorkbook();
  const SheetRef plus1 = FindSheet(host, source, kTemplateSheet);
  const Area used = host.UsedRange(plus1);

  const int32_t book = host.AddWorkbook();
  const SheetRef sheet = host.ActiveSheet();
  host.Copy(plus1, used, sheet, Cell{1, 1});
  host.RenameSheet(sheet, kTemplateSheet);
  // Every other sheet goes, whatever a new workbook's sheets are called and however many it
  // has, so that the template holds the one sheet "+1".
  for (int32_t i = host.SheetCount(book); i >= 1; --i) {
    if (i != sheet.sheet) host.DeleteSheet({book, i});
  }

  host.SaveWorkbookAs(book, TemplatePath(ctx.system.TemplateFolder()));
  // Closed as the workbook just made, not looked up by its file name: another open workbook of
  // that name must not be the one closed.
  host.CloseWorkbook(book, true);
  host.ActivateWorkbook(source);
}

}  // namespace tezlo
