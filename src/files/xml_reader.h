// A streaming XML parser for the parts of a workbook package, hardened against hostile input:
// no document type declarations (so no entity expansion of any kind), a bounded element depth,
// and handler exceptions carried safely across the C parser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct XML_ParserStruct;

namespace tezlo {

// Whether an element or attribute name is `literal`. Names are short, and this runs for every
// element of a part: compared here byte by byte rather than through a library call.
inline bool XmlNameIs(std::string_view name, std::string_view literal) {
  if (name.size() != literal.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] != literal[i]) return false;
  }
  return true;
}

// One attribute: its namespace URI (empty when it has no prefix), local name and value.
struct XmlAttr {
  std::string_view ns;
  std::string_view local;
  std::string_view value;
};

// The attributes of one element, looked up by local name (namespaces ignored).
class XmlAttrs {
 public:
  explicit XmlAttrs(std::span<const XmlAttr> attrs) : attrs_(attrs) {}
  std::optional<std::string_view> Get(std::string_view localName) const;
  bool Empty() const { return attrs_.empty(); }
  size_t Count() const { return attrs_.size(); }
  std::span<const XmlAttr> All() const { return attrs_; }

 private:
  std::span<const XmlAttr> attrs_;
};

class XmlReader;
class ArrivingBytes;

class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  // `name` is the element's local name; `ns` its namespace URI (empty when none).
  virtual void Start(std::string_view ns, std::string_view name, const XmlAttrs& attrs) = 0;
  virtual void End(std::string_view ns, std::string_view name) = 0;
  virtual void Text(std::string_view /*text*/) {}

 protected:
  // Where the event being handled lies in the document: the offset of its first byte and one
  // past its last (an empty element's end event is empty and lies at the end of its tag). Only
  // meaningful inside Start and End.
  std::pair<int64_t, int64_t> EventBytes() const;

 private:
  friend class XmlReader;
  const XmlReader* source_ = nullptr;
};

// Namespace URIs the readers tell apart.
inline constexpr std::string_view kMainNs =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr std::string_view kStrictMainNs = "http://purl.oclc.org/ooxml/spreadsheetml/main";

class XmlReader {
 public:
  // `what` names the part in error messages.
  XmlReader(XmlHandler& handler, std::string what);
  ~XmlReader();
  XmlReader(const XmlReader&) = delete;
  XmlReader& operator=(const XmlReader&) = delete;

  // Feeds the next piece of the document; `last` on the final one. Throws FileError for
  // malformed or refused XML, or rethrows what the handler threw.
  void Feed(const char* data, size_t size, bool last);

  // Reads a whole document held in memory. The children of the root's child `quickParent` (a
  // worksheet's sheetData), the bulk of some parts, are read by a quicker scanner where they are
  // plain enough (plain_xml_scanner.h), with the same events; all else by the full parser.
  void ReadDocument(std::string_view document, std::string_view quickParent = {});
  // The same, for a document still arriving: each byte is read as soon as it is there.
  void ReadDocument(ArrivingBytes& document, std::string_view quickParent = {});

  static constexpr int kMaxDepth = 256;
  // How many bytes of the document ReadDocument's quick scanner read.
  int64_t QuickBytes() const { return skippedBytes_; }
  // See XmlHandler::EventBytes.
  std::pair<int64_t, int64_t> EventBytes() const;

 private:
  static void OnStart(void* self, const char* name, const char** attrs);
  static void OnEnd(void* self, const char* name);
  static void OnText(void* self, const char* text, int length);
  static void OnNamespaceStart(void* self, const char* prefix, const char* uri);
  static void OnNamespaceEnd(void* self, const char* prefix);
  static void OnDoctype(void* self, const char* name, const char* sysid, const char* pubid,
                        int hasInternalSubset);
  static void OnEntity(void* self, const char* name, int isParameter, const char* value, int length,
                       const char* base, const char* systemId, const char* publicId,
                       const char* notation);
  void Fail(std::exception_ptr error);
  // Reads what it can of `quickParent`'s children quickly (after the parser has read up to
  // them); returns where the parser goes on.
  size_t ReadQuickly(ArrivingBytes& source, std::string_view quickParent);

  XmlHandler& handler_;
  std::string what_;
  XML_ParserStruct* parser_;
  std::exception_ptr error_;
  int depth_ = 0;
  std::vector<XmlAttr> attrs_;                                 // the current start tag's, reused
  std::vector<std::pair<std::string, std::string>> bindings_;  // namespace prefixes in scope
  // The quick reading: the element looked for, where its start tag ended when the parser met
  // it, the bytes and lines the parser did not see, and the event being delivered.
  std::string_view quickParent_;
  int64_t quickParentEnd_ = -1;
  int64_t skippedBytes_ = 0;
  int64_t skippedLines_ = 0;
  bool quick_ = false;
  std::pair<int64_t, int64_t> quickEvent_;
};

}  // namespace tezlo
