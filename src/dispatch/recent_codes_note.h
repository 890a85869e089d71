// The most-recent-first list of list and conversion tools kept, per topic block, in the comment
// of the cell right of the topic word.
#pragma once

#include <string>

#include "dispatch/context.h"

namespace tezlo {

// `caption` is "j", the two-digit code number and the tool's title ("j13获取桌面文件列表").
// Recomputes the grid state, reads the note of (curRow, curCol + 1) and, unless one of its top
// six lines already names the title, puts "*13 获取桌面文件列表" on top (CR LF after every line;
// the note keeps at most 7 lines). Sets flowFlag to GoOn. Each step that fails is skipped.
void NoteRecentCode(Context& ctx, const std::string& caption);

}  // namespace tezlo
