// SaveWorkbook: the package's parts built in memory, zipped into a temporary file in the
// target's folder, flushed to disk, then renamed over the target.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "files/file_paths.h"
#include "files/sheet_writer.h"
#include "files/style_table.h"
#include "files/workbook_file.h"
#include "files/xml_text.h"
#include "files/zip_writer.h"

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

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& s : items) out += (out.empty() ? "" : ", ") + s;
  return out;
}

std::string Errno() { return std::strerror(errno); }

// Flushes a file (or a folder's entry list) to the disk.
bool Sync(const std::string& path, bool folder) {
  const int fd = open(path.c_str(), (folder ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = fsync(fd) == 0;
  close(fd);
  return ok;
}

}  // namespace

void SaveWorkbook(const Workbook& book, const std::string& path) {
  const std::string what = "'" + path + "'";
  if (FileNameOf(path).empty()) throw FileError("cannot save " + what + ": no file name given");
  if (!book.UnmodelledContent().empty() && SameFile(path, book.UnmodelledSource())) {
    throw FileError(what + " holds content Tezlo does not keep (" + Joined(book.UnmodelledContent()) +
                    "); saving over it would lose that, so save the workbook under another name");
  }
  struct stat target {};
  const bool exists = stat(path.c_str(), &target) == 0;
  if (exists && S_ISDIR(target.st_mode)) throw FileError("cannot save " + what + ": it is a folder");

  const std::string folder = FolderOf(path);
  std::string temp = folder + "/." + FileNameOf(path) + ".tezlo-XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) throw FileError("cannot save " + what + ": cannot create a file in '" + folder + "': " + Errno());
  close(fd);
  temp = name.data();
  try {
    ZipWriter zip;
    try {
      BuildPackage(book, zip);
    } catch (const std::bad_alloc&) {
      throw FileError("cannot save " + what + ": not enough memory");
    }
    zip.Write(temp, what);
    // The new file gets the permissions of the one it replaces (a new one those of mkstemp's
    // owner-only file, widened by the umask as a newly created file would be).
    mode_t mode = 0;
    if (exists) {
      mode = target.st_mode & 07777;
    } else {
      const mode_t mask = umask(0);
      umask(mask);
      mode = 0666 & ~mask;
    }
    if (chmod(temp.c_str(), mode) != 0) throw FileError("cannot save " + what + ": " + Errno());
    if (!Sync(temp, false)) throw FileError("cannot save " + what + ": cannot flush it to disk: " + Errno());
    if (rename(temp.c_str(), path.c_str()) != 0) throw FileError("cannot save " + what + ": " + Errno());
  } catch (...) {
    unlink(temp.c_str());
    throw;
  }
  Sync(folder, true);
}

}  // namespace tezlo
