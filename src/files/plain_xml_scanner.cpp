#include "files/plain_xml_scanner.h"

#include <algorithm>
#include <array>

namespace tezlo {

namespace {

constexpr size_t kNone = std::string_view::npos;
constexpr std::string_view kXmlNamespace = "http://www.w3.org/XML/1998/namespace";

bool NameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool NameChar(char c) { return NameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }
// White space as XML has it, less the carriage return (which the parser would normalise).
bool Space(char c) { return c == ' ' || c == '\t' || c == '\n'; }

size_t SkipSpace(std::string_view doc, size_t i) {
  while (i < doc.size() && Space(doc[i])) ++i;
  return i;
}

// Reads an ASCII qualified name at `i` into its prefix and local part; returns its end, or
// kNone when there is no such name there.
size_t ReadName(std::string_view doc, size_t i, std::string_view& prefix, std::string_view& local) {
  auto part = [&doc](size_t from) {
    if (from >= doc.size() || !NameStart(doc[from])) return kNone;
    size_t to = from + 1;
    while (to < doc.size() && NameChar(doc[to])) ++to;
    return to;
  };
  const size_t first = part(i);
  if (first == kNone) return kNone;
  if (first < doc.size() && doc[first] == ':') {
    const size_t second = part(first + 1);
    if (second == kNone || (second < doc.size() && doc[second] == ':')) return kNone;
    prefix = doc.substr(i, first - i);
    local = doc.substr(first + 1, second - first - 1);
    return second;
  }
  prefix = {};
  local = doc.substr(i, first - i);
  return first;
}

// The five predefined entities and what they stand for.
constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kEntities = {{
    {"&amp;", "&"},
    {"&lt;", "<"},
    {"&gt;", ">"},
    {"&quot;", "\""},
    {"&apos;", "'"},
}};

}  // namespace

PlainXmlScanner::PlainXmlScanner(const Bindings& bindings) : bindings_(bindings) {
  if (const auto ns = Resolve("")) defaultNs_ = *ns;
}

std::optional<std::string_view> PlainXmlScanner::Resolve(std::string_view prefix) const {
  if (prefix == "xml") return kXmlNamespace;
  for (auto b = bindings_.rbegin(); b != bindings_.rend(); ++b) {
    if (b->first == prefix) return std::string_view(b->second);
  }
  if (prefix.empty()) return std::string_view();  // no default namespace
  return std::nullopt;
}

std::optional<size_t> PlainXmlScanner::ReadElement(std::string_view doc, size_t at, int maxDepth) {
  events_.clear();
  attrs_.clear();
  open_.clear();
  size_t i = at;
  while (true) {
    if (events_.size() > kMaxEvents || i + 1 >= doc.size() || doc[i] != '<') return std::nullopt;
    const char next = doc[i + 1];
    if (next == '!' || next == '?') return std::nullopt;
    i = next == '/' ? ReadEndTag(doc, i) : ReadStartTag(doc, i, maxDepth);
    if (i == kNone) return std::nullopt;
    if (open_.empty()) return i;
    i = ReadText(doc, i);
    if (i == kNone) return std::nullopt;
  }
}

size_t PlainXmlScanner::ReadStartTag(std::string_view doc, size_t i, int maxDepth) {
  if (static_cast<int>(open_.size()) >= maxDepth) return kNone;
  std::string_view prefix;
  std::string_view local;
  size_t j = ReadName(doc, i + 1, prefix, local);
  if (j == kNone || prefix == "xmlns") return kNone;
  const auto ns = prefix.empty() ? std::optional<std::string_view>(defaultNs_) : Resolve(prefix);
  if (!ns) return kNone;
  PlainXmlEvent start{
      PlainXmlEvent::Kind::kStart, *ns, local, static_cast<uint32_t>(attrs_.size()), 0,
      static_cast<int64_t>(i),     0};
  const std::string_view qualified = doc.substr(i + 1, j - i - 1);
  while (true) {
    const size_t before = j;
    j = SkipSpace(doc, j);
    if (j >= doc.size()) return kNone;
    if (doc[j] == '>' || doc[j] == '/') break;
    if (j == before) return kNone;  // attributes are set apart by white space
    std::string_view attrPrefix;
    std::string_view attrLocal;
    j = ReadName(doc, j, attrPrefix, attrLocal);
    if (j == kNone || attrPrefix == "xmlns" || (attrPrefix.empty() && attrLocal == "xmlns"))
      return kNone;
    std::string_view attrNs;
    if (!attrPrefix.empty()) {
      const auto resolved = Resolve(attrPrefix);
      if (!resolved) return kNone;
      attrNs = *resolved;
    }
    j = SkipSpace(doc, j);
    if (j >= doc.size() || doc[j] != '=') return kNone;
    j = SkipSpace(doc, j + 1);
    if (j >= doc.size() || (doc[j] != '"' && doc[j] != '\'')) return kNone;
    const char quote = doc[j];
    const size_t value = ++j;
    for (; j < doc.size() && doc[j] != quote; ++j) {
      const auto c = static_cast<unsigned char>(doc[j]);
      // Control characters, white space other than the space, and references would be
      // normalised or replaced by the parser; '<' is not allowed at all.
      if (c < 0x20 || c >= 0x80 || c == '<' || c == '&') return kNone;
    }
    if (j >= doc.size()) return kNone;
    for (size_t k = start.firstAttr; k < attrs_.size(); ++k) {
      if (attrs_[k].local == attrLocal && attrs_[k].ns == attrNs) return kNone;  // twice
    }
    attrs_.push_back(XmlAttr{attrNs, attrLocal, doc.substr(value, j - value)});
    ++j;
  }
  const bool empty = doc[j] == '/';
  if (empty && (j + 1 >= doc.size() || doc[j + 1] != '>')) return kNone;
  j += empty ? 2 : 1;
  start.attrCount = static_cast<uint32_t>(attrs_.size() - start.firstAttr);
  start.end = static_cast<int64_t>(j);
  events_.push_back(start);
  if (empty) {
    const auto at = static_cast<int64_t>(j);
    events_.push_back(PlainXmlEvent{PlainXmlEvent::Kind::kEnd, *ns, local, 0, 0, at, at});
  } else {
    open_.push_back(Open{qualified, *ns, local});
  }
  return j;
}

size_t PlainXmlScanner::ReadEndTag(std::string_view doc, size_t i) {
  if (open_.empty()) return kNone;
  const Open open = open_.back();
  const size_t name = i + 2;
  if (doc.compare(name, open.qualified.size(), open.qualified) != 0) return kNone;
  const size_t j = SkipSpace(doc, name + open.qualified.size());
  if (j >= doc.size() || doc[j] != '>') return kNone;
  events_.push_back(PlainXmlEvent{PlainXmlEvent::Kind::kEnd, open.ns, open.local, 0, 0,
                                  static_cast<int64_t>(i), static_cast<int64_t>(j + 1)});
  open_.pop_back();
  return j + 1;
}

size_t PlainXmlScanner::ReadText(std::string_view doc, size_t i) {
  auto text = [this](std::string_view piece) {
    if (!piece.empty())
      events_.push_back(PlainXmlEvent{PlainXmlEvent::Kind::kText, {}, piece, 0, 0, 0, 0});
  };
  size_t from = i;
  while (true) {
    if (i >= doc.size()) return kNone;
    const char c = doc[i];
    if (c == '<') break;
    if (c == '&') {
      text(doc.substr(from, i - from));
      const auto entity = std::find_if(kEntities.begin(), kEntities.end(), [&](const auto& e) {
        return doc.compare(i, e.first.size(), e.first) == 0;
      });
      if (entity == kEntities.end()) return kNone;
      text(entity->second);
      i += entity->first.size();
      from = i;
      continue;
    }
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\t' && c != '\n') || u >= 0x80) return kNone;
    if (c == '>' && i >= 2 && doc[i - 1] == ']' && doc[i - 2] == ']') return kNone;  // "]]>"
    ++i;
  }
  text(doc.substr(from, i - from));
  return i;
}

}  // namespace tezlo
