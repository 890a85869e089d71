// A streaming XML parser for the parts of a workbook package, hardened against hostile input:
// no document type declarations (so no entity expansion of any kind), a bounded element depth,
// and handler exceptions carried safely across the C parser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

struct XML_ParserStruct;

namespace tezlo {

// The attributes of one element, looked up by local name (namespace prefixes ignored).
class XmlAttrs {
 public:
  explicit XmlAttrs(const char** raw) : raw_(raw) {}
  std::optional<std::string_view> Get(std::string_view localName) const;
  bool Empty() const { return raw_[0] == nullptr; }
  size_t Count() const;

 private:
  const char** raw_;
};

class XmlReader;

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
inline constexpr std::string_view kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
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

  static constexpr int kMaxDepth = 256;
  // See XmlHandler::EventBytes.
  std::pair<int64_t, int64_t> EventBytes() const;

 private:
  static void OnStart(void* self, const char* name, const char** attrs);
  static void OnEnd(void* self, const char* name);
  static void OnText(void* self, const char* text, int length);
  static void OnDoctype(void* self, const char* name, const char* sysid, const char* pubid,
                        int hasInternalSubset);
  static void OnEntity(void* self, const char* name, int isParameter, const char* value,
                       int length, const char* base, const char* systemId, const char* publicId,
                       const char* notation);
  void Fail(std::exception_ptr error);

  XmlHandler& handler_;
  std::string what_;
  XML_ParserStruct* parser_;
  std::exception_ptr error_;
  int depth_ = 0;
};

}  // namespace tezlo
