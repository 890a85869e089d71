// A start tag taken from a part as it was written: its name and attributes with their values
// exactly as they appear in the file (entity references and all), so that what the engine does
// not change is written back character for character. Used on tags whose bytes the readers
// keep (see kept_content.h); the XML around them was already checked by the parser.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tezlo {

struct RawAttr {
  std::string name;   // qualified, as written ("r:id")
  std::string value;  // as written between the quotes
};

struct RawTag {
  std::string name;
  std::vector<RawAttr> attrs;
  bool empty = false;  // written as <name .../>

  // The attribute whose local name is `local` (prefix ignored), or nullptr.
  const RawAttr* Find(std::string_view local) const;
  // Sets the attribute with that local name (added as `local` when missing); `value` must be
  // escaped already.
  void Set(std::string_view local, std::string value);
  void Remove(std::string_view local);
  void AppendTo(std::string& out) const;
};

// Appends ` name="value"` for each attribute.
void AppendRawAttrs(std::string& out, const std::vector<RawAttr>& attrs);
// Whether `attrs` hold one whose local name is `local`; `attrs` without those.
bool HasAttr(const std::vector<RawAttr>& attrs, std::string_view local);
std::vector<RawAttr> WithoutAttr(const std::vector<RawAttr>& attrs, std::string_view local);

// Parses `<name attr="v" ...>` or `<name .../>`; nullopt when `tag` is not one.
std::optional<RawTag> ParseStartTag(std::string_view tag);

// The root element of a part the writer makes: `name`, with the attributes (namespace
// declarations above all) of the root the file had, and the main and relationships namespaces
// declared when it did not declare them.
RawTag RootTag(const std::optional<RawTag>& kept, std::string name);

// A tag found in kept bytes: where its '<' is, one past its '>', its local name and its kind.
struct TagSpan {
  size_t begin = std::string_view::npos;  // npos: no tag
  size_t end = 0;
  std::string_view local;
  bool closing = false;
  bool empty = false;  // <name .../>
};
// The next start or end tag at or after `from`; comments, CDATA sections, processing
// instructions and declarations are passed over. `begin` is npos when none is left.
TagSpan NextTagSpan(std::string_view xml, size_t from);

// The local part of a qualified name ("r:id" -> "id").
std::string_view LocalName(std::string_view qualified);

}  // namespace tezlo
