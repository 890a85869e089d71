// The workbench screen laid out without a terminal: column positions from the sheet's widths,
// contents aligned as the spreadsheet shows them, wide characters whole, marks and selection.
#include <gtest/gtest.h>

#include "memory/memory_host.h"
#include "tui/grid_renderer.h"
#include "tui/text_width.h"

namespace tezlo {
namespace {

class GridRendererTest : public ::testing::Test {
 protected:
  GridRendererTest() {
    MemorySettings settings;
    settings.rows = 1000;
    settings.cols = 100;
    host = std::make_unique<MemoryHost>(settings);
    ref = host->ActiveSheet();
  }
  Sheet& SheetModel() { return host->GetSheet(ref); }
  ScreenBuffer Draw(int width = 60, int height = 12, const ScreenState& state = {}) {
    ScreenBuffer out(width, height);
    rendered = RenderWorkbench(host->GetWorkbook(ref.book), state, out);
    return out;
  }
  // The cells of one grid cell on the screen as text.
  std::string CellText(const ScreenBuffer& out, Cell cell) {
    const ColumnSpan* c = rendered.layout.FindColumn(cell.col);
    const RowSpan* r = rendered.layout.FindRow(cell.row);
    if (c == nullptr || r == nullptr) return "<hidden>";
    std::string text;
    for (int x = c->x; x < c->x + c->width; ++x) {
      const ScreenCell& sc = out.At(x, r->y);
      if (sc.width != 0) AppendUtf8(text, sc.ch);
    }
    return text;
  }

  std::unique_ptr<MemoryHost> host;
  SheetRef ref;
  RenderedScreen rendered;
};

TEST_F(GridRendererTest, ColumnsTakeTheirWidthsAndHiddenOnesAreSkipped) {
  host->SetColumnWidth(ref, 1, 1, 4);
  host->SetColumnWidth(ref, 2, 2, 0);
  host->SetColumnWidth(ref, 3, 3, 12.4);
  host->SetRowHeight(ref, 3, 3, 0);
  const ScreenBuffer out = Draw(62);
  const auto& cols = rendered.layout.columns;
  ASSERT_GE(cols.size(), 3u);
  EXPECT_EQ(cols[0].col, 1);
  EXPECT_EQ(cols[0].x, 4);  // gutter: three digits and a separator
  EXPECT_EQ(cols[0].width, 4);
  EXPECT_EQ(cols[1].col, 3);
  EXPECT_EQ(cols[1].width, 12);
  EXPECT_EQ(cols[2].col, 4);
  EXPECT_EQ(cols[2].width, 8);  // the standard 8.43 characters
  EXPECT_EQ(rendered.layout.rows[2].row, 4);
  EXPECT_FALSE(cols.back().whole);  // cut off at the right edge
  EXPECT_EQ(out.RowText(kHeaderLine).substr(0, 16), "     A       C  ");  // letters centred
}

TEST_F(GridRendererTest, NumbersAlignRightAsShownTextLeftBooleansCentred) {
  host->SetValue(ref, Cell{1, 1}, Value::Number(42));
  host->SetValue(ref, Cell{1, 2}, Value::Text("ab"));
  host->SetValue(ref, Cell{1, 3}, Value::Boolean(true));
  host->SetValue(ref, Cell{2, 1}, Value::Number(0.5));
  host->SetNumberFormat(ref, Area::Of(Cell{2, 1}), "0%");
  host->SetValue(ref, Cell{3, 1}, Value::Number(123456789));
  host->SetColumnWidth(ref, 1, 1, 5);
  const ScreenBuffer out = Draw();
  EXPECT_EQ(CellText(out, {1, 1}), "   42");
  EXPECT_EQ(CellText(out, {1, 2}), "ab      ");
  EXPECT_EQ(CellText(out, {1, 3}), "  TRUE  ");
  EXPECT_EQ(CellText(out, {2, 1}), "  50%");
  EXPECT_EQ(CellText(out, {3, 1}), "#####");  // a number too wide for its column
}

TEST_F(GridRendererTest, ChineseTextTakesTwoCellsPerCharacterAndIsNeverCutInHalf) {
  host->SetColumnWidth(ref, 1, 2, 5);
  host->SetValue(ref, Cell{1, 1}, Value::Text("主题词"));
  host->SetValue(ref, Cell{1, 2}, Value::Text("x"));
  host->SetValue(ref, Cell{2, 1}, Value::Text("读书笔记很长"));
  host->SetValue(ref, Cell{2, 2}, Value::Number(7));
  const ScreenBuffer out = Draw();
  EXPECT_EQ(CellText(out, {1, 1}), "主题 ");  // 词 would straddle the column's edge
  EXPECT_EQ(CellText(out, {1, 2}), "x    ");
  EXPECT_EQ(CellText(out, {2, 2}), "    7");
  // The next column starts where the widths say, whatever the text before it.
  const int x2 = rendered.layout.FindColumn(2)->x;
  EXPECT_EQ(out.At(x2, rendered.layout.FindRow(1)->y).ch, U'x');
  EXPECT_EQ(out.At(x2 - 1, rendered.layout.FindRow(1)->y).width, 1);
}

TEST_F(GridRendererTest, TextRunsOnOverEmptyNeighboursOnly) {
  host->SetColumnWidth(ref, 1, 3, 3);
  host->SetValue(ref, Cell{1, 1}, Value::Text("abcdefgh"));
  host->SetValue(ref, Cell{2, 1}, Value::Text("abcdefgh"));
  host->SetValue(ref, Cell{2, 2}, Value::Text("z"));
  const ScreenBuffer out = Draw();
  EXPECT_EQ(CellText(out, {1, 1}) + CellText(out, {1, 2}) + CellText(out, {1, 3}), "abcdefgh ");
  EXPECT_EQ(CellText(out, {2, 1}) + CellText(out, {2, 2}), "abcz  ");
}

TEST_F(GridRendererTest, SelectionActiveCellMarksAndCommentsHaveTheirRoles) {
  host->SetColumnColorIndex(ref, 2, 2, 6);
  host->AddComment(ref, Cell{1, 3}, "first line\nsecond");
  host->SetValue(ref, Cell{1, 3}, Value::Text("noted"));
  host->Select(Selection{{Area::Of(1, 1, 2, 2), Area::Of(4, 4, 4, 4)}, Cell{1, 3 - 2}});
  const ScreenBuffer out = Draw();
  const auto at = [&](Cell c) {
    return out.At(rendered.layout.FindColumn(c.col)->x, rendered.layout.FindRow(c.row)->y).attr;
  };
  EXPECT_EQ(at({1, 1}).role, Role::Active);
  EXPECT_EQ(at({2, 2}).role, Role::Selected);
  EXPECT_EQ(at({2, 2}).color, 6);
  EXPECT_EQ(at({4, 4}).role, Role::Selected);
  EXPECT_EQ(at({3, 3}).role, Role::Normal);
  EXPECT_EQ(at({5, 2}).color, 6);  // the whole column is marked
  const ColumnSpan* c3 = rendered.layout.FindColumn(3);
  const ScreenCell& flag = out.At(c3->x + c3->width - 1, rendered.layout.FindRow(1)->y);
  EXPECT_EQ(flag.attr.role, Role::CommentFlag);
  EXPECT_EQ(CellText(out, {1, 3}).substr(0, 5), "noted");
  // The status line shows the address, the content and the comment's first line.
  host->ActivateCell(Cell{1, 3});
  const ScreenBuffer again = Draw(70);
  EXPECT_EQ(again.RowText(kStatusLine).substr(0, 41), "C1      noted  | note: first line        ");
}

TEST_F(GridRendererTest, StatusShowsFormulasAndMessagesTabsShowSheets) {
  host->SetFormula(ref, Cell{1, 1}, "=B1*2", Value::Number(4));
  host->RenameSheet(ref, "+1");
  host->ActivateSheet(SheetRef{ref.book, 2});
  host->ActivateSheet(ref);
  ScreenState state;
  state.message = "Saved a.xlsx";
  const ScreenBuffer out = Draw(60, 12, state);
  EXPECT_NE(out.RowText(kStatusLine).find("A1      =B1*2"), std::string::npos);
  EXPECT_NE(out.RowText(kStatusLine).find("Saved a.xlsx "), std::string::npos);
  EXPECT_EQ(out.RowText(11).substr(0, 24), " +1 | Sheet2 | Sheet3 | ");
  EXPECT_EQ(out.At(1, 11).attr.role, Role::TabActive);
  EXPECT_EQ(out.At(6, 11).attr.role, Role::Tab);
}

TEST_F(GridRendererTest, TheCellEditorShowsItsTextAndCaret) {
  host->ActivateCell(Cell{2, 2});
  CellEdit edit{"主题ab", 6};  // the caret after 题
  ScreenState state;
  state.edit = &edit;
  const ScreenBuffer out = Draw(60, 12, state);
  const ColumnSpan* c = rendered.layout.FindColumn(2);
  const RowSpan* r = rendered.layout.FindRow(2);
  EXPECT_EQ(CellText(out, {2, 2}).substr(0, std::string("主题ab").size()), "主题ab");
  EXPECT_EQ(rendered.cursorX, c->x + 4);
  EXPECT_EQ(rendered.cursorY, r->y);
  EXPECT_EQ(out.At(c->x, r->y).attr.role, Role::Edit);
}

TEST_F(GridRendererTest, ScrollPositionDecidesTheFirstRowAndColumnAndTheGutterGrows) {
  host->SetScrollRow(995);
  host->SetScrollColumn(27);
  const ScreenBuffer out = Draw(40, 12);
  EXPECT_EQ(rendered.layout.rows.front().row, 995);
  EXPECT_EQ(rendered.layout.rows.back().row, 1000);  // the sheet ends there
  EXPECT_EQ(rendered.layout.columns.front().col, 27);
  EXPECT_EQ(out.RowText(kHeaderLine).substr(0, 11), "        AA ");
  EXPECT_EQ(rendered.layout.gutter, 5);
  EXPECT_EQ(out.RowText(rendered.layout.rows[0].y).substr(0, 5), " 995 ");
  EXPECT_EQ(out.At(1, rendered.layout.rows[0].y).attr.role, Role::Header);
  EXPECT_EQ(rendered.layout.CellAt(rendered.layout.columns[1].x, rendered.layout.rows[0].y),
            (Cell{995, 28}));
  EXPECT_FALSE(rendered.layout.CellAt(0, rendered.layout.rows[0].y).has_value());
}

TEST(GridRendererTiny, ScreensTooSmallForAGridDrawWhatFits) {
  MemoryHost host;
  for (const auto& [w, h] : {std::pair{0, 0}, {1, 1}, {5, 2}, {3, 3}}) {
    ScreenBuffer out(w, h);
    const RenderedScreen r = RenderWorkbench(host.GetWorkbook(1), ScreenState{}, out);
    EXPECT_LE(static_cast<int>(r.layout.rows.size()), std::max(0, h - 3));
  }
}

}  // namespace
}  // namespace tezlo
