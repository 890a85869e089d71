#include "files/xml_reader.h"

#include <expat.h>

#include <climits>
#include <utility>

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
  for (const char** a = raw_; a[0] != nullptr; a += 2) {
    if (Split(a[0]).second == localName) return std::string_view(a[1]);
  }
  return std::nullopt;
}

size_t XmlAttrs::Count() const {
  size_t n = 0;
  for (const char** a = raw_; a[0] != nullptr; a += 2) ++n;
  return n;
}

XmlReader::XmlReader(XmlHandler& handler, std::string what)
    : handler_(handler), what_(std::move(what)), parser_(XML_ParserCreateNS("UTF-8", kNsSeparator)) {
  if (parser_ == nullptr) throw FileError("out of memory reading " + what_);
  XML_SetUserData(parser_, this);
  handler_.source_ = this;
  XML_SetElementHandler(parser_, &XmlReader::OnStart, &XmlReader::OnEnd);
  XML_SetCharacterDataHandler(parser_, &XmlReader::OnText);
  XML_SetStartDoctypeDeclHandler(parser_, &XmlReader::OnDoctype);
  XML_SetEntityDeclHandler(parser_, &XmlReader::OnEntity);
  XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
}

std::pair<int64_t, int64_t> XmlHandler::EventBytes() const {
  return source_ != nullptr ? source_->EventBytes() : std::pair<int64_t, int64_t>{0, 0};
}

std::pair<int64_t, int64_t> XmlReader::EventBytes() const {
  const auto start = static_cast<int64_t>(XML_GetCurrentByteIndex(parser_));
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
    r->handler_.Start(ns, local, XmlAttrs(attrs));
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

void XmlReader::OnDoctype(void* self, const char*, const char*, const char*, int) {
  auto* r = static_cast<XmlReader*>(self);
  r->Fail(std::make_exception_ptr(FileError(r->what_ + " declares a document type, which workbooks never do")));
}

void XmlReader::OnEntity(void* self, const char*, int, const char*, int, const char*, const char*,
                         const char*, const char*) {
  auto* r = static_cast<XmlReader*>(self);
  r->Fail(std::make_exception_ptr(FileError(r->what_ + " declares entities, which workbooks never do")));
}

void XmlReader::Feed(const char* data, size_t size, bool last) {
  while (true) {
    const int piece = size > static_cast<size_t>(INT_MAX / 2) ? INT_MAX / 2 : static_cast<int>(size);
    const bool final = last && static_cast<size_t>(piece) == size;
    const XML_Status status = XML_Parse(parser_, data, piece, final ? XML_TRUE : XML_FALSE);
    if (error_) std::rethrow_exception(error_);
    if (status != XML_STATUS_OK) {
      throw FileError(what_ + " is not well-formed XML (line " +
                      std::to_string(XML_GetCurrentLineNumber(parser_)) + ": " +
                      XML_ErrorString(XML_GetErrorCode(parser_)) + ")");
    }
    data += piece;
    size -= static_cast<size_t>(piece);
    if (size == 0) return;
  }
}

}  // namespace tezlo
