// LoadWorkbook: the package's parts read in order (relationships, workbook, styles, shared
// texts, then each worksheet with its comments), and every part the engine does not read kept
// as it is, with its relationships and content type, for the save to write back.
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <map>
#include <new>
#include <set>
#include <stdexcept>
#include <string_view>

#include "files/arriving_bytes.h"
#include "files/kept_content.h"
#include "files/kept_references.h"
#include "files/package_parts.h"
#include "files/sheet_reader.h"
#include "files/style_reader.h"
#include "files/workbook_file.h"
#include "files/xml_reader.h"
#include "files/zip_package.h"
#include "files/file_paths.h"
#include "host/path_parts.h"
#include "host/host_error.h"
#include "text/ascii.h"
#include "text/valid_utf8.h"

namespace tezlo {

namespace {

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

// The relationship types of the workbook whose parts the writer makes afresh.
bool WrittenByUs(const Relationship& r) {
  return !r.external && (r.type == "worksheet" || r.type == "styles" || r.type == "sharedStrings" ||
                         r.type == "calcChain");
}

class Loader {
 public:
  Loader(ZipPackage& package, std::string what, const LoadOptions& options)
      : pkg_(package),
        what_(std::move(what)),
        options_(options),
        cellBudget_(options.maxCells),
        memoryBudget_(options.maxMemoryBytes),
        kept_(std::make_shared<KeptPackage>()) {}

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
    for (const Relationship& r : reader.Result()) {
      if (!r.external) targets_.insert(LowerAscii(r.target));
    }
    return std::move(reader.Result());
  }
  int64_t Require(const std::string& part, const std::string& role) {
    const int64_t index = pkg_.Find(part);
    if (index < 0)
      throw FileError(what_ + " is damaged: its " + role + " (" + part + ") is missing");
    used_.insert(index);
    return index;
  }
  void ReadSheet(Sheet& sheet, const std::string& part, const std::string& what,
                 const std::vector<CellStyle>& styles,
                 const std::vector<std::string>& sharedStrings,
                 const std::vector<std::shared_ptr<const std::string>>& sharedRuns,
                 std::shared_ptr<KeptSheetXml> kept);
  void KeepOtherParts();

  ZipPackage& pkg_;
  std::string what_;
  const LoadOptions& options_;
  int64_t cellBudget_;
  int64_t memoryBudget_;
  std::set<int64_t> used_;
  std::set<std::string> unmodelled_;
  std::set<std::string> targets_;  // lower-case names of the parts relationships lead to
  std::shared_ptr<KeptPackage> kept_;
};

void Loader::ReadSheet(Sheet& sheet, const std::string& part, const std::string& what,
                       const std::vector<CellStyle>& styles,
                       const std::vector<std::string>& sharedStrings,
                       const std::vector<std::shared_ptr<const std::string>>& sharedRuns,
                       std::shared_ptr<KeptSheetXml> kept) {
  // The sheet, the bulk of the package, is read while it is still inflating; once read whole,
  // the package is free for its other parts.
  const auto document = pkg_.ReadArriving(Require(part, "sheet '" + sheet.Name() + "'"));
  SheetReadContext ctx{&styles,
                       &sharedStrings,
                       &unmodelled_,
                       &cellBudget_,
                       &memoryBudget_,
                       options_.maxMemoryBytes,
                       options_.maxDigitWidthPx,
                       kept_->date1904,
                       what,
                       document->Place(),
                       kept.get()};
  ctx.sharedRuns = &sharedRuns;
  SheetReader reader(sheet, ctx);
  XmlReader(reader, part + " in " + what_).ReadDocument(*document, "sheetData");
  reader.Finish();
  kept->part = part;
  kept->rels = ReadRelationships(part);
  // Tables and pivot tables: the engine refuses a shift that would cut through one.
  std::vector<ProtectedArea> tables;
  for (const Relationship& r : kept->rels) {
    if (r.external || (r.type != "table" && r.type != "pivotTable")) continue;
    const int64_t index = pkg_.Find(r.target);
    if (index < 0) continue;
    if (const auto range = TablePartRange(pkg_.ReadBytes(index));
        range && sheet.Contains(range->second.last)) {
      tables.push_back(ProtectedArea{r.type == "table" ? ProtectedArea::Kind::Table
                                                       : ProtectedArea::Kind::PivotTable,
                                     range->first, range->second});
    }
  }
  sheet.SetProtectedAreas(std::move(tables));
  const Relationship* comments = FindRelOfType(kept->rels, "comments");
  if (comments != nullptr) {
    CommentsReader reader2("comments of " + what);
    const int64_t index = pkg_.Find(comments->target);
    if (index < 0)
      throw FileError(what_ + " is damaged: its comments (" + comments->target + ") are missing");
    pkg_.ParseXml(index, reader2);
    KeptComments keptComments;
    for (CommentEntry& e : reader2.Result()) {
      if (!sheet.Contains(e.cell)) throw FileError(what + ": a comment lies outside the grid");
      sheet.Edit(e.cell, [&e](CellRecord& r) { r.Extras().comment = e.text; });
      keptComments.cells.emplace_back(e.cell, std::move(e.text));
    }
    // As the sheet holds them: a cell listed twice keeps its last comment.
    std::stable_sort(keptComments.cells.begin(), keptComments.cells.end(),
                     [](const auto& a, const auto& b) {
                       return std::pair(a.first.row, a.first.col) <
                              std::pair(b.first.row, b.first.col);
                     });
    std::vector<std::pair<Cell, std::string>> unique;
    for (auto& c : keptComments.cells) {
      if (!unique.empty() && unique.back().first == c.first) {
        unique.back() = std::move(c);
      } else {
        unique.push_back(std::move(c));
      }
    }
    keptComments.cells = std::move(unique);
    // The comments part and the drawing of their boxes are kept as they are (authors, box
    // sizes, rich text) for as long as the comments do not change; then Tezlo writes its own.
    const std::string drawingId = reader.LegacyDrawingId();
    for (const Relationship& r : kept->rels) {
      if (r.type == "comments" || r.id == drawingId) keptComments.rels.push_back(r);
    }
    if (FindRel(kept->rels, drawingId) != nullptr) {
      for (const KeptElement& e : kept->elements) {
        if (e.name == "legacyDrawing") keptComments.drawing = e.xml;
      }
      std::erase_if(kept->elements, [](const KeptElement& e) { return e.name == "legacyDrawing"; });
    }
    std::erase_if(kept->rels, [&drawingId](const Relationship& r) {
      return r.type == "comments" || r.id == drawingId;
    });
    kept->comments = std::move(keptComments);
  }
  sheet.View().kept = std::move(kept);
}

// Every part not read is kept as it is, with its relationships (themselves kept parts).
void Loader::KeepOtherParts() {
  for (size_t i = 0; i < pkg_.Names().size(); ++i) {
    const std::string& name = pkg_.Names()[i];
    if (used_.count(static_cast<int64_t>(i)) != 0 || name.empty() || name.back() == '/' ||
        LowerAscii(name) == "[content_types].xml") {
      continue;
    }
    const std::string lower = LowerAscii(name);
    const bool markup =
        lower.ends_with(".xml") || lower.ends_with(".rels") || lower.ends_with(".vml");
    if (!markup) {
      if (auto packed = pkg_.ReadPacked(static_cast<int64_t>(i))) {
        kept_->packed.emplace(name, std::move(*packed));
        kept_->parts.emplace_back(name, std::string());
        continue;
      }
    }
    kept_->parts.emplace_back(name, pkg_.ReadBytes(static_cast<int64_t>(i)));
  }
  for (const auto& [name, bytes] : kept_->parts) {
    if (pkg_.Find(RelationshipsPartOf(name)) >= 0)
      kept_->rels[LowerAscii(name)] = ReadRelationships(name);
  }
  for (const auto& [name, bytes] : kept_->parts) {
    const std::string key = LowerAscii(name);
    const bool rels = key.size() > 5 && key.compare(key.size() - 5, 5, ".rels") == 0;
    if (!rels && targets_.count(key) == 0) kept_->orphans.insert(key);
  }
}

std::unique_ptr<Workbook> Loader::Run(const std::string& name) {
  kept_->rootRels = ReadRelationships("");
  const Relationship* office = FindRelOfType(kept_->rootRels, "officeDocument");
  if (office == nullptr)
    throw FileError(what_ + " is not an xlsx workbook (it has no workbook part)");
  const std::string workbookPart = office->target;
  if (EndsWithIgnoringAsciiCase(workbookPart, ".bin"))
    throw FileError(what_ + " is a binary (xlsb) workbook, which Tezlo does not read");
  // The root's relationships are written back as they are (the workbook keeps its name).
  used_.erase(pkg_.Find(RelationshipsPartOf("")));
  if (const Relationship* core = FindRelOfType(kept_->rootRels, "core-properties"))
    kept_->coreProperties = core->target;
  if (const int64_t types = pkg_.Find("[Content_Types].xml"); types >= 0) {
    ContentTypesReader reader(*kept_);
    pkg_.ParseXml(types, reader);
  }

  kept_->workbookPart = workbookPart;
  const std::string bookBytes = pkg_.ReadBytes(Require(workbookPart, "workbook part"));
  WorkbookPartReader book(bookBytes, *kept_);
  ParseXmlBytes(bookBytes, workbookPart + " in " + what_, book);
  kept_->date1904 = book.date1904;
  // The parts Tezlo writes use the transitional namespaces; kept strict ones would not match them.
  if (book.strict) unmodelled_.insert("the Strict Open XML format (written back as transitional)");
  const std::vector<Relationship> bookRels = ReadRelationships(workbookPart);
  for (const Relationship& r : bookRels) {
    if (!WrittenByUs(r)) kept_->workbookRels.push_back(r);
  }
  // The calculation chain lists cells that move; the saved file asks for a full recalculation.
  if (const Relationship* r = FindRelOfType(bookRels, "calcChain")) {
    if (const int64_t index = pkg_.Find(r->target); index >= 0) used_.insert(index);
  }

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
  std::vector<std::shared_ptr<const std::string>> sharedRuns;  // the formatted ones' runs
  if (const Relationship* r = FindRelOfType(bookRels, "sharedStrings")) {
    // Read whole: the runs of formatted texts are cut out of its bytes.
    const std::string bytes = pkg_.ReadBytes(Require(r->target, "shared texts"));
    SharedStringsReader reader(bytes, sharedStrings, sharedRuns);
    ParseXmlBytes(bytes, r->target + " in " + what_, reader);
    for (const std::string& text : sharedStrings)
      memoryBudget_ -= static_cast<int64_t>(sizeof(std::string) + text.size());
    for (const auto& runs : sharedRuns)
      memoryBudget_ -= runs ? static_cast<int64_t>(sizeof(std::string) + 32 + runs->size()) : 16;
    if (memoryBudget_ < 0) {
      throw FileError(what_ + " is refused: its texts would take more than " +
                      std::to_string(options_.maxMemoryBytes >> 20) +
                      " MB of memory (the bound can be raised with --max-memory)");
    }
  }

  // Worksheets go to the engine; other kinds of sheet are kept in their places among them.
  std::vector<std::string> names;
  std::vector<std::string> parts;
  std::vector<std::shared_ptr<KeptSheetXml>> keptSheets;
  int32_t active = 1;
  for (size_t i = 0; i < book.sheets.size(); ++i) {
    SheetEntry& s = book.sheets[i];
    const Relationship* r = FindRel(bookRels, s.relId);
    if (r == nullptr || r->external)
      throw FileError(what_ + " is damaged: sheet '" + s.name + "' has no part");
    if (r->type != "worksheet") {
      OtherSheet other{std::move(s.entry), static_cast<int>(i), {}};
      for (const auto& k : keptSheets) other.preceding.push_back(k.get());
      kept_->otherSheets.push_back(std::move(other));
      continue;
    }
    if (static_cast<int32_t>(i) == book.activeTab) active = static_cast<int32_t>(names.size()) + 1;
    names.push_back(s.name);
    parts.push_back(r->target);
    keptSheets.push_back(std::make_shared<KeptSheetXml>());
    keptSheets.back()->entry = std::move(s.entry);
    keptSheets.back()->position = static_cast<int>(i);
  }
  if (names.empty()) throw FileError(what_ + " holds no worksheet");

  auto wb =
      std::make_unique<Workbook>(name, options_.rows, options_.cols, options_.maxDigitWidthPx, 1);
  try {
    wb->ResetSheets(names);
  } catch (const HostError& e) {
    throw FileError(what_ + " has a bad sheet name (" + e.what() + ")");
  }
  for (size_t i = 0; i < parts.size(); ++i) {
    ReadSheet(wb->GetSheet(static_cast<int32_t>(i) + 1), parts[i],
              "sheet '" + names[i] + "' of " + what_, styles, sharedStrings, sharedRuns,
              keptSheets[i]);
  }
  wb->ActivateSheet(active);
  wb->SetStyles(std::move(keptStyles));
  KeepOtherParts();
  wb->SetKept(std::move(kept_));
  return wb;
}

ZipLimits LimitsOf(const LoadOptions& options) {
  return ZipLimits{options.maxPartBytes, options.maxPackageBytes, options.maxParts};
}

// `source` identifies the file for the refusal to save over it (see SaveWorkbook).
std::unique_ptr<Workbook> Load(ZipPackage& package, const std::string& what,
                               const std::string& path, const std::string& source,
                               const LoadOptions& options) {
  try {
    Loader loader(package, what, options);
    auto wb = loader.Run(
        ValidUtf8(FileNameOf(path)));  // a file name is bytes; the workbook's name is text
    if (auto lost = loader.Unmodelled(); !lost.empty())
      wb->SetUnmodelledContent(source, std::move(lost));
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
  if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
    throw FileError(what + " is a folder, not a workbook file");
  if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    throw FileError(
        what + " is not a regular file (a device, pipe or socket), so it cannot be a workbook");
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
