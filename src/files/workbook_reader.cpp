// LoadWorkbook: the package's parts read in order (relationships, workbook, styles, shared
// texts, then each worksheet with its comments), and every part the engine does not read
// reported as content a save would lose.
#include <sys/stat.h>

#include <array>
#include <map>
#include <new>
#include <set>
#include <stdexcept>
#include <string_view>

#include "files/package_parts.h"
#include "files/sheet_reader.h"
#include "files/style_reader.h"
#include "files/workbook_file.h"
#include "files/zip_package.h"
#include "files/file_paths.h"
#include "host/host_error.h"
#include "text/valid_utf8.h"

namespace tezlo {

namespace {

std::string BaseName(const std::string& path) { return FileNameOf(path); }

bool StartsWith(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(s[i]) != lower(prefix[i])) return false;
  }
  return true;
}

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && StartsWith(s.substr(s.size() - suffix.size()), suffix);
}

// What a part the reader did not use holds, for the user; empty for parts safe to leave out
// (they are written afresh or only describe other parts).
std::string DescribePart(std::string_view part) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 22> kFolders = {{
      {"xl/charts/", "charts"},
      {"xl/chartsheets/", "chart sheets"},
      {"xl/dialogsheets/", "dialog sheets"},
      {"xl/macrosheets/", "macro sheets"},
      {"xl/drawings/", "drawings (pictures, charts or shapes)"},
      {"xl/media/", "pictures"},
      {"xl/pivotTables/", "pivot tables"},
      {"xl/pivotCache/", "pivot tables"},
      {"xl/tables/", "tables"},
      {"xl/externalLinks/", "external links"},
      {"xl/printerSettings/", "print settings"},
      {"xl/threadedComments/", "threaded comments"},
      {"xl/persons/", "threaded comments"},
      {"xl/slicers/", "slicers"},
      {"xl/slicerCaches/", "slicers"},
      {"xl/timelines/", "timelines"},
      {"xl/timelineCaches/", "timelines"},
      {"xl/queryTables/", "data connections"},
      {"xl/embeddings/", "embedded objects"},
      {"xl/activeX/", "embedded objects"},
      {"xl/ctrlProps/", "form controls"},
      {"xl/richData/", "rich data types"},
  }};
  if (EndsWith(part, "/") || EndsWith(part, ".rels")) return {};
  if (StartsWith(part, "[Content_Types].xml") || StartsWith(part, "xl/theme/") ||
      StartsWith(part, "xl/calcChain.xml") || StartsWith(part, "docProps/app.xml") ||
      StartsWith(part, "docProps/core.xml") || StartsWith(part, "docProps/thumbnail")) {
    return {};
  }
  if (EndsWith(part, "vbaProject.bin") || EndsWith(part, "vbaProjectSignature.bin")) return "macros";
  for (const auto& [folder, description] : kFolders) {
    if (StartsWith(part, folder)) return std::string(description);
  }
  if (StartsWith(part, "xl/drawings/vmlDrawing") || EndsWith(part, ".vml")) return "form controls (legacy drawings)";
  if (StartsWith(part, "xl/connections.xml")) return "data connections";
  if (StartsWith(part, "customXml/")) return "custom XML data";
  if (StartsWith(part, "docProps/custom.xml")) return "custom document properties";
  if (StartsWith(part, "xl/metadata.xml")) return "cell metadata (dynamic arrays)";
  return "other content (" + std::string(part) + ")";
}

const Relationship* FindRel(const std::vector<Relationship>& rels, std::string_view id) {
  for (const Relationship& r : rels) {
    if (r.id == id) return &r;
  }
  return nullptr;
}

const Relationship* FindRelOfType(const std::vector<Relationship>& rels, std::string_view type) {
  for (const Relationship& r : rels) {
    if (r.type == type && !r.external) return &r;
  }
  return nullptr;
}

class Loader {
 public:
  Loader(ZipPackage& package, std::string what, const LoadOptions& options)
      : pkg_(package),
        what_(std::move(what)),
        options_(options),
        cellBudget_(options.maxCells),
        memoryBudget_(options.maxMemoryBytes) {}

  std::unique_ptr<Workbook> Run(const std::string& name);
  // What the workbook will not keep, found by Run.
  std::vector<std::string> Unmodelled() const { return {unmodelled_.begin(), unmodelled_.end()}; }

 private:
  // The relationships of a part (none when its relationships part is missing).
  std::vector<Relationship> ReadRelationships(const std::string& sourcePart) {
    const int64_t index = pkg_.Find(RelationshipsPartOf(sourcePart));
    if (index < 0) return {};
    used_.insert(index);
    RelationshipsReader reader(sourcePart);
    pkg_.ParseXml(index, reader);
    return std::move(reader.Result());
  }
  int64_t Require(const std::string& part, const std::string& role) {
    const int64_t index = pkg_.Find(part);
    if (index < 0) throw FileError(what_ + " is damaged: its " + role + " (" + part + ") is missing");
    used_.insert(index);
    return index;
  }

  ZipPackage& pkg_;
  std::string what_;
  const LoadOptions& options_;
  int64_t cellBudget_;
  int64_t memoryBudget_;
  std::set<int64_t> used_;
  std::set<std::string> unmodelled_;
};

std::unique_ptr<Workbook> Loader::Run(const std::string& name) {
  const std::vector<Relationship> rootRels = ReadRelationships("");
  const Relationship* office = FindRelOfType(rootRels, "officeDocument");
  if (office == nullptr) throw FileError(what_ + " is not an xlsx workbook (it has no workbook part)");
  const std::string workbookPart = office->target;
  if (EndsWith(workbookPart, ".bin")) throw FileError(what_ + " is a binary (xlsb) workbook, which Tezlo does not read");

  WorkbookPartReader book(unmodelled_);
  pkg_.ParseXml(Require(workbookPart, "workbook part"), book);
  const std::vector<Relationship> bookRels = ReadRelationships(workbookPart);

  std::vector<CellStyle> styles(1);
  std::shared_ptr<const FileStyles> keptStyles;
  if (const Relationship* r = FindRelOfType(bookRels, "styles")) {
    StyleReader reader;
    std::string xml;
    pkg_.ParseXml(Require(r->target, "styles part"), reader, &xml);
    styles = reader.Resolve();
    keptStyles = reader.Keep(std::move(xml));
    // Without a list of cell formats there is nothing to number cells by: the part is written
    // afresh.
    if (keptStyles->xfs.empty()) keptStyles.reset();
  }
  std::vector<std::string> sharedStrings;
  if (const Relationship* r = FindRelOfType(bookRels, "sharedStrings")) {
    SharedStringsReader reader(sharedStrings, unmodelled_);
    pkg_.ParseXml(Require(r->target, "shared texts"), reader);
    for (const std::string& text : sharedStrings) memoryBudget_ -= static_cast<int64_t>(sizeof(std::string) + text.size());
    if (memoryBudget_ < 0) {
      throw FileError(what_ + " is refused: its texts would take more than " +
                      std::to_string(options_.maxMemoryBytes >> 20) +
                      " MB of memory (the bound can be raised with --max-memory)");
    }
  }

  // Worksheets only; other kinds of sheet are reported (as their parts) and left out.
  std::vector<std::string> names;
  std::vector<std::string> parts;
  int32_t active = 1;
  for (size_t i = 0; i < book.sheets.size(); ++i) {
    const SheetEntry& s = book.sheets[i];
    const Relationship* r = FindRel(bookRels, s.relId);
    if (r == nullptr || r->external) throw FileError(what_ + " is damaged: sheet '" + s.name + "' has no part");
    if (r->type != "worksheet") continue;
    if (static_cast<int32_t>(i) == book.activeTab) active = static_cast<int32_t>(names.size()) + 1;
    names.push_back(s.name);
    parts.push_back(r->target);
  }
  if (names.empty()) throw FileError(what_ + " holds no worksheet");

  auto wb = std::make_unique<Workbook>(name, options_.rows, options_.cols, options_.maxDigitWidthPx, 1);
  try {
    wb->ResetSheets(names);
  } catch (const HostError& e) {
    throw FileError(what_ + " has a bad sheet name (" + e.what() + ")");
  }
  for (size_t i = 0; i < parts.size(); ++i) {
    Sheet& sheet = wb->GetSheet(static_cast<int32_t>(i) + 1);
    SheetReadContext ctx{&styles, &sharedStrings, &unmodelled_, &cellBudget_, &memoryBudget_,
                         options_.maxMemoryBytes, options_.maxDigitWidthPx, book.date1904,
                         "sheet '" + names[i] + "' of " + what_};
    SheetReader reader(sheet, ctx);
    pkg_.ParseXml(Require(parts[i], "sheet '" + names[i] + "'"), reader);
    reader.Finish();
    const std::vector<Relationship> sheetRels = ReadRelationships(parts[i]);
    if (const Relationship* c = FindRelOfType(sheetRels, "comments")) {
      CommentsReader comments("comments of " + ctx.what);
      pkg_.ParseXml(Require(c->target, "comments"), comments);
      for (CommentEntry& e : comments.Result()) {
        if (!sheet.Contains(e.cell)) throw FileError(ctx.what + ": a comment lies outside the grid");
        sheet.Edit(e.cell, [&e](CellRecord& r) { r.Extras().comment = std::move(e.text); });
      }
      // The boxes the comments are drawn in are written afresh with them.
      if (const Relationship* v = FindRel(sheetRels, reader.LegacyDrawingId())) {
        if (const int64_t index = pkg_.Find(v->target); index >= 0) used_.insert(index);
      }
    }
  }
  wb->ActivateSheet(active);
  wb->SetStyles(std::move(keptStyles));

  for (size_t i = 0; i < pkg_.Names().size(); ++i) {
    if (used_.count(static_cast<int64_t>(i)) != 0) continue;
    const std::string description = DescribePart(pkg_.Names()[i]);
    if (!description.empty()) unmodelled_.insert(description);
  }
  return wb;
}

ZipLimits LimitsOf(const LoadOptions& options) {
  return ZipLimits{options.maxPartBytes, options.maxPackageBytes, options.maxParts};
}

// `source` identifies the file for the refusal to save over it (see SaveWorkbook).
std::unique_ptr<Workbook> Load(ZipPackage& package, const std::string& what, const std::string& path,
                               const std::string& source, const LoadOptions& options) {
  try {
    Loader loader(package, what, options);
    auto wb = loader.Run(ValidUtf8(BaseName(path)));  // a file name is bytes; the workbook's name is text
    if (auto lost = loader.Unmodelled(); !lost.empty()) wb->SetUnmodelledContent(source, std::move(lost));
    return wb;
  } catch (const PartError& e) {
    throw FileError(what + ": " + e.what());
  } catch (const FileError&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw FileError("not enough memory to read " + what);
  } catch (const HostError& e) {
    throw FileError("cannot read " + what + ": " + e.what());
  } catch (const std::exception& e) {
    throw FileError("cannot read " + what + ": " + e.what());
  }
}

}  // namespace

std::unique_ptr<Workbook> LoadWorkbook(const std::string& path, const LoadOptions& options) {
  const std::string what = "'" + path + "'";
  // Say what the path is when it cannot be a workbook file at all; libzip would only say that
  // the operation is not supported.
  struct stat st {};
  if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) throw FileError(what + " is a folder, not a workbook file");
  if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    throw FileError(what + " is not a regular file (a device, pipe or socket), so it cannot be a workbook");
  }
  ZipPackage package = [&] {
    try {
      return ZipPackage::FromFile(path, what, LimitsOf(options));
    } catch (const std::bad_alloc&) {
      throw FileError("not enough memory to open " + what);
    }
  }();
  auto wb = Load(package, what, path, AbsolutePath(path), options);
  wb->SetPath(path);
  return wb;
}

std::unique_ptr<Workbook> LoadWorkbookFromBytes(std::string_view bytes, const std::string& name,
                                                const LoadOptions& options) {
  const std::string what = "'" + name + "'";
  ZipPackage package = ZipPackage::FromMemory(bytes, what, LimitsOf(options));
  return Load(package, what, name, name, options);
}

}  // namespace tezlo
