// The shared formulas of one worksheet while it is read. A group's first cell (its master) holds
// the formula text, a group number and the range the group covers; every other cell of the group
// names the number only and holds the master's formula as it reads copied to that cell: relative
// references moved by the cell's distance from the master, "$" parts staying.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/cell.h"
#include "memory/formula_refs.h"

namespace tezlo {

class SharedFormulas {
 public:
  explicit SharedFormulas(GridSize grid) : grid_(grid) {}

  // Notes `cell` as the master of group `si` holding `formula` ("=..."), for the cells of `ref`.
  // A later master of the same group replaces the earlier one. Returns the bytes the entry takes,
  // for the reader's memory budget; 0 when nothing is noted (a group number that is not one, a
  // range that is malformed or does not hold the master: the group's other cells find nothing).
  int64_t AddMaster(std::string_view si, std::string_view ref, Cell cell,
                    const std::string& formula);

  // The formula of `cell`, a follower of group `si`; nothing when the group has no master read
  // before it or the cell lies outside the master's range.
  std::optional<std::string> FollowerFormula(std::string_view si, Cell cell) const;

 private:
  struct Master {
    Cell cell;
    Area range;
    std::string formula;
  };
  static std::optional<uint32_t> GroupNumber(std::string_view si);

  GridSize grid_;
  std::unordered_map<uint32_t, Master> masters_;
};

}  // namespace tezlo
