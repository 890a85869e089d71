#include "files/xml_reader.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "files/arriving_bytes.h"
#include "files/plain_xml_scanner.h"
#include "files/raw_tag.h"
#include "files/workbook_file.h"

namespace tezlo {

namespace {

// Expat joins a namespace URI and a local name with this character.
constexpr char kNsSeparator = '\x01';

std::pair<std::string_view, std::string_view> Split(const char* qualified) {
  const std::string_view all(qualified);
  const size_t sep = all.find(kNsSeparator);
  if (sep == std::string_view::npos) return {std::string_view(), all};
  return {all.substr(0, sep), all.substr(sep + 1)};
}

}  // namespace

std::optional<std::string_view> XmlAttrs::Get(std::string_view localName) const {
  for (const XmlAttr& a : attrs_) {
    if (XmlNameIs(a.local, localName)) return a.value;
  }
  return std::nullopt;
}

XmlReader::XmlReader(XmlHandler& handler, std::string what)
    : handler_(handler),
      what_(std::move(what)),
      parser_(XML_ParserCreateNS("UTF-8", kNsSeparator)) {
  if (parser_ == nullptr) throw FileError("out of memory reading " + what_);
  XML_SetUserData(parser_, this);
  handler_.source_ = this;
  XML_SetElementHandler(parser_, &XmlReader::OnStart, &XmlReader::OnEnd);
  XML_SetCharacterDataHandler(parser_, &XmlReader::OnText);
  XML_SetNamespaceDeclHandler(parser_, &XmlReader::OnNamespaceStart, &XmlReader::OnNamespaceEnd);
  XML_SetStartDoctypeDeclHandler(parser_, &XmlReader::OnDoctype);
  XML_SetEntityDeclHandler(parser_, &XmlReader::OnEntity);
  XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
}

std::pair<int64_t, int64_t> XmlHandler::EventBytes() const {
  return source_ != nullptr ? source_->EventBytes() : std::pair<int64_t, int64_t>{0, 0};
}

std::pair<int64_t, int64_t> XmlReader::EventBytes() const {
  if (quick_) return quickEvent_;
  const auto start = static_cast<int64_t>(XML_GetCurrentByteIndex(parser_)) + skippedBytes_;
  return {start, start + XML_GetCurrentByteCount(parser_)};
}

XmlReader::~XmlReader() {
  handler_.source_ = nullptr;
  XML_ParserFree(parser_);
}

void XmlReader::Fail(std::exception_ptr error) {
  if (!error_) error_ = std::move(error);
  XML_StopParser(parser_, XML_FALSE);
}

void XmlReader::OnStart(void* self, const char* name, const char** attrs) {
  auto* r = static_cast<XmlReader*>(self);
  if (r->error_) return;
  try {
    if (++r->depth_ > kMaxDepth) throw FileError(r->what_ + " nests elements too deeply");
    const auto [ns, local] = Split(name);
    r->attrs_.clear();
    for (const char** a = attrs; a[0] != nullptr; a += 2) {
      const auto [attrNs, attrLocal] = Split(a[0]);
      r->attrs_.push_back(XmlAttr{attrNs, attrLocal, a[1]});
    }
    if (r->depth_ == 2 && !r->quickParent_.empty() && local == r->quickParent_) {
      r->quickParentEnd_ =
          XML_GetCurrentByteIndex(r->parser_) + XML_GetCurrentByteCount(r->parser_);
    }
    r->handler_.Start(ns, local, XmlAttrs(r->attrs_));
  } catch (...) {
    r->Fail(std::current_exception());
  }
}

void XmlReader::OnEnd(void* self, const char* name) {
  auto* r = static_cast<XmlReader*>(self);
  if (r->error_) return;
  try {
    --r->depth_;
    const auto [ns, local] = Split(name);
    r->handler_.End(ns, local);
  } catch (...) {
    r->Fail(std::current_exception());
  }
}

void XmlReader::OnText(void* self, const char* text, int length) {
  auto* r = static_cast<XmlReader*>(self);
  if (r->error_) return;
  try {
    r->handler_.Text(std::string_view(text, static_cast<size_t>(length)));
  } catch (...) {
    r->Fail(std::current_exception());
  }
}

void XmlReader::OnNamespaceStart(void* self, const char* prefix, const char* uri) {
  auto* r = static_cast<XmlReader*>(self);
  r->bindings_.emplace_back(prefix != nullptr ? prefix : "", uri != nullptr ? uri : "");
}

void XmlReader::OnNamespaceEnd(void* self, const char* prefix) {
  auto* r = static_cast<XmlReader*>(self);
  const std::string_view p = prefix != nullptr ? prefix : "";
  const auto b = std::find_if(r->bindings_.rbegin(), r->bindings_.rend(),
                              [p](const auto& e) { return e.first == p; });
  if (b != r->bindings_.rend()) r->bindings_.erase(std::next(b).base());
}

void XmlReader::OnDoctype(void* self, const char*, const char*, const char*, int) {
  auto* r = static_cast<XmlReader*>(self);
  r->Fail(std::make_exception_ptr(
      FileError(r->what_ + " declares a document type, which workbooks never do")));
}

void XmlReader::OnEntity(void* self, const char*, int, const char*, int, const char*, const char*,
                         const char*, const char*) {
  auto* r = static_cast<XmlReader*>(self);
  r->Fail(std::make_exception_ptr(
      FileError(r->what_ + " declares entities, which workbooks never do")));
}

void XmlReader::Feed(const char* data, size_t size, bool last) {
  while (true) {
    const int piece =
        size > static_cast<size_t>(INT_MAX / 2) ? INT_MAX / 2 : static_cast<int>(size);
    const bool final = last && static_cast<size_t>(piece) == size;
    const XML_Status status = XML_Parse(parser_, data, piece, final ? XML_TRUE : XML_FALSE);
    if (error_) std::rethrow_exception(error_);
    if (status != XML_STATUS_OK) {
      throw FileError(
          what_ + " is not well-formed XML (line " +
          std::to_string(static_cast<int64_t>(XML_GetCurrentLineNumber(parser_)) + skippedLines_) +
          ": " + XML_ErrorString(XML_GetErrorCode(parser_)) + ")");
    }
    data += piece;
    size -= static_cast<size_t>(piece);
    if (size == 0) return;
  }
}

void XmlReader::ReadDocument(std::string_view document, std::string_view quickParent) {
  ArrivingBytes whole(document);
  ReadDocument(whole, quickParent);
}

void XmlReader::ReadDocument(ArrivingBytes& document, std::string_view quickParent) {
  size_t fed = quickParent.empty() ? 0 : ReadQuickly(document, quickParent);
  for (ArrivingBytes::Arrived now = document.Wait(fed);; now = document.Wait(fed)) {
    Feed(now.bytes.data() + fed, now.bytes.size() - fed, now.complete);
    fed = now.bytes.size();
    if (now.complete) return;
  }
}

size_t XmlReader::ReadQuickly(ArrivingBytes& source, std::string_view quickParent) {
  // What has arrived; an element cut off where the bytes end so far is tried again when more
  // are there, and declined only once the document is whole.
  ArrivingBytes::Arrived now = source.Wait(0);
  TagSpan tag;
  for (size_t from = 0;; from = tag.end) {
    tag = NextTagSpan(now.bytes, from);
    if (tag.begin != std::string_view::npos && !tag.closing && tag.local == quickParent) break;
    if (tag.begin == std::string_view::npos) {
      if (now.complete) return 0;
      now = source.Wait(now.bytes.size());
      tag.end = from;
    }
  }
  if (tag.empty) return 0;
  // The parser reads up to the end of that start tag; the quick reading starts only when the
  // parser met it there as the root's child (not inside a comment, say).
  quickParent_ = quickParent;
  Feed(now.bytes.data(), tag.end, false);
  quickParent_ = {};
  if (quickParentEnd_ != static_cast<int64_t>(tag.end)) return tag.end;

  PlainXmlScanner scanner(bindings_);
  size_t at = tag.end;
  while (true) {
    const std::string_view document = now.bytes;
    size_t next = at;
    while (next < document.size() &&
           (document[next] == ' ' || document[next] == '\t' || document[next] == '\n')) {
      ++next;
    }
    const auto end = next < document.size()
                         ? scanner.ReadElement(document, next, kMaxDepth - depth_)
                         : std::nullopt;
    if (!end) {
      if (now.complete) break;
      now = source.Wait(document.size());
      continue;
    }
    if (next > at) handler_.Text(document.substr(at, next - at));
    quick_ = true;
    for (const PlainXmlEvent& e : scanner.Events()) {
      quickEvent_ = {e.begin, e.end};
      switch (e.kind) {
        case PlainXmlEvent::Kind::kStart:
          ++depth_;
          handler_.Start(e.ns, e.name, XmlAttrs(scanner.Attrs(e)));
          break;
        case PlainXmlEvent::Kind::kEnd:
          --depth_;
          handler_.End(e.ns, e.name);
          break;
        case PlainXmlEvent::Kind::kText: handler_.Text(e.name); break;
      }
    }
    quick_ = false;
    at = *end;
  }
  const std::string_view document = now.bytes;
  skippedBytes_ = static_cast<int64_t>(at - tag.end);
  skippedLines_ = std::count(document.begin() + static_cast<std::ptrdiff_t>(tag.end),
                             document.begin() + static_cast<std::ptrdiff_t>(at), '\n');
  return at;
}

}  // namespace tezlo
