#include "app/sample_workbook.h"

#include <initializer_list>
#include <string>
#include <variant>

namespace tezlo {
namespace {

// A literal in a sample row: typed text, a number, a date serial or a formula with its value.
struct DateSerial {
  double serial;
};
struct Formula {
  const char* text;
  double value;
};
using Item = std::variant<std::monostate, const char*, double, DateSerial, Formula>;

class SampleWriter {
 public:
  SampleWriter(Host& host, SheetRef sheet) : host_(host), sheet_(sheet) {}

  // Writes `items` from `first` rightwards; an empty item leaves its cell alone.
  void Row(Cell first, std::initializer_list<Item> items) {
    Cell at = first;
    for (const Item& item : items) {
      Put(at, item);
      ++at.col;
    }
  }

  // A topic block's first row: the word, the text 0 beside it, and optionally a recent-codes
  // note in that cell's comment.
  void TopicRow(Cell at, const char* word, const char* note = nullptr) {
    host_.SetValue(sheet_, at, Value::Text(word));
    const Cell noteCell{at.row, at.col + 1};
    host_.SetValue(sheet_, noteCell, Value::Text("'0"));
    if (note != nullptr) host_.AddComment(sheet_, noteCell, note);
  }

 private:
  void Put(Cell at, const Item& item) {
    if (const auto* text = std::get_if<const char*>(&item)) {
      host_.SetValue(sheet_, at, Value::Text(*text));
    } else if (const auto* number = std::get_if<double>(&item)) {
      host_.SetValue(sheet_, at, Value::Number(*number));
    } else if (const auto* date = std::get_if<DateSerial>(&item)) {
      host_.SetValue(sheet_, at, Value::Date(date->serial));
      host_.SetNumberFormat(sheet_, Area::Of(at), "yyyy-mm-dd");
    } else if (const auto* formula = std::get_if<Formula>(&item)) {
      host_.SetFormula(sheet_, at, formula->text, Value::Number(formula->value));
    }
  }

  Host& host_;
  SheetRef sheet_;
};

void WriteTopicIndex(Host& host, SheetRef sheet) {
  for (const SampleTopic& topic : kSampleTopics) {
    host.SetValue(sheet, topic.indexCell, Value::Text(topic.word));
  }
}

void WriteContacts(SampleWriter& w) {
  w.TopicRow({51, 1}, "联系人", "*19 主题词列表\r\n\r\n");
  w.Row({52, 2}, {"姓名", "Name", "电话", "城市", "City", "备注"});
  w.Row({53, 2}, {"张伟", "Zhang Wei", "'13800138000", "北京", "Beijing", "大学同学"});
  w.Row({54, 2}, {"李娜", "Li Na", "'13912345678", "上海", "Shanghai", "同事 colleague"});
  w.Row({55, 2}, {"王芳", "Wang Fang", "'13698765432", "深圳", "Shenzhen", Item{}});
  w.Row({56, 2}, {"Emily Chen", "Emily Chen", "'+44 20 7946 0958", "伦敦", "London", "pen pal"});
}

void WriteReadingNotes(SampleWriter& w) {
  w.TopicRow({66, 1}, "读书笔记");
  w.Row({67, 2}, {"书名", "Title", "作者", "页数", "评分", "读完"});
  w.Row({68, 2}, {"红楼梦", "Dream of the Red Chamber", "曹雪芹", 1606.0, 5.0, DateSerial{45366}});
  w.Row({69, 2}, {"三体", "The Three-Body Problem", "刘慈欣", 302.0, 4.5, DateSerial{45232}});
  w.Row({70, 2}, {"围城", "Fortress Besieged", "钱钟书", 384.0, 4.0, DateSerial{44940}});
  w.Row({71, 2}, {"活着", "To Live", "余华", 191.0, 4.5, Item{}});
}

void WriteBudget(SampleWriter& w) {
  w.TopicRow({81, 1}, "Budget 2024");
  w.Row({82, 2}, {"月份", "Income", "Expenses", "Balance"});
  static const char* const kMonths[] = {"一月 Jan", "二月 Feb", "三月 Mar",   "四月 Apr",
                                        "五月 May", "六月 Jun", "七月 Jul",   "八月 Aug",
                                        "九月 Sep", "十月 Oct", "十一月 Nov", "十二月 Dec"};
  double income = 0;
  double expenses = 0;
  for (int32_t m = 0; m < 12; ++m) {
    const int32_t row = 83 + m;
    const double in = 8200 + 150.0 * m;
    const double out = 6100 + 90.0 * ((m * 7) % 12);
    income += in;
    expenses += out;
    const std::string balance = "=C" + std::to_string(row) + "-D" + std::to_string(row);
    w.Row({row, 2}, {kMonths[m], in, out, Item{}});
    w.Row({row, 5}, {Formula{balance.c_str(), in - out}});
  }
  w.Row({95, 2}, {"合计 Total", Formula{"=SUM(C83:C94)", income},
                  Formula{"=SUM(D83:D94)", expenses}, Formula{"=C95-D95", income - expenses}});
}

void WriteIdCards(SampleWriter& w) {
  w.TopicRow({105, 1}, "身份证号", "*21 身份证信息\r\n\r\n");
  w.Row({106, 2}, {"'110101198503120025"});
  w.Row({107, 2}, {"'310104199207151135"});
  w.Row({108, 2}, {"'440305200001013046"});
  w.Row({109, 2}, {"'510107197811300253"});
}

void WriteTravel(SampleWriter& w) {
  w.TopicRow({119, 1}, "Travel");
  w.Row({120, 2}, {"目的地", "Destination", "出发", "天数", "预算"});
  w.Row({121, 2}, {"杭州", "Hangzhou", DateSerial{45580}, 3.0, 2500.0});
  w.Row({122, 2}, {"桂林", "Guilin", DateSerial{45640}, 5.0, 4200.0});
}

// The second column block starts at N: two lists to compare with *18, whose title row is the
// topic word's own row.
void WriteComparison(SampleWriter& w) {
  w.TopicRow({1, 14}, "数据对比");
  static const char* const kLeft[] = {"苹果 apple", "香蕉 banana", "橙子 orange", "葡萄 grape",
                                      "西瓜 watermelon"};
  static const char* const kRight[] = {"香蕉 banana", "芒果 mango", "苹果 apple",
                                       "梨 pear",     "葡萄 grape", "桃 peach"};
  for (int32_t i = 0; i < 5; ++i) w.Row({2 + i, 15}, {kLeft[i]});
  for (int32_t i = 0; i < 6; ++i) w.Row({2 + i, 16}, {kRight[i]});
}

}  // namespace

void BuildSampleWorkbook(Host& host) {
  const int32_t book = host.ActiveWorkbook();
  while (host.SheetCount(book) < 2) host.AddSheetAfter(SheetRef{book, host.SheetCount(book)});
  while (host.SheetCount(book) > 2) host.DeleteSheet(SheetRef{book, host.SheetCount(book)});
  const SheetRef one{book, 1};
  host.RenameSheet(one, "+1");
  host.RenameSheet(SheetRef{book, 2}, "+2");

  WriteTopicIndex(host, one);
  SampleWriter w(host, one);
  WriteContacts(w);
  WriteReadingNotes(w);
  WriteBudget(w);
  WriteIdCards(w);
  WriteTravel(w);
  WriteComparison(w);
  host.SetColumnWidth(one, 2, 3, 14);
  host.SetColumnWidth(one, 4, 7, 11);  // phone numbers and dates show whole
  host.SetColumnWidth(one, 15, 16, 16);

  host.ActivateSheet(one);
  host.Select(Selection{{Area::Of(Cell{1, 1})}, Cell{1, 1}});
  host.SetScrollRow(1);
  host.SetScrollColumn(1);
}

}  // namespace tezlo
