#include "dispatch/recent_codes_note.h"

#include <gtest/gtest.h>

#include "dispatch/helpers.h"
#include "dispatch/prepare_workbook.h"
#include "recording_tools.h"
#include "workbench.h"

namespace tezlo::testing {
namespace {

const std::string kDesktop = "*13 获取桌面文件列表\r\n";
const std::string kIdCard = "*21 身份证信息\r\n";

// A topic block A60:M75 on "+1" with the cursor inside it; its note lives on B60.
class RecentCodesNoteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wb.UseWorkingSheets();
    UseRecordingTable(wb.ctx);  // "*13" and "*21" with their captions
    wb.PutText("A60", "apples");
    wb.PutText("A80", "pears");
    wb.Fill("C61:E75", "x");
    wb.Select("D66");
  }

  bool HasNote() { return wb.host.HasComment(wb.host.ActiveSheet(), At("B60")); }
  std::string Note() { return wb.host.CommentText(wb.host.ActiveSheet(), At("B60")); }

  Workbench wb;
};

TEST_F(RecentCodesNoteTest, FirstUseWritesOneLine) {
  wb.Run("*13");
  EXPECT_EQ(Note(), kDesktop);
}

TEST_F(RecentCodesNoteTest, NewToolGoesOnTopAndARepeatChangesNothing) {
  wb.Run("*13");
  wb.Run("*21");
  EXPECT_EQ(Note(), kIdCard + kDesktop + "\r\n");
  wb.Run("*13");
  EXPECT_EQ(Note(), kIdCard + kDesktop + "\r\n");
}

TEST_F(RecentCodesNoteTest, UserCommentStaysBelowTheNewEntry) {
  wb.host.AddComment(wb.host.ActiveSheet(), At("B60"), "my remark\r\nsecond line");
  wb.Run("*13");
  EXPECT_EQ(Note(), kDesktop + "my remark\r\nsecond line\r\n");
}

TEST_F(RecentCodesNoteTest, BareLineFeedsAreNotLineBreaks) {
  wb.host.AddComment(wb.host.ActiveSheet(), At("B60"), "a\nb");
  wb.Run("*21");
  EXPECT_EQ(Note(), kIdCard + "a\nb\r\n");
}

TEST_F(RecentCodesNoteTest, NoteKeepsAtMostSevenLines) {
  PrepareWorkbook(wb.ctx);
  const char* captions[] = {"j11方块变单列",       "j12单列变方块",
                            "j13获取桌面文件列表", "j14获取所有进程列表",
                            "j15减肥工作薄",       "j16列块移至最后",
                            "j17列块移到新表处理", "j18两列中的相同项与不同项"};
  for (const char* caption : captions) NoteRecentCode(wb.ctx, caption);
  EXPECT_EQ(Note(),
            "*18 两列中的相同项与不同项\r\n"
            "*17 列块移到新表处理\r\n"
            "*16 列块移至最后\r\n"
            "*15 减肥工作薄\r\n"
            "*14 获取所有进程列表\r\n"
            "*13 获取桌面文件列表\r\n"
            "*12 单列变方块\r\n");
}

TEST_F(RecentCodesNoteTest, YoungNotesEndWithBlankLines) {
  PrepareWorkbook(wb.ctx);
  for (const char* caption :
       {"j19主题词列表", "j20获取所有磁盘的文件夹目录", "j22文本与数字互换"}) {
    NoteRecentCode(wb.ctx, caption);
  }
  EXPECT_EQ(Note(),
            "*22 文本与数字互换\r\n"
            "*20 获取所有磁盘的文件夹目录\r\n"
            "*19 主题词列表\r\n"
            "\r\n"
            "\r\n");
}

TEST_F(RecentCodesNoteTest, OnlyTheTopSixLinesAreLookedAt) {
  const std::string five = "l1\r\nl2\r\nl3\r\nl4\r\nl5\r\n";
  wb.host.AddComment(wb.host.ActiveSheet(), At("B60"), five + kDesktop);
  wb.Run("*13");  // sixth line: already there, nothing changes
  EXPECT_EQ(Note(), five + kDesktop);

  SetCellNote(wb.ctx, 60, 2, five + "l6\r\n" + kDesktop);
  wb.Run("*13");  // seventh line: not seen, so it comes back on top
  EXPECT_EQ(Note(), kDesktop + five + "l6\r\n");
}

TEST_F(RecentCodesNoteTest, TitlesAreComparedFromTheFifthCharacter) {
  // Another number with the same title still counts as the same tool.
  wb.host.AddComment(wb.host.ActiveSheet(), At("B60"), "#99 获取桌面文件列表\r\n");
  wb.Run("*13");
  EXPECT_EQ(Note(), "#99 获取桌面文件列表\r\n");
}

TEST_F(RecentCodesNoteTest, CodeNumbersUpToNineAreNotNoted) {
  PrepareWorkbook(wb.ctx);
  NoteRecentCode(wb.ctx, "j09某个工具");
  EXPECT_FALSE(HasNote());
  NoteRecentCode(wb.ctx, "j10某个工具");
  EXPECT_EQ(Note(), "*10 某个工具\r\n");
}

TEST_F(RecentCodesNoteTest, NoteFollowsTheActiveCellsTopicBlock) {
  wb.Select("B85");
  wb.Run("*13");
  EXPECT_FALSE(HasNote());
  EXPECT_EQ(wb.host.CommentText(wb.host.ActiveSheet(), At("B80")), kDesktop);
}

TEST_F(RecentCodesNoteTest, ResetsFlowFlagAndFallsBackToTheLastPosition) {
  PrepareWorkbook(wb.ctx);
  wb.ctx.curRow = 60;
  wb.ctx.curCol = 1;
  wb.ctx.blockWidth = 0;  // the grid state fails; the note cell comes from the values left
  wb.ctx.flowFlag = Flow::Stop;
  wb.Select("Q200");
  NoteRecentCode(wb.ctx, "j21身份证信息");
  EXPECT_EQ(wb.ctx.flowFlag, Flow::GoOn);
  // The grid state got as far as the active row before failing; the column is the old one.
  EXPECT_FALSE(HasNote());
  EXPECT_EQ(wb.host.CommentText(wb.host.ActiveSheet(), At("B200")), kIdCard);
}

}  // namespace
}  // namespace tezlo::testing
