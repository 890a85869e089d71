// The two lists the two-column comparison is measured on: items of 6 to 18 letters and digits of
// mixed case; a quarter of each list is cut out of an item of the other list (with its case
// flipped), so both lists have matches. The same seed gives the same lists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tezlo::bench {

struct Lists {
  std::vector<std::string> left;
  std::vector<std::string> right;
};

Lists MakeLists(int32_t count);

}  // namespace tezlo::bench
