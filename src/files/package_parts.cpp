#include "files/package_parts.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "host/a1_address.h"
#include "host/path_parts.h"
#include "files/kept_content.h"
#include "files/workbook_file.h"
#include "files/xml_text.h"
#include "text/ascii.h"

namespace tezlo {

namespace {

constexpr size_t kMaxTextBytes = 1 << 20;
constexpr size_t kMaxRelationships = 1 << 16;
constexpr size_t kMaxSheets = 1 << 12;

// Folder of a part name, with a trailing "/" ("xl/workbook.xml" -> "xl/").
std::string PartFolderOf(std::string_view part) {
  const size_t slash = part.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

// `target` relative to `folder`, with "." and ".." segments resolved; an absolute target starts
// from the package root.
std::string Resolve(std::string_view folder, std::string_view target) {
  std::string joined = !target.empty() && target[0] == '/'
                           ? std::string(target.substr(1))
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
  return PartFolderOf(sourcePart) + "_rels/" + FileNameOf(sourcePart) + ".rels";
}

void RelationshipsReader::Start(std::string_view, std::string_view name, const XmlAttrs& attrs) {
  if (name != "Relationship" || rels_.size() >= kMaxRelationships) return;
  Relationship r;
  r.id = std::string(attrs.Get("Id").value_or(""));
  const std::string_view type = attrs.Get("Type").value_or("");
  r.rawType = std::string(type);
  r.rawTarget = std::string(attrs.Get("Target").value_or(""));
  const size_t slash = type.rfind('/');
  r.type = std::string(slash == std::string_view::npos ? type : type.substr(slash + 1));
  r.external = attrs.Get("TargetMode").value_or("") == "External";
  const std::string_view target = attrs.Get("Target").value_or("");
  r.target = r.external ? std::string(target) : Resolve(PartFolderOf(source_), target);
  rels_.push_back(std::move(r));
}

// The workbook's children in their schema order; a child of another name (an extension in
// markup compatibility wrapping) keeps the place of the child before it.
constexpr std::array<std::string_view, 19> kWorkbookOrder = {
    "fileVersion",    "fileSharing",
    "workbookPr",     "workbookProtection",
    "bookViews",      "sheets",
    "functionGroups", "externalReferences",
    "definedNames",   "calcPr",
    "oleSize",        "customWorkbookViews",
    "pivotCaches",    "smartTagPr",
    "smartTagTypes",  "webPublishing",
    "fileRecoveryPr", "webPublishObjects",
    "extLst",
};

std::string_view WorkbookPartReader::Bytes(int64_t begin, int64_t end) const {
  if (begin < 0 || end < begin || static_cast<size_t>(end) > doc_.size() ||
      doc_[static_cast<size_t>(begin)] != '<') {
    throw FileError("the workbook part is not in UTF-8");
  }
  return doc_.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
}

void WorkbookPartReader::Start(std::string_view ns, std::string_view name, const XmlAttrs& attrs) {
  path_.emplace_back(name);
  const auto [begin, end] = EventBytes();
  if (path_.size() == 1) {
    strict = ns == kStrictMainNs;
    kept_.workbookRoot = ParseStartTag(Bytes(begin, end));
    return;
  }
  if (path_.size() == 2) {
    childBegin_ = begin;
    if (name == "workbookPr") {
      const auto d = attrs.Get("date1904");
      date1904 = d && (*d == "1" || *d == "true");
    } else if (name == "calcPr") {
      kept_.calcPr = ParseStartTag(Bytes(begin, end));
    }
    return;
  }
  if (path_.size() == 3 && path_[1] == "bookViews" && name == "workbookView" && !kept_.bookViews) {
    KeptView view;
    view.tagBegin = static_cast<size_t>(begin - childBegin_);
    view.tagEnd = static_cast<size_t>(end - childBegin_);
    kept_.bookViews = std::move(view);
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
    auto tag = ParseStartTag(Bytes(begin, end));
    if (!tag) throw FileError("the workbook part lists a sheet it cannot read back");
    s.entry = std::move(*tag);
    sheets.push_back(std::move(s));
  }
}

void WorkbookPartReader::End(std::string_view, std::string_view name) {
  if (path_.size() == 2) {
    const std::string_view bytes = Bytes(childBegin_, EventBytes().second);
    const auto known = std::find(kWorkbookOrder.begin(), kWorkbookOrder.end(), name);
    if (known != kWorkbookOrder.end()) order_ = static_cast<int>(known - kWorkbookOrder.begin());
    if (name == "bookViews" && kept_.bookViews) {
      kept_.bookViews->xml = std::string(bytes);
    } else if (name != "sheets" && name != "calcPr" && name != "bookViews") {
      kept_.workbookElements.push_back(KeptElement{order_, std::string(name), std::string(bytes)});
    }
  }
  if (!path_.empty()) path_.pop_back();
}

void ContentTypesReader::Start(std::string_view, std::string_view name, const XmlAttrs& attrs) {
  const std::string type(attrs.Get("ContentType").value_or(""));
  if (name == "Default") {
    kept_.defaults.emplace_back(std::string(attrs.Get("Extension").value_or("")), type);
  } else if (name == "Override") {
    std::string part(attrs.Get("PartName").value_or(""));
    if (!part.empty() && part[0] == '/') part.erase(0, 1);
    kept_.overrides[LowerAscii(part)] = type;
  }
}

void SharedStringsReader::Start(std::string_view, std::string_view name, const XmlAttrs&) {
  if (name == "si" && !inItem_) {
    inItem_ = true;
    current_.clear();
    depth_ = 0;
    runs_ = false;
    itemBegin_ = EventBytes().second;
    return;
  }
  if (!inItem_) return;
  // Runs, phonetic runs and their properties are kept as written; a lone <t> is the plain text.
  if (++depth_ == 1 && name != "t") runs_ = true;
  if (name == "rPh") {
    ++phonetic_;
  } else if (name == "t" && phonetic_ == 0) {
    inText_ = true;
  }
}

void SharedStringsReader::End(std::string_view, std::string_view name) {
  if (!inItem_) return;
  if (depth_ > 0) {
    --depth_;
    if (name == "rPh") {
      --phonetic_;
    } else if (name == "t") {
      inText_ = false;
    }
    return;
  }
  inItem_ = false;
  out_.push_back(DecodeEscapes(current_));
  const int64_t end = EventBytes().first;
  if (runs_ && itemBegin_ <= end && static_cast<size_t>(end) <= doc_.size()) {
    rich_.resize(out_.size());
    rich_.back() = std::make_shared<const std::string>(
        doc_.substr(static_cast<size_t>(itemBegin_), static_cast<size_t>(end - itemBegin_)));
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
