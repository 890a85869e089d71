// The order Range.Sort puts values in.
#pragma once

#include "host/value.h"

namespace tezlo {

// Ascending order of two non-empty values: numbers and dates by value, then texts (without
// regard to case, in the zh-CN collation, so Chinese sorts by pinyin), then FALSE, TRUE, then
// errors (all equal). Returns <0, 0, >0. Empty values are the caller's business: they go last
// in both directions.
int CompareForSort(const Value& a, const Value& b);

}  // namespace tezlo
