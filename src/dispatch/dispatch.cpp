#include "dispatch/dispatch.h"

#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/internal_error.h"
#include "dispatch/prepare_workbook.h"
#include "dispatch/recent_codes_note.h"

namespace tezlo {

bool CodeTest::Holds(std::string_view code) const {
  using K = Kind;
  switch (kind) {
    case K::FirstCharIn: return !code.empty() && text.find(code.front()) != std::string_view::npos;
    case K::Empty: return code.empty();
    case K::StartsWith: return code.starts_with(text);
    case K::NumberEquals: return LeadingNumber(code) == number;
    case K::NumberAbove: return LeadingNumber(code) > number;
    case K::Exactly: return code == text;
  }
  return false;
}

const DispatchRow* MatchingRow(ToolTable table, std::string_view code) {
  for (const DispatchRow& row : table) {
    if (row.test.Holds(code)) return &row;
  }
  return nullptr;
}

void Dispatch(Context& ctx) {
  ctx.internalError.reset();
  try {
    if (ctx.flowFlag == Flow::SkipNextOnce) {
      ctx.flowFlag = Flow::GoOn;
      return;
    }
    Step([&] { PrepareWorkbook(ctx); });
    if (ctx.flowFlag == Flow::Stop) return;

    if (const DispatchRow* row = MatchingRow(ctx.tools, ctx.funcCode)) {
      if (row->caption != nullptr) Step([&] { NoteRecentCode(ctx, row->caption); });
      Step([&] { row->tool(ctx); });
    }
  } catch (const HostError&) {
    // A refused host call that the tool's own failure handling let through ends the command
    // silently, with what it had already changed.
  } catch (const std::exception& e) {
    ReportInternalError(ctx, e.what());
  } catch (...) {
    ReportInternalError(ctx, "an exception of unknown type");
  }
}

}  // namespace tezlo
