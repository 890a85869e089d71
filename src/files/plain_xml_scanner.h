// A quick reader for the plainest XML, for the stretches of a part that repeat one small element
// millions of times (a worksheet's rows and cells), where a general parser spends most of a
// load. It reads one element with everything inside it, or declines it; it gives the events a
// conforming namespace-aware parser would give, and never accepts what such a parser rejects.
// It declines comments, processing instructions, CDATA sections, namespace declarations,
// carriage returns and other control characters, bytes outside ASCII, references other than the
// five predefined entities (and any reference in an attribute value), and elements of more than
// kMaxEvents events; the caller leaves what it declines to the full parser.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/xml_reader.h"

namespace tezlo {

struct PlainXmlEvent {
  enum class Kind : uint8_t { kStart, kEnd, kText };
  Kind kind = Kind::kText;
  std::string_view ns;
  std::string_view name;  // the local name; for kText the text itself
  uint32_t firstAttr = 0;
  uint32_t attrCount = 0;
  // The tag's bytes in the document (an empty element's end event is empty, at its tag's end).
  int64_t begin = 0;
  int64_t end = 0;
};

class PlainXmlScanner {
 public:
  // (prefix, namespace URI) pairs in scope, innermost last; the empty prefix is the default
  // namespace. They must outlive the scanner.
  using Bindings = std::vector<std::pair<std::string, std::string>>;
  explicit PlainXmlScanner(const Bindings& bindings);

  // Reads the element whose '<' is at `at`, at most `maxDepth` levels deep. Returns the offset
  // just past its end, with its events in Events(); nullopt when the element is declined.
  std::optional<size_t> ReadElement(std::string_view doc, size_t at, int maxDepth);

  const std::vector<PlainXmlEvent>& Events() const { return events_; }
  std::span<const XmlAttr> Attrs(const PlainXmlEvent& e) const {
    return {attrs_.data() + e.firstAttr, e.attrCount};
  }

  // Bounds the memory one element can take before the full parser is left to read it.
  static constexpr size_t kMaxEvents = size_t{1} << 18;

 private:
  struct Open {
    std::string_view qualified;
    std::string_view ns;
    std::string_view local;
  };
  std::optional<std::string_view> Resolve(std::string_view prefix) const;
  // Reads the start tag at `i`; returns the offset past it, or npos when declined.
  size_t ReadStartTag(std::string_view doc, size_t i, int maxDepth);
  size_t ReadEndTag(std::string_view doc, size_t i);
  // Reads character data from `i` to the next '<'; returns that offset, or npos when declined.
  size_t ReadText(std::string_view doc, size_t i);

  const Bindings& bindings_;
  std::string_view defaultNs_;
  std::vector<PlainXmlEvent> events_;
  std::vector<XmlAttr> attrs_;
  std::vector<Open> open_;
};

}  // namespace tezlo
