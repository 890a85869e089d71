#include "calc/uno_text.h"

#include <rtl/string.hxx>

#include "text/valid_utf8.h"

namespace tezlo {

OUString ToOUString(std::string_view utf8) {
  // Bytes that are not UTF-8 become replacement characters rather than a failed conversion.
  const std::string valid = ValidUtf8(utf8);
  return OUString(valid.data(), static_cast<sal_Int32>(valid.size()), RTL_TEXTENCODING_UTF8);
}

std::string ToUtf8(const OUString& text) {
  const rtl::OString bytes = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
  return std::string(bytes.getStr(), static_cast<size_t>(bytes.getLength()));
}

}  // namespace tezlo
