// Which texts of one list occur inside some text of another list, as substrings. The texts are
// compared unit by unit, so callers fold case first (see text/case_fold.h).
#pragma once

#include <string>
#include <vector>

namespace tezlo {

// For every needle, whether at least one haystack contains it. The empty needle is contained
// in every text, so it is found exactly when there is at least one haystack.
//
// Builds an Aho-Corasick automaton over the needles and runs every haystack through it once:
// time grows with the total length of both lists, not with their product.
std::vector<bool> FoundInAny(const std::vector<std::u32string>& needles,
                             const std::vector<std::u32string>& haystacks);

// The same answer by searching every haystack for every needle in turn (needles x haystacks
// searches): the yardstick the index is checked against.
std::vector<bool> FoundInAnyByScan(const std::vector<std::u32string>& needles,
                                   const std::vector<std::u32string>& haystacks);

}  // namespace tezlo
