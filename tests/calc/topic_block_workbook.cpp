#include "topic_block_workbook.h"

#include <string>

namespace tezlo {
namespace {

Value T(const char* text) { return Value::Text(text); }
Value N(double number) { return Value::Number(number); }

// A topic word with the text 0 beside it, as a new topic block starts.
void TopicRow(Host& h, SheetRef sheet, Cell at, const char* word) {
  h.SetValue(sheet, at, T(word));
  h.SetValue(sheet, Cell{at.row, at.col + 1}, T("'0"));
}

void FillPlus1(Host& h, SheetRef s) {
  h.SetValue(s, Cell{1, 10}, N(100));  // the topic index takes rows 1 to 100
  h.SetValue(s, Cell{1, 1}, T("城市"));
  h.SetValue(s, Cell{2, 1}, T("账目"));
  h.SetValue(s, Cell{3, 1}, T("Words"));
  h.SetValue(s, Cell{1, 2}, T("待办"));  // no topic block yet

  // Cities, some with a character of two readings (重 chóng/zhòng, 长 cháng/zhǎng, 朝 cháo/zhāo,
  // 厦 xià/shà), which collators order differently.
  TopicRow(h, s, Cell{101, 1}, "城市");
  h.AddComment(s, Cell{101, 2}, "*19 主题词列表\r\n\r\n");
  const char* const cities[] = {"重庆", "长沙", "银川", "朝阳", "北京", "厦门", "上海"};
  for (int32_t i = 0; i < 7; ++i) {
    const int32_t row = 102 + i;
    h.SetValue(s, Cell{row, 2}, T(cities[i]));
    h.SetValue(s, Cell{row, 3}, N(100 - 7 * i));
    h.SetValue(s, Cell{row, 4}, Value::Date(45300 + 11 * i));
    h.SetNumberFormat(s, Area::Of(row, 4, row, 4), "yyyy-mm-dd");
    h.SetFormula(s, Cell{row, 5}, "=C" + std::to_string(row) + "*2", N(2 * (100 - 7 * i)));
  }
  h.SetColorIndex(s, Area::Of(102, 2, 102, 3), 6);

  // Three rows below the block above: a topic jump to it makes room.
  TopicRow(h, s, Cell{111, 1}, "账目");
  // A size note: 13 column widths, then 11 row heights, in points.
  h.AddComment(s, Cell{111, 1},
               "60,45,30,75,12,48,48,48,48,48,48,48,24,20,18,16,30,13.5,13.5,13.5,13.5,9,13.5,40");
  h.SetValue(s, Cell{112, 2}, T("'0042"));
  h.SetValue(s, Cell{113, 2}, T("'17.5"));
  h.SetValue(s, Cell{114, 2}, N(3.25));
  h.SetValue(s, Cell{115, 2}, T("text"));
  h.SetValue(s, Cell{112, 3}, T("apple"));
  h.SetValue(s, Cell{113, 3}, T("pear"));
  h.SetValue(s, Cell{114, 3}, T("Apple"));
  h.SetValue(s, Cell{112, 4}, T("apple pie"));
  h.SetValue(s, Cell{113, 4}, T("plum"));

  // The second column block holds blocks from row 1 on.
  TopicRow(h, s, Cell{1, 14}, "Words");
  const char* const words[] = {"delta", "Alpha", "charlie", "Bravo", "echo"};
  for (int32_t i = 0; i < 5; ++i) h.SetValue(s, Cell{2 + i, 15}, T(words[i]));
  h.SetValue(s, Cell{2, 16}, N(5));
  h.SetValue(s, Cell{3, 16}, N(-2));
  h.SetColumnWidth(s, 2, 2, 12);
  h.SetRowHeight(s, 101, 101, 20);
}

}  // namespace

void BuildTopicBlockWorkbook(Host& host) {
  const int32_t book = host.ActiveWorkbook();
  while (host.SheetCount(book) < 3) host.AddSheetAfter(SheetRef{book, host.SheetCount(book)});
  while (host.SheetCount(book) > 3) host.DeleteSheet(SheetRef{book, host.SheetCount(book)});
  const SheetRef one{book, 1};
  const SheetRef two{book, 2};
  host.RenameSheet(one, "+1");
  host.RenameSheet(two, "+2");
  host.RenameSheet(SheetRef{book, 3}, "Notes");
  FillPlus1(host, one);

  TopicRow(host, two, Cell{51, 1}, "宽块");
  host.SetValue(two, Cell{1, 1}, T("宽块"));
  host.SetValue(two, Cell{52, 2}, T("one"));
  host.SetValue(two, Cell{53, 20}, N(20));  // inside the 26 columns of the block
  host.SetValue(SheetRef{book, 3}, Cell{2, 2}, T("scratch"));

  host.ActivateSheet(one);
  host.Select(Selection{{Area::Of(Cell{1, 1})}, Cell{1, 1}});
  host.SetScrollRow(1);
  host.SetScrollColumn(1);
}

}  // namespace tezlo
