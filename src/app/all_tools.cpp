#include "app/all_tools.h"

#include <array>

#include "blocks/block_tools.h"
#include "dispatch/helpers.h"
#include "tools/data_tools.h"
#include "topics/topic_tools.h"

namespace tezlo {
namespace {

using C = CodeTest;

// The first row that holds is the only one that runs, so the order matters: "0" and "/" before
// anything, "++" before "+", 999 before the numbers above 100, and so on.
constexpr std::array kTable = {
    DispatchRow{C::FirstCharIn("0/"), nullptr, &GoToVisibleCell},
    DispatchRow{C::Empty(), nullptr, &GoToTopLeft},
    DispatchRow{C::StartsWith("++"), nullptr, &InsertBlockRow},
    DispatchRow{C::StartsWith("--"), nullptr, &DeleteBlockRow},
    DispatchRow{C::StartsWith("+"), nullptr, &InsertBlockRows},
    DispatchRow{C::StartsWith("-"), nullptr, &DeleteBlockRows},
    DispatchRow{C::NumberEquals(999), nullptr, &SlimSheetToEnd},
    DispatchRow{C::NumberAbove(100), nullptr, &GoToTopicWord},
    DispatchRow{C::Exactly("*1"), nullptr, &SetUpSheet},
    DispatchRow{C::Exactly("*2"), nullptr, &SwapTwoCells},
    DispatchRow{C::Exactly("*3"), nullptr, &SwapRegionRows},
    DispatchRow{C::Exactly("*4"), nullptr, &SwapRegionColumns},
    DispatchRow{C::Exactly("*5"), nullptr, &SortRegionAscending},
    DispatchRow{C::Exactly("*6"), nullptr, &SortRegionDescending},
    DispatchRow{C::Exactly("*13"), "j13获取桌面文件列表", &ListDesktopFiles},
    DispatchRow{C::Exactly("*14"), "j14获取所有进程列表", &ListProcesses},
    DispatchRow{C::Exactly("*21"), "j21身份证信息", &ExpandIdCardInfo},
    DispatchRow{C::Exactly("*22"), "j22文本与数字互换", &SwapTextAndNumber},
    DispatchRow{C::Exactly("*7"), nullptr, &SaveBlockSizes},
    DispatchRow{C::Exactly("*8"), nullptr, &RestoreBlockSizes},
    DispatchRow{C::Exactly("*9"), nullptr, &SelectRegion},
    DispatchRow{C::Exactly("*11"), "j11方块变单列", &BlockToColumn},
    DispatchRow{C::Exactly("*12"), "j12单列变方块", &ColumnToBlock},
    DispatchRow{C::Exactly("*15"), "j15减肥工作薄", &SlimWorkbook},
    DispatchRow{C::Exactly("*16"), "j16列块移至最后", &MoveRegionToEnd},
    DispatchRow{C::Exactly("*17"), "j17列块移到新表处理", &CopyTopicBlocksToNewSheet},
    DispatchRow{C::Exactly("*18"), "j18两列中的相同项与不同项", &CompareTwoColumns},
    DispatchRow{C::Exactly("*19"), "j19主题词列表", &ListTopicWords},
    DispatchRow{C::Exactly("*20"), "j20获取所有磁盘的文件夹目录", &ListDriveFolders},
    DispatchRow{C::Exactly("*780"), nullptr, &CopyTemplateSheets},
};

}  // namespace

ToolTable AllTools() { return kTable; }

}  // namespace tezlo
