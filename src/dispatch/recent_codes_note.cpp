#include "dispatch/recent_codes_note.h"

#include <string_view>
#include <vector>

#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/grid_state.h"
#include "dispatch/helpers.h"

namespace tezlo {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
// The highest line index looked at: lines 0 to 5.
constexpr int32_t kLastIndexKept = 5;

// Splits at every CR LF: an empty text gives no lines, a text ending in CR LF a last empty line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(kLineBreak, start);
    if (at == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      return lines;
    }
    lines.emplace_back(text.substr(start, at - start));
    start = at + kLineBreak.size();
  }
}

}  // namespace

void NoteRecentCode(Context& ctx, const std::string& caption) {
  ctx.flowFlag = Flow::GoOn;
  Step([&] { ComputeGridState(ctx); });

  int32_t noteCol = 0;
  Step([&] { noteCol = CheckedInt32(int64_t{ctx.curCol} + 1); });
  std::string text;
  Step([&] { text = ctx.host.CommentText(ctx.host.ActiveSheet(), Cell{ctx.curRow, noteCol}); });

  const std::vector<std::string> lines = SplitLines(text);
  const int32_t highest = static_cast<int32_t>(lines.size()) - 1;
  const int32_t last = highest < kLastIndexKept ? highest : kLastIndexKept;

  // A line's title starts at its 5th character ("*13 " before it), a caption's at its 4th.
  const std::string title = Mid(caption, 4);
  std::string kept;
  for (int32_t i = 0; i <= last; ++i) {
    const std::string& line = lines[static_cast<size_t>(i)];
    kept += line;
    kept += kLineBreak;
    if (Mid(line, 5) == title) return;  // already listed: the note stays as it is
  }

  const std::string number = Mid(caption, 2, 2);
  if (LeadingNumber(number) > 9) {
    const std::string note = "*" + number + " " + title + std::string(kLineBreak) + kept;
    SetCellNote(ctx, ctx.curRow, noteCol, note);
  }
}

}  // namespace tezlo
