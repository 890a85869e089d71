// SaveWorkbook: the package's parts built and zipped in memory, then handed to ReplaceFile.
#include <sys/stat.h>

#include <new>
#include <vector>

#include "files/file_paths.h"
#include "files/file_replace.h"
#include "files/office_lock.h"
#include "files/sheet_writer.h"
#include "files/style_table.h"
#include "files/workbook_file.h"
#include "files/xml_text.h"
#include "files/zip_writer.h"
#include "memory/display_text.h"

namespace tezlo {

namespace {

constexpr const char* kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kRelsNs = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* kRelTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr const char* kTypePrefix = "application/vnd.openxmlformats-officedocument.spreadsheetml.";

std::string Relationship(const std::string& id, const std::string& type, const std::string& target) {
  return "<Relationship Id=\"" + id + "\" Type=\"" + kRelTypes + type + "\" Target=\"" + target + "\"/>";
}

std::string Rels(const std::string& body) {
  return std::string(kXmlHead) + "<Relationships xmlns=\"" + kRelsNs + "\">" + body + "</Relationships>";
}

std::string Override(const std::string& part, const std::string& type) {
  return "<Override PartName=\"/" + part + "\" ContentType=\"" + kTypePrefix + type + "\"/>";
}

void BuildPackage(const Workbook& book, ZipWriter& zip) {
  StyleTable styles = book.Styles() ? StyleTable(book.Styles()) : StyleTable();
  SharedTexts texts;
  std::string types = std::string(kXmlHead) +
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Default Extension=\"vml\" ContentType=\"application/vnd.openxmlformats-officedocument.vmlDrawing\"/>" +
      Override("xl/workbook.xml", "sheet.main+xml") + Override("xl/styles.xml", "styles+xml") +
      Override("xl/sharedStrings.xml", "sharedStrings+xml");
  std::string sheets;
  std::string bookRels;
  for (int32_t i = 1; i <= book.SheetCount(); ++i) {
    const Sheet& sheet = book.GetSheet(i);
    const std::string n = std::to_string(i);
    SheetParts parts = WriteSheet(sheet, i, i == book.ActiveSheetIndex(), book.MaxDigitWidthPx(), styles, texts);
    const std::string part = "xl/worksheets/sheet" + n + ".xml";
    zip.Add(part, std::move(parts.worksheet));
    types += Override(part, "worksheet+xml");
    if (!parts.comments.empty()) {
      zip.Add("xl/comments" + n + ".xml", std::move(parts.comments));
      zip.Add("xl/drawings/vmlDrawing" + n + ".vml", std::move(parts.drawing));
      types += Override("xl/comments" + n + ".xml", "comments+xml");
      zip.Add("xl/worksheets/_rels/sheet" + n + ".xml.rels",
              Rels(Relationship("rId1", "comments", "../comments" + n + ".xml") +
                   Relationship("rId2", "vmlDrawing", "../drawings/vmlDrawing" + n + ".vml")));
    }
    sheets += "<sheet name=\"";
    AppendXmlText(sheets, sheet.Name(), true);
    sheets += "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
    bookRels += Relationship("rId" + n, "worksheet", "worksheets/sheet" + n + ".xml");
  }
  const std::string stylesId = "rId" + std::to_string(book.SheetCount() + 1);
  const std::string textsId = "rId" + std::to_string(book.SheetCount() + 2);
  bookRels += Relationship(stylesId, "styles", "styles.xml") + Relationship(textsId, "sharedStrings", "sharedStrings.xml");
  zip.Add("xl/workbook.xml",
          std::string(kXmlHead) +
              "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
              "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
              "<bookViews><workbookView activeTab=\"" +
              std::to_string(book.ActiveSheetIndex() - 1) + "\"/></bookViews><sheets>" + sheets +
              "</sheets><calcPr calcId=\"0\" fullCalcOnLoad=\"1\"/></workbook>");
  zip.Add("xl/_rels/workbook.xml.rels", Rels(bookRels));
  zip.Add("xl/styles.xml", styles.StylesXml());
  zip.Add("xl/sharedStrings.xml", texts.Xml());
  zip.Add("_rels/.rels", Rels(Relationship("rId1", "officeDocument", "xl/workbook.xml")));
  zip.Add("[Content_Types].xml", types + "</Types>");
}

bool SameFile(const std::string& a, const std::string& b) {
  if (AbsolutePath(a) == AbsolutePath(b)) return true;
  struct stat sa {};
  struct stat sb {};
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// At most ten items, then how many more there are.
std::string ListForMessage(const std::vector<std::string>& items) {
  constexpr size_t kShown = 10;
  std::string out;
  for (size_t i = 0; i < items.size() && i < kShown; ++i) out += (i == 0 ? "" : ", ") + items[i];
  if (items.size() > kShown) out += " and " + GroupThousands(std::to_string(items.size() - kShown)) + " more";
  return out;
}

// The zipped package; `what` names the workbook in messages.
std::string PackageBytes(const Workbook& book, const std::string& what) {
  try {
    ZipWriter zip;
    BuildPackage(book, zip);
    return zip.Bytes(what);
  } catch (const std::bad_alloc&) {
    throw FileError("cannot save " + what + ": not enough memory");
  }
}

}  // namespace

std::string SaveWorkbookToBytes(const Workbook& book) { return PackageBytes(book, "'" + book.Name() + "'"); }

SaveReport SaveWorkbook(const Workbook& book, const std::string& path, const SaveOptions& options) {
  const std::string what = "'" + path + "'";
  if (FileNameOf(path).empty()) throw FileError("cannot save " + what + ": no file name given");
  if (!book.UnmodelledContent().empty() && SameFile(path, book.UnmodelledSource())) {
    throw FileError(what + " holds content Tezlo does not keep (" + ListForMessage(book.UnmodelledContent()) +
                    "); saving over it would lose that, so save the workbook under another name");
  }
  RefuseWhenLockedByOthers(path);
  const std::string bytes = PackageBytes(book, what);
  ReplaceOptions replace;
  replace.force = options.force;
  return SaveReport{ReplaceFile(path, bytes, what, replace)};
}

}  // namespace tezlo
