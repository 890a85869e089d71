#include "files/package_parts.h"

#include <array>
#include <charconv>

#include "files/cell_ref.h"
#include "files/workbook_file.h"
#include "files/xml_text.h"

namespace tezlo {

namespace {

constexpr size_t kMaxTextBytes = 1 << 20;
constexpr size_t kMaxRelationships = 1 << 16;
constexpr size_t kMaxSheets = 1 << 12;

// Folder of a part name, with a trailing "/" ("xl/workbook.xml" -> "xl/").
std::string FolderOf(std::string_view part) {
  const size_t slash = part.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

// `target` relative to `folder`, with "." and ".." segments resolved; an absolute target starts
// from the package root.
std::string Resolve(std::string_view folder, std::string_view target) {
  std::string joined = !target.empty() && target[0] == '/' ? std::string(target.substr(1))
                                                           : std::string(folder) + std::string(target);
  std::vector<std::string> segments;
  size_t start = 0;
  while (start <= joined.size()) {
    size_t slash = joined.find('/', start);
    if (slash == std::string::npos) slash = joined.size();
    const std::string segment = joined.substr(start, slash - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = slash + 1;
  }
  std::string out;
  for (const std::string& s : segments) {
    if (!out.empty()) out += '/';
    out += s;
  }
  return out;
}

}  // namespace

std::string RelationshipsPartOf(std::string_view sourcePart) {
  const size_t slash = sourcePart.rfind('/');
  const std::string folder = FolderOf(sourcePart);
  const std::string_view file = slash == std::string_view::npos ? sourcePart : sourcePart.substr(slash + 1);
  return folder + "_rels/" + std::string(file) + ".rels";
}

void RelationshipsReader::Start(std::string_view, std::string_view name, const XmlAttrs& attrs) {
  if (name != "Relationship" || rels_.size() >= kMaxRelationships) return;
  Relationship r;
  r.id = std::string(attrs.Get("Id").value_or(""));
  const std::string_view type = attrs.Get("Type").value_or("");
  const size_t slash = type.rfind('/');
  r.type = std::string(slash == std::string_view::npos ? type : type.substr(slash + 1));
  r.external = attrs.Get("TargetMode").value_or("") == "External";
  const std::string_view target = attrs.Get("Target").value_or("");
  r.target = r.external ? std::string(target) : Resolve(FolderOf(source_), target);
  rels_.push_back(std::move(r));
}

void WorkbookPartReader::Start(std::string_view, std::string_view name, const XmlAttrs& attrs) {
  path_.emplace_back(name);
  if (path_.size() == 2) {
    // Lists count by their items (some writers leave empty ones); settings by their attributes.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kSettings = {{
        {"workbookProtection", "workbook protection"},
        {"fileSharing", "sharing settings"},
        {"oleSize", "embedding settings"},
    }};
    for (const auto& [element, description] : kSettings) {
      if (element == name && !attrs.Empty()) unmodelled_.insert(std::string(description));
    }
    if (name == "workbookPr") {
      const auto d = attrs.Get("date1904");
      date1904 = d && (*d == "1" || *d == "true");
      if (date1904) unmodelled_.insert("the 1904 date system (dates are kept in the 1900 system)");
    }
  } else if (path_.size() == 3) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kLists = {{
        {"definedNames", "defined names"},
        {"externalReferences", "external links"},
        {"pivotCaches", "pivot tables"},
        {"customWorkbookViews", "custom views"},
        {"functionGroups", "macro function groups"},
    }};
    for (const auto& [element, description] : kLists) {
      if (element == path_[1]) unmodelled_.insert(std::string(description));
    }
  }
  if (path_.size() == 3 && path_[1] == "bookViews" && name == "workbookView") {
    if (const auto tab = attrs.Get("activeTab")) {
      int32_t v = 0;
      const auto r = std::from_chars(tab->data(), tab->data() + tab->size(), v);
      if (r.ec == std::errc() && v >= 0) activeTab = v;
    }
  } else if (path_.size() == 3 && path_[1] == "sheets" && name == "sheet") {
    if (sheets.size() >= kMaxSheets) throw PartError("the workbook holds too many sheets");
    SheetEntry s;
    s.name = DecodeEscapes(attrs.Get("name").value_or(""));
    s.relId = std::string(attrs.Get("id").value_or(""));
    const std::string_view state = attrs.Get("state").value_or("visible");
    s.hidden = state != "visible";
    if (s.hidden) unmodelled_.insert("hidden sheets (shown after a save)");
    sheets.push_back(std::move(s));
  }
}

void WorkbookPartReader::End(std::string_view, std::string_view) {
  if (!path_.empty()) path_.pop_back();
}

void SharedStringsReader::Start(std::string_view, std::string_view name, const XmlAttrs&) {
  if (name == "si") {
    inItem_ = true;
    current_.clear();
  } else if (name == "rPh") {
    ++phonetic_;
  } else if (name == "t" && inItem_ && phonetic_ == 0) {
    inText_ = true;
  } else if (name == "rPr") {
    unmodelled_.insert("rich text formatting");
  }
}

void SharedStringsReader::End(std::string_view, std::string_view name) {
  if (name == "si") {
    inItem_ = false;
    out_.push_back(DecodeEscapes(current_));
  } else if (name == "rPh") {
    --phonetic_;
  } else if (name == "t") {
    inText_ = false;
  }
}

void SharedStringsReader::Text(std::string_view text) {
  if (!inText_) return;
  if (current_.size() + text.size() > kMaxTextBytes) throw PartError("a shared text is too long");
  current_ += text;
}

void CommentsReader::Start(std::string_view, std::string_view name, const XmlAttrs& attrs) {
  if (name == "comment") {
    const auto cell = ParseCellRef(attrs.Get("ref").value_or(""));
    if (!cell) throw FileError(what_ + ": a comment has a bad cell reference");
    comments_.push_back(CommentEntry{*cell, {}});
    inComment_ = true;
  } else if (name == "rPh") {
    ++phonetic_;
  } else if (name == "t" && inComment_ && phonetic_ == 0) {
    inText_ = true;
  }
}

void CommentsReader::End(std::string_view, std::string_view name) {
  if (name == "comment") {
    inComment_ = false;
    if (!comments_.empty()) comments_.back().text = DecodeEscapes(comments_.back().text);
  } else if (name == "rPh") {
    --phonetic_;
  } else if (name == "t") {
    inText_ = false;
  }
}

void CommentsReader::Text(std::string_view text) {
  if (!inText_ || comments_.empty()) return;
  std::string& t = comments_.back().text;
  if (t.size() + text.size() > kMaxTextBytes) throw FileError(what_ + ": a comment is too long");
  t += text;
}

}  // namespace tezlo
