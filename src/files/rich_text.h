// Texts with formatted runs (bold words, colours, phonetic guides), carried through a load and a
// save as the XML a file held inside their <si> or <is> element (CellExtras::richText).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tezlo {

// The text `runs` show (their <t> elements joined, phonetic runs left out, as the shared texts
// part is read) when they can be written as one <si> of the part Tezlo writes, whose root
// declares nothing but the main namespace as the default one: well-formed there, with every
// prefix they use declared inside them. nullopt otherwise.
std::optional<std::string> RichTextShown(std::string_view runs);

}  // namespace tezlo
