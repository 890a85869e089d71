#include "files/ole_file.h"

namespace tezlo {

std::optional<std::string> DescribeOleFile(std::string_view bytes) {
  static constexpr std::string_view kOleSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  if (bytes.substr(0, kOleSignature.size()) != kOleSignature) return std::nullopt;
  // An encrypted package keeps the workbook in a stream named EncryptedPackage; directory
  // entries name their streams in UTF-16.
  static constexpr std::string_view kEncrypted("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0",
                                               32);
  if (bytes.find(kEncrypted) != std::string_view::npos) {
    return "is encrypted (protected by a password), which Tezlo cannot open; remove the password "
           "in the "
           "spreadsheet and save it again";
  }
  return "is a binary .xls workbook (an OLE compound file), which Tezlo cannot open; save it as "
         ".xlsx in the "
         "spreadsheet";
}

}  // namespace tezlo
