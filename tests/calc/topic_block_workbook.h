// A small workbook in the layout the topic tools work on, built through any host: "+1" with a
// topic index of 100 rows (J1 = 100), topic blocks in the first column block from row 101 and in
// the second from row 1; "+2" with one topic block of its wider column block; and a third sheet,
// "Notes", that is not a working sheet.
#pragma once

#include "host/host.h"

namespace tezlo {

// The active workbook (with at least one sheet) becomes that workbook, "+1" active at A1.
void BuildTopicBlockWorkbook(Host& host);

}  // namespace tezlo
