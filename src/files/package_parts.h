// The small parts of a workbook package: relationships, content types, the workbook part,
// shared texts and comments.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "files/raw_tag.h"
#include "files/xml_reader.h"
#include "host/cell.h"

namespace tezlo {

struct Relationship {
  std::string id;
  std::string type;    // the last segment of the type URI: "worksheet", "comments", ...
  std::string target;  // a part name resolved against the source part, no leading "/"
  bool external = false;
  std::string rawType;  // the type URI and the target as the file gave them, to write back
  std::string rawTarget;
};

// The relationships part of `sourcePart` ("xl/workbook.xml" -> "xl/_rels/workbook.xml.rels").
std::string RelationshipsPartOf(std::string_view sourcePart);

class RelationshipsReader final : public XmlHandler {
 public:
  explicit RelationshipsReader(std::string sourcePart) : source_(std::move(sourcePart)) {}
  void Start(std::string_view ns, std::string_view name, const XmlAttrs& attrs) override;
  void End(std::string_view, std::string_view) override {}
  std::vector<Relationship>& Result() { return rels_; }

 private:
  std::string source_;
  std::vector<Relationship> rels_;
};

struct SheetEntry {
  std::string name;
  std::string relId;
  RawTag entry;  // the <sheet> element as written
};

struct KeptPackage;

// Reads the workbook part from its bytes `document`; what the engine does not model (defined
// names, workbook settings, ...) goes to `kept` as the file's own bytes.
class WorkbookPartReader final : public XmlHandler {
 public:
  WorkbookPartReader(std::string_view document, KeptPackage& kept) : doc_(document), kept_(kept) {}
  void Start(std::string_view ns, std::string_view name, const XmlAttrs& attrs) override;
  void End(std::string_view ns, std::string_view name) override;

  std::vector<SheetEntry> sheets;
  int32_t activeTab = 0;  // 0-based
  bool date1904 = false;
  bool strict = false;  // in the Strict Open XML namespaces

 private:
  std::string_view Bytes(int64_t begin, int64_t end) const;

  std::string_view doc_;
  KeptPackage& kept_;
  std::vector<std::string> path_;
  int64_t childBegin_ = 0;  // where the root's current child starts
  int order_ = 0;
};

// [Content_Types].xml: the defaults by extension and the overrides by part name.
class ContentTypesReader final : public XmlHandler {
 public:
  explicit ContentTypesReader(KeptPackage& kept) : kept_(kept) {}
  void Start(std::string_view ns, std::string_view name, const XmlAttrs& attrs) override;
  void End(std::string_view, std::string_view) override {}

 private:
  KeptPackage& kept_;
};

// The shared texts part, from its bytes `document`: each item's text into `out`. An item with
// formatted or phonetic runs keeps their XML as the file wrote it in `rich`, at the item's index
// (`rich` stays empty while no item has runs).
class SharedStringsReader final : public XmlHandler {
 public:
  SharedStringsReader(std::string_view document, std::vector<std::string>& out,
                      std::vector<std::shared_ptr<const std::string>>& rich)
      : doc_(document), out_(out), rich_(rich) {}
  void Start(std::string_view ns, std::string_view name, const XmlAttrs& attrs) override;
  void End(std::string_view ns, std::string_view name) override;
  void Text(std::string_view text) override;

 private:
  std::string_view doc_;
  std::vector<std::string>& out_;
  std::vector<std::shared_ptr<const std::string>>& rich_;
  std::string current_;
  bool inItem_ = false;
  bool inText_ = false;
  int phonetic_ = 0;
  int depth_ = 0;          // inside the item
  int64_t itemBegin_ = 0;  // where the item's content starts
  bool runs_ = false;      // the item has a child other than one plain <t>
};

struct CommentEntry {
  Cell cell;
  std::string text;
};

class CommentsReader final : public XmlHandler {
 public:
  explicit CommentsReader(std::string what) : what_(std::move(what)) {}
  void Start(std::string_view ns, std::string_view name, const XmlAttrs& attrs) override;
  void End(std::string_view ns, std::string_view name) override;
  void Text(std::string_view text) override;
  std::vector<CommentEntry>& Result() { return comments_; }

 private:
  std::string what_;
  std::vector<CommentEntry> comments_;
  bool inComment_ = false;
  bool inText_ = false;
  int phonetic_ = 0;
};

}  // namespace tezlo
