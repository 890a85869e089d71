#include "files/package_builder.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <set>

#include "files/chart_refs.h"
#include "files/core_properties.h"
#include "files/kept_references.h"
#include "files/drawing_anchors.h"
#include "files/kept_content.h"
#include "files/sheet_writer.h"
#include "files/style_table.h"
#include "files/workbook_part_writer.h"
#include "files/xml_text.h"
#include "text/ascii.h"

namespace tezlo {

namespace {

constexpr const char* kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kRelTypes =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr const char* kTypePrefix = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
constexpr double k1904Offset = 1462;

struct OutRel {
  std::string id;
  std::string type;    // the whole URI
  std::string target;  // as written
  bool external = false;
};

OutRel Kept(const Relationship& r) { return OutRel{r.id, r.rawType, r.rawTarget, r.external}; }

std::string RelsXml(const std::vector<OutRel>& rels) {
  std::string out =
      std::string(kXmlHead) +
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  for (const OutRel& r : rels) {
    out += "<Relationship Id=\"";
    AppendXmlText(out, r.id, true);
    out += "\" Type=\"";
    AppendXmlText(out, r.type, true);
    out += "\" Target=\"";
    AppendXmlText(out, r.target, true);
    out += r.external ? "\" TargetMode=\"External\"/>" : "\"/>";
  }
  out += "</Relationships>";
  return out;
}

// `to` as a target relative to the folder of the part `from`.
std::string RelativeTarget(std::string_view from, std::string_view to) {
  size_t common = 0;
  for (size_t i = 0; i < from.size() && i < to.size() && from[i] == to[i]; ++i) {
    if (from[i] == '/') common = i + 1;
  }
  std::string out;
  for (size_t i = common; i < from.size(); ++i) {
    if (from[i] == '/') out += "../";
  }
  return out + std::string(to.substr(common));
}

// The part a relationships part describes ("xl/_rels/workbook.xml.rels" -> "xl/workbook.xml",
// "_rels/.rels" -> "" for the package).
std::string SourceOfRels(std::string_view rels) {
  const size_t at = rels.rfind("_rels/");
  if (at == std::string_view::npos || !std::string_view(rels).ends_with(".rels")) return {};
  return std::string(rels.substr(0, at)) +
         std::string(rels.substr(at + 6, rels.size() - at - 6 - 5));
}

// Part names in use, compared without regard to case, and fresh ones that do not collide.
class PartNames {
 public:
  void Take(std::string_view name) { taken_.insert(LowerAscii(name)); }
  std::string Fresh(const std::string& stem, const std::string& extension) {
    for (int n = 1;; ++n) {
      std::string name = stem + std::to_string(n) + extension;
      if (taken_.insert(LowerAscii(name)).second) return name;
    }
  }

 private:
  std::set<std::string> taken_;
};

// Relationship ids of one part: fresh ones avoid those kept.
class RelIds {
 public:
  void Take(const std::string& id) { used_.insert(id); }
  std::string Fresh() {
    while (true) {
      std::string id = "rId" + std::to_string(++last_);
      if (used_.insert(id).second) return id;
    }
  }

 private:
  std::set<std::string> used_;
  int last_ = 0;
};

// Pictures are compressed already; deflating them again costs time and saves nothing.
bool Compressible(std::string_view part) {
  const std::string lower = LowerAscii(part);
  for (const char* packed : {".png", ".jpg", ".jpeg", ".gif", ".tif", ".tiff", ".wdp"}) {
    if (std::string_view(lower).ends_with(packed)) return false;
  }
  return true;
}

// Whether the sheet's comments are still those it was read with.
bool CommentsAsRead(const Sheet& sheet, const KeptComments& read) {
  size_t next = 0;
  bool same = true;
  sheet.ForEachCellByRow([&](Cell c, const CellRecord& r) {
    if (!same || !r.HasComment()) return;
    same = next < read.cells.size() && read.cells[next].first == c &&
           read.cells[next].second == *r.extras->comment;
    ++next;
  });
  return same && next == read.cells.size();
}

class Builder {
 public:
  Builder(const Workbook& book, ZipWriter& zip)
      : book_(book),
        zip_(zip),
        kept_(book.Kept() ? *book.Kept() : kEmpty),
        styles_(book.Styles() ? StyleTable(book.Styles()) : StyleTable()) {}
  void Run();

 private:
  // Notes a part as written, with its content type when it has one of its own.
  void Note(const std::string& part, const std::string& type) {
    writtenNames_.insert(LowerAscii(part));
    if (!type.empty()) types_[LowerAscii(part)] = {part, type};
  }
  void Add(const std::string& part, std::string bytes, const std::string& type) {
    Note(part, type);
    const bool compress = Compressible(part);
    zip_.Add(part, std::move(bytes), compress);
  }
  void AddPacked(const std::string& part, const PackedPart& packed, const std::string& type) {
    Note(part, type);
    zip_.AddPacked(part, packed);
  }
  // The content type the file gave the part, or `fallback`.
  std::string TypeOf(const std::string& part, const std::string& fallback) const {
    const auto it = kept_.overrides.find(LowerAscii(part));
    return it != kept_.overrides.end() ? it->second : fallback;
  }
  void FindSheetMoves();
  RawTag WriteSheet(int32_t index, const std::string& workbookPart, std::vector<OutRel>& bookRels,
                    RelIds& bookIds);
  void KeptParts();
  std::string ContentTypes() const;

  static const KeptPackage kEmpty;
  const Workbook& book_;
  ZipWriter& zip_;
  const KeptPackage& kept_;
  PartNames names_;
  StyleTable styles_;
  // The cells moved on the sheet each kept table or pivot table part stands on, by part name.
  std::map<std::string, const std::vector<RefShift>*> tableShifts_;
  // Likewise for the drawing parts (pictures, charts, shapes) of the sheets.
  std::map<std::string, const std::vector<RefShift>*> drawingShifts_;
  // What happened to each sheet read from the file, when one was renamed or had cells moved
  // (chart formulas and kept defined names follow it), and the chart parts (lower-case names).
  std::set<std::string> chartParts_;
  std::vector<SheetMoves> sheetMoves_;
  SharedTexts texts_;
  std::map<std::string, std::pair<std::string, std::string>>
      types_;  // lower-case name -> name, type
  std::set<const KeptSheetXml*> written_;
  std::vector<const std::vector<Relationship>*> keptComments_;  // relationships to comments kept
  std::set<std::string> writtenNames_;                          // lower-case
  int maxSheetId_ = 0;
  bool vml_ = false;
};

const KeptPackage Builder::kEmpty;

RawTag Builder::WriteSheet(int32_t index, const std::string& workbookPart,
                           std::vector<OutRel>& bookRels, RelIds& bookIds) {
  const Sheet& sheet = book_.GetSheet(index);
  const KeptSheetXml* kept = sheet.View().kept.get();
  // A sheet sharing what another one keeps (a copy) gets none of it: its drawings and tables
  // belong to the other.
  if (kept != nullptr && !written_.insert(kept).second) kept = nullptr;
  const std::string part =
      kept != nullptr ? kept->part : names_.Fresh("xl/worksheets/sheet", ".xml");

  RelIds ids;
  std::vector<OutRel> rels;
  if (kept != nullptr) {
    for (const Relationship& r : kept->rels) {
      if (!r.external && (r.type == "table" || r.type == "pivotTable") &&
          !sheet.ShiftsSinceRead().empty()) {
        tableShifts_[LowerAscii(r.target)] = &sheet.ShiftsSinceRead();
      }
      if (!r.external && r.type == "drawing" && !sheet.ShiftsSinceRead().empty()) {
        drawingShifts_[LowerAscii(r.target)] = &sheet.ShiftsSinceRead();
      }
      ids.Take(r.id);
      rels.push_back(Kept(r));
    }
  }
  SheetWriteOptions options;
  options.kept = kept;
  if (kept != nullptr && kept->comments) {
    for (const Relationship& r : kept->comments->rels) ids.Take(r.id);
    options.keepComments = CommentsAsRead(sheet, *kept->comments);
    if (options.keepComments) {
      for (const Relationship& r : kept->comments->rels) rels.push_back(Kept(r));
      keptComments_.push_back(&kept->comments->rels);
    }
  }
  options.dateShift = kept_.date1904 ? -k1904Offset : 0;
  const std::string commentsId = ids.Fresh();
  options.commentsDrawingId = ids.Fresh();
  // The worksheet, the bulk of the package, deflates in pieces while its rows are written.
  Note(part, std::string(kTypePrefix) + "worksheet+xml");
  const size_t stream = zip_.Open(part);
  options.spill = [this, stream](std::string piece) { zip_.Append(stream, std::move(piece)); };
  SheetParts parts = tezlo::WriteSheet(sheet, index, index == book_.ActiveSheetIndex(),
                                       book_.MaxDigitWidthPx(), styles_, texts_, options);
  zip_.Append(stream, std::move(parts.worksheet));
  zip_.Close(stream);
  if (!parts.comments.empty()) {
    const std::string comments = names_.Fresh("xl/comments", ".xml");
    const std::string drawing = names_.Fresh("xl/drawings/vmlDrawing", ".vml");
    Add(comments, std::move(parts.comments), std::string(kTypePrefix) + "comments+xml");
    Add(drawing, std::move(parts.drawing), "");
    vml_ = true;
    rels.push_back(
        OutRel{commentsId, std::string(kRelTypes) + "comments", RelativeTarget(part, comments)});
    rels.push_back(OutRel{options.commentsDrawingId, std::string(kRelTypes) + "vmlDrawing",
                          RelativeTarget(part, drawing)});
  }
  if (!rels.empty()) Add(RelationshipsPartOf(part), RelsXml(rels), "");

  std::string name;
  AppendXmlText(name, sheet.Name(), true);
  RawTag entry;
  std::string relId;
  if (kept != nullptr && kept->entry.Find("id") != nullptr) {
    entry = kept->entry;
    relId = kept->entry.Find("id")->value;
  } else {
    relId = bookIds.Fresh();
    entry.name = "sheet";
    entry.empty = true;
    entry.attrs = {{"name", ""}, {"sheetId", std::to_string(++maxSheetId_)}, {"r:id", relId}};
  }
  entry.Set("name", name);
  bookRels.push_back(
      OutRel{relId, std::string(kRelTypes) + "worksheet", RelativeTarget(workbookPart, part)});
  return entry;
}

// Charts and kept defined names name their sheets as the file did and hold their ranges as
// formulas: when a sheet read from the file was renamed or had cells moved since, the defined
// names and every chart part (of a worksheet's drawing or a chart sheet's) are rewritten with
// their formulas following.
void Builder::FindSheetMoves() {
  std::set<const KeptSheetXml*> seen;
  bool moves = false;
  for (int32_t i = 1; i <= book_.SheetCount(); ++i) {
    const Sheet& sheet = book_.GetSheet(i);
    const KeptSheetXml* kept = sheet.View().kept.get();
    // A copy sharing what another sheet keeps is not the sheet the file named (as in WriteSheet).
    if (kept == nullptr || !seen.insert(kept).second) continue;
    const RawAttr* name = kept->entry.Find("name");
    const std::optional<std::string> read =
        name != nullptr ? DecodeEntities(name->value) : std::nullopt;
    if (!read) continue;
    SheetMoves m{DecodeEscapes(*read), sheet.Name(), &sheet.ShiftsSinceRead()};
    moves = moves || m.readName != m.name || !m.shifts->empty();
    sheetMoves_.push_back(std::move(m));
  }
  if (!moves) {
    sheetMoves_.clear();
    return;
  }
  for (const auto& [source, rels] : kept_.rels) {
    for (const Relationship& r : rels) {
      if (!r.external && (r.type == "chart" || r.type == "chartEx"))
        chartParts_.insert(LowerAscii(r.target));
    }
  }
}

// Every kept part still reached through relationships from what is written, and every part no
// relationship led to in the file, as it was; the core properties with the save's time.
void Builder::KeptParts() {
  std::set<std::string> reached;
  std::vector<std::string> queue;
  auto visit = [&](const std::vector<Relationship>& rels) {
    for (const Relationship& r : rels) {
      if (r.external) continue;
      std::string key = LowerAscii(r.target);
      if (reached.insert(key).second) queue.push_back(std::move(key));
    }
  };
  visit(kept_.rootRels);
  visit(kept_.workbookRels);
  for (const KeptSheetXml* sheet : written_) visit(sheet->rels);
  for (const auto* rels : keptComments_) visit(*rels);
  while (!queue.empty()) {
    const std::string key = std::move(queue.back());
    queue.pop_back();
    if (const auto it = kept_.rels.find(key); it != kept_.rels.end()) visit(it->second);
  }
  auto written = [&](const std::string& key) {
    return reached.count(key) != 0 || kept_.orphans.count(key) != 0;
  };
  const std::string core = LowerAscii(kept_.coreProperties);
  for (const auto& [name, bytes] : kept_.parts) {
    const std::string key = LowerAscii(name);
    if (writtenNames_.count(key) != 0) continue;  // an unreferenced part of a name Tezlo writes
    if (std::string_view(key).ends_with(".rels")) {
      const std::string source = SourceOfRels(key);
      if (!source.empty() && !written(source)) continue;
    } else if (!written(key)) {
      continue;
    }
    const std::string type = TypeOf(name, "");
    if (!core.empty() && key == core) {
      Add(name, WithModifiedTime(bytes, std::time(nullptr)), type);
    } else if (const auto shifts = tableShifts_.find(key); shifts != tableShifts_.end()) {
      Add(name, ShiftTablePart(bytes, *shifts->second), type);
    } else if (const auto moved = drawingShifts_.find(key); moved != drawingShifts_.end()) {
      Add(name, ShiftDrawingPart(bytes, *moved->second), type);
    } else if (chartParts_.count(key) != 0) {
      const GridSize grid{book_.Rows(), book_.Cols()};
      Add(name,
          ShiftChartPart(bytes,
                         [&](std::string_view f) {
                           return MoveChartFormula(f, sheetMoves_, grid);
                         }),
          type);
    } else if (const auto packed = kept_.packed.find(name); packed != kept_.packed.end()) {
      AddPacked(name, packed->second, type);
    } else {
      Add(name, bytes, type);
    }
  }
}

std::string Builder::ContentTypes() const {
  std::string out =
      std::string(kXmlHead) +
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">";
  std::set<std::string> extensions;
  auto defaultType = [&](const std::string& extension, const std::string& type) {
    if (!extensions.insert(LowerAscii(extension)).second) return;
    out += "<Default Extension=\"";
    AppendXmlText(out, extension, true);
    out += "\" ContentType=\"";
    AppendXmlText(out, type, true);
    out += "\"/>";
  };
  for (const auto& [extension, type] : kept_.defaults) defaultType(extension, type);
  defaultType("rels", "application/vnd.openxmlformats-package.relationships+xml");
  defaultType("xml", "application/xml");
  if (vml_) defaultType("vml", "application/vnd.openxmlformats-officedocument.vmlDrawing");
  for (const auto& [key, entry] : types_) {
    out += "<Override PartName=\"/";
    AppendXmlText(out, entry.first, true);
    out += "\" ContentType=\"";
    AppendXmlText(out, entry.second, true);
    out += "\"/>";
  }
  out += "</Types>";
  return out;
}

void Builder::Run() {
  const bool fromFile = book_.Kept() != nullptr;
  for (const auto& [name, bytes] : kept_.parts) names_.Take(name);
  const std::string workbookPart = fromFile ? kept_.workbookPart : "xl/workbook.xml";
  for (const char* ours : {"xl/styles.xml", "xl/sharedStrings.xml"}) names_.Take(ours);
  names_.Take(workbookPart);
  RelIds bookIds;
  std::vector<OutRel> bookRels;
  for (const Relationship& r : kept_.workbookRels) {
    bookIds.Take(r.id);
    bookRels.push_back(Kept(r));
  }
  auto sheetId = [](const RawTag& entry) {
    const RawAttr* id = entry.Find("sheetId");
    return id != nullptr ? std::atoi(id->value.c_str()) : 0;
  };
  for (int32_t i = 1; i <= book_.SheetCount(); ++i) {
    if (const KeptSheetXml* k = book_.GetSheet(i).View().kept.get()) {
      names_.Take(k->part);
      if (const RawAttr* id = k->entry.Find("id")) bookIds.Take(id->value);
      maxSheetId_ = std::max(maxSheetId_, sheetId(k->entry));
    }
  }
  for (const OtherSheet& other : kept_.otherSheets)
    maxSheetId_ = std::max(maxSheetId_, sheetId(other.entry));

  // The sheet list: kept chart sheets stay after the worksheet they followed, or the nearest
  // one before it still there.
  std::set<const KeptSheetXml*> present;
  for (int32_t i = 1; i <= book_.SheetCount(); ++i)
    present.insert(book_.GetSheet(i).View().kept.get());
  auto after = [&present](const OtherSheet& other) -> const KeptSheetXml* {
    for (auto it = other.preceding.rbegin(); it != other.preceding.rend(); ++it) {
      if (present.count(*it) != 0) return *it;
    }
    return nullptr;
  };
  std::vector<RawTag> entries;
  std::map<int, int> moved;  // the file's sheet positions to the new ones
  std::set<const OtherSheet*> placed;
  auto others = [&](const KeptSheetXml* sheet) {
    for (const OtherSheet& other : kept_.otherSheets) {
      if (after(other) == sheet && placed.insert(&other).second) {
        moved[other.position] = static_cast<int>(entries.size());
        entries.push_back(other.entry);
      }
    }
  };
  others(nullptr);
  int activeTab = 0;
  for (int32_t i = 1; i <= book_.SheetCount(); ++i) {
    if (i == book_.ActiveSheetIndex()) activeTab = static_cast<int>(entries.size());
    const KeptSheetXml* k = book_.GetSheet(i).View().kept.get();
    if (k != nullptr && written_.count(k) == 0)
      moved[k->position] = static_cast<int>(entries.size());
    entries.push_back(WriteSheet(i, workbookPart, bookRels, bookIds));
    if (k != nullptr) others(k);
  }

  bookRels.push_back(OutRel{bookIds.Fresh(), std::string(kRelTypes) + "styles",
                            RelativeTarget(workbookPart, "xl/styles.xml")});
  bookRels.push_back(OutRel{bookIds.Fresh(), std::string(kRelTypes) + "sharedStrings",
                            RelativeTarget(workbookPart, "xl/sharedStrings.xml")});
  // Kept defined names, like charts, name sheets as the file did: they follow renames and each
  // sheet's moved cells.
  FindSheetMoves();
  FormulaMove names;
  if (!sheetMoves_.empty()) {
    names = [this, grid = GridSize{book_.Rows(), book_.Cols()}](std::string_view f) {
      return MoveChartFormula(f, sheetMoves_, grid);
    };
  }
  Add(workbookPart, WorkbookPartXml(kept_, entries, activeTab, moved, names),
      TypeOf(workbookPart, std::string(kTypePrefix) + "sheet.main+xml"));
  Add(RelationshipsPartOf(workbookPart), RelsXml(bookRels), "");
  Add("xl/styles.xml", styles_.StylesXml(), std::string(kTypePrefix) + "styles+xml");
  Add("xl/sharedStrings.xml", texts_.Xml(), std::string(kTypePrefix) + "sharedStrings+xml");
  KeptParts();
  if (!fromFile) {
    Add("_rels/.rels",
        RelsXml({OutRel{"rId1", std::string(kRelTypes) + "officeDocument", workbookPart}}), "");
  }
  zip_.Add("[Content_Types].xml", ContentTypes());
}

}  // namespace

void BuildPackage(const Workbook& book, ZipWriter& zip) { Builder(book, zip).Run(); }

std::string CannotWrite(const Workbook& book) {
  for (int32_t i = 1; i <= book.SheetCount(); ++i) {
    const Sheet& sheet = book.GetSheet(i);
    const KeptSheetXml* kept = sheet.View().kept.get();
    if (kept == nullptr ||
        std::none_of(kept->elements.begin(), kept->elements.end(),
                     [](const KeptElement& e) { return e.name == "legacyDrawing"; })) {
      continue;
    }
    bool comments = false;
    sheet.ForEachCellByRow(
        [&comments](Cell, const CellRecord& r) { comments = comments || r.HasComment(); });
    if (comments) {
      return "sheet '" + sheet.Name() +
             "' has form controls in a legacy drawing, which cannot be kept beside comments; "
             "delete the comments or "
             "the controls";
    }
  }
  return {};
}

}  // namespace tezlo
