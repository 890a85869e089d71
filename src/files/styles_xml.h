// Editing the text of a styles part kept as it was read: finding its cell formats and appending
// entries to its lists, leaving every other byte as it was.
//
// The part has been parsed (so it is well-formed) before any of these run; they look only at
// tags, and an element they cannot find leaves the text unchanged.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tezlo {

// The <xf> elements of the part's cellXfs list, each as its text, in order.
std::vector<std::string> CellXfTexts(std::string_view xml);

// The namespace prefix with its colon ("x:") the part's root element uses, or "".
std::string RootPrefix(std::string_view xml);

// `xml` with `items` appended at the end of the list element `list` ("numFmts", "fills",
// "cellXfs") and its count attribute raised by `added`. A list the part lacks is made, right
// after the root's start tag (where numFmts belongs).
std::string AppendToList(std::string xml, std::string_view list, std::string_view items, int added);

// The element `element` (its text, starting with its start tag) with attribute `name` set to
// `value`, or removed when `value` is empty.
std::string WithAttribute(std::string element, std::string_view name, std::string_view value);

}  // namespace tezlo
