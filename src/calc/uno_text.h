// Text between the port (UTF-8) and UNO (UTF-16 OUString).
#pragma once

#include <string>
#include <string_view>

#include <rtl/ustring.hxx>

namespace tezlo {

using ::rtl::OUString;

OUString ToOUString(std::string_view utf8);
std::string ToUtf8(const OUString& text);

}  // namespace tezlo
