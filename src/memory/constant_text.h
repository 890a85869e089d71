// A constant as Range.Formula reads it back: the value as it would be typed.
#pragma once

#include <string>

#include "host/value.h"

namespace tezlo {

// Numbers with up to 15 significant digits ("54", "13.5", "1.10105199003077E+17"), dates as
// "yyyy/m/d", booleans "TRUE" / "FALSE", errors by their text, texts as they are, empty "".
std::string ConstantText(const Value& value);

}  // namespace tezlo
