// Whether a text reads as a number the way the spreadsheet's macro language tests it.
#pragma once

#include <string_view>

namespace tezlo {

// Blanks around it allowed; an optional sign; digits with "," between digits of the whole part,
// an optional "." and digits, an optional E or D exponent; or "&H" / "&O" with hexadecimal or
// octal digits. At least one digit. "00123", " -1,234.5 ", "1e3" and "&H1F" read as numbers;
// "", "abc", "12abc", "1.2.3" and "-" do not.
bool ReadsAsNumber(std::string_view text);

}  // namespace tezlo
