#include "files/shared_formulas.h"

#include <charconv>

#include "host/a1_address.h"

namespace tezlo {

namespace {

// A master's entry in the table: the hash node, its key and record, and the formula's bytes.
constexpr int64_t kMasterBytes = 96;

}  // namespace

std::optional<uint32_t> SharedFormulas::GroupNumber(std::string_view si) {
  uint32_t n = 0;
  const auto r = std::from_chars(si.data(), si.data() + si.size(), n);
  if (si.empty() || r.ec != std::errc() || r.ptr != si.data() + si.size()) return std::nullopt;
  return n;
}

int64_t SharedFormulas::AddMaster(std::string_view si, std::string_view ref, Cell cell,
                                  const std::string& formula) {
  const auto group = GroupNumber(si);
  const auto range = ParseAreaRef(ref);
  if (!group) return 0;
  if (!range || !range->Contains(cell)) {
    // The group's followers must not take an earlier master of the same number.
    masters_.erase(*group);
    return 0;
  }
  masters_[*group] = Master{cell, *range, formula};
  return kMasterBytes + static_cast<int64_t>(formula.size());
}

std::optional<std::string> SharedFormulas::FollowerFormula(std::string_view si, Cell cell) const {
  const auto group = GroupNumber(si);
  if (!group) return std::nullopt;
  const auto it = masters_.find(*group);
  if (it == masters_.end() || !it->second.range.Contains(cell)) return std::nullopt;
  const Master& m = it->second;
  auto moved = MoveRelativeRefs(m.formula, cell.row - m.cell.row, cell.col - m.cell.col, grid_);
  return moved ? std::move(*moved) : m.formula;
}

}  // namespace tezlo
