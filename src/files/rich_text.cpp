#include "files/rich_text.h"

#include <memory>
#include <vector>

#include "files/package_parts.h"
#include "files/workbook_file.h"
#include "files/xml_reader.h"
#include "files/zip_package.h"

namespace tezlo {

std::optional<std::string> RichTextShown(std::string_view runs) {
  // The runs inside the item as the part we write holds them, read as the shared texts part is
  // read. A source that spelt them with a prefix its own root declared ("x:r") leaves that
  // prefix undeclared here: the parser refuses it, and the caller writes the text plain.
  std::string part("<sst xmlns=\"");
  part += kMainNs;
  part += "\"><si>";
  part += runs;
  part += "</si></sst>";
  std::vector<std::string> texts;
  std::vector<std::shared_ptr<const std::string>> kept;
  SharedStringsReader reader(part, texts, kept);
  try {
    ParseXmlBytes(part, "formatted text", reader);
  } catch (const FileError&) {
    return std::nullopt;
  }
  // Runs that would close the item and open another are not one item's runs.
  if (texts.size() != 1) return std::nullopt;
  return std::move(texts.front());
}

}  // namespace tezlo
