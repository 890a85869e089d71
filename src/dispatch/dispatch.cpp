#include "dispatch/dispatch.h"

#include <array>

#include "dispatch/conversions.h"
#include "dispatch/error_modes.h"
#include "dispatch/helpers.h"
#include "dispatch/internal_error.h"
#include "dispatch/prepare_workbook.h"
#include "dispatch/recent_codes_note.h"

namespace tezlo {
namespace {

// Runs the tool in one Toolset slot; an empty slot does nothing.
template <Tool Toolset::*slot>
void RunSlot(Context& ctx) {
  if (const Tool tool = ctx.tools.*slot) tool(ctx);
}

void GoToTopLeft(Context& ctx) { GoToCell(ctx, Cell{1, 1}); }

using K = CodeTest::Kind;

constexpr CodeTest FirstCharIn(std::string_view chars) { return {K::FirstCharIn, chars, 0}; }
constexpr CodeTest IsEmpty() { return {K::Empty, {}, 0}; }
constexpr CodeTest StartsWith(std::string_view prefix) { return {K::StartsWith, prefix, 0}; }
constexpr CodeTest NumberEquals(double n) { return {K::NumberEquals, {}, n}; }
constexpr CodeTest NumberAbove(double n) { return {K::NumberAbove, {}, n}; }
constexpr CodeTest Exactly(std::string_view code) { return {K::Exactly, code, 0}; }

constexpr std::array kTable = {
    DispatchRow{FirstCharIn("0/"), nullptr, &RunSlot<&Toolset::GoToVisibleCell>},
    DispatchRow{IsEmpty(), nullptr, &GoToTopLeft},
    DispatchRow{StartsWith("++"), nullptr, &RunSlot<&Toolset::InsertBlockRow>},
    DispatchRow{StartsWith("--"), nullptr, &RunSlot<&Toolset::DeleteBlockRow>},
    DispatchRow{StartsWith("+"), nullptr, &RunSlot<&Toolset::InsertBlockRows>},
    DispatchRow{StartsWith("-"), nullptr, &RunSlot<&Toolset::DeleteBlockRows>},
    DispatchRow{NumberEquals(999), nullptr, &RunSlot<&Toolset::SlimSheetToEnd>},
    DispatchRow{NumberAbove(100), nullptr, &RunSlot<&Toolset::GoToTopicWord>},
    DispatchRow{Exactly("*1"), nullptr, &RunSlot<&Toolset::SetUpSheet>},
    DispatchRow{Exactly("*2"), nullptr, &RunSlot<&Toolset::SwapTwoCells>},
    DispatchRow{Exactly("*3"), nullptr, &RunSlot<&Toolset::SwapRegionRows>},
    DispatchRow{Exactly("*4"), nullptr, &RunSlot<&Toolset::SwapRegionColumns>},
    DispatchRow{Exactly("*5"), nullptr, &RunSlot<&Toolset::SortRegionAscending>},
    DispatchRow{Exactly("*6"), nullptr, &RunSlot<&Toolset::SortRegionDescending>},
    DispatchRow{Exactly("*13"), "j13获取桌面文件列表", &RunSlot<&Toolset::ListDesktopFiles>},
    DispatchRow{Exactly("*14"), "j14获取所有进程列表", &RunSlot<&Toolset::ListProcesses>},
    DispatchRow{Exactly("*21"), "j21身份证信息", &RunSlot<&Toolset::ExpandIdCardInfo>},
    DispatchRow{Exactly("*22"), "j22文本与数字互换", &RunSlot<&Toolset::SwapTextAndNumber>},
    DispatchRow{Exactly("*7"), nullptr, &RunSlot<&Toolset::SaveBlockSizes>},
    DispatchRow{Exactly("*8"), nullptr, &RunSlot<&Toolset::RestoreBlockSizes>},
    DispatchRow{Exactly("*9"), nullptr, &RunSlot<&Toolset::SelectRegion>},
    DispatchRow{Exactly("*11"), "j11方块变单列", &RunSlot<&Toolset::BlockToColumn>},
    DispatchRow{Exactly("*12"), "j12单列变方块", &RunSlot<&Toolset::ColumnToBlock>},
    DispatchRow{Exactly("*15"), "j15减肥工作薄", &RunSlot<&Toolset::SlimWorkbook>},
    DispatchRow{Exactly("*16"), "j16列块移至最后", &RunSlot<&Toolset::MoveRegionToEnd>},
    DispatchRow{Exactly("*17"), "j17列块移到新表处理", &RunSlot<&Toolset::CopyTopicBlocksToNewSheet>},
    DispatchRow{Exactly("*18"), "j18两列中的相同项与不同项", &RunSlot<&Toolset::CompareTwoColumns>},
    DispatchRow{Exactly("*19"), "j19主题词列表", &RunSlot<&Toolset::ListTopicWords>},
    DispatchRow{Exactly("*20"), "j20获取所有磁盘的文件夹目录", &RunSlot<&Toolset::ListDriveFolders>},
    DispatchRow{Exactly("*780"), nullptr, &RunSlot<&Toolset::CopyTemplateSheets>},
};

}  // namespace

bool CodeTest::Holds(std::string_view code) const {
  switch (kind) {
    case K::FirstCharIn:
      return !code.empty() && text.find(code.front()) != std::string_view::npos;
    case K::Empty:
      return code.empty();
    case K::StartsWith:
      return code.starts_with(text);
    case K::NumberEquals:
      return LeadingNumber(code) == number;
    case K::NumberAbove:
      return LeadingNumber(code) > number;
    case K::Exactly:
      return code == text;
  }
  return false;
}

std::span<const DispatchRow> DispatchTable() { return kTable; }

void Dispatch(Context& ctx) {
  ctx.internalError.reset();
  try {
    if (ctx.flowFlag == Flow::SkipNextOnce) {
      ctx.flowFlag = Flow::GoOn;
      return;
    }
    Step([&] { PrepareWorkbook(ctx); });
    if (ctx.flowFlag == Flow::Stop) return;

    for (const DispatchRow& row : kTable) {
      if (!row.test.Holds(ctx.funcCode)) continue;
      if (row.caption != nullptr) Step([&] { NoteRecentCode(ctx, row.caption); });
      Step([&] { row.action(ctx); });
      return;
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
