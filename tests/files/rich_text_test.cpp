// Texts with formatted runs are kept: the cell holds the text they show, the runs travel with
// the cell and are written back byte for byte while its text is theirs; a new value is written
// plain, and runs that cannot be written in the part Tezlo makes fall back to plain text.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "files/rich_text.h"
#include "files/workbook_file.h"
#include "host/a1_address.h"
#include "memory/memory_host.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::MakeZip;
using testing::MinimalParts;
using testing::ReadZip;

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// A package whose shared texts part holds `items` (each the inside of an <si>) under `sstRoot`.
std::map<std::string, std::string> WithSharedTexts(
    const std::string& sheetData, const std::vector<std::string>& items,
    const std::string& sstRoot = std::string("<sst xmlns=\"") + kMain + "\">",
    const std::string& itemTag = "si") {
  auto parts = MinimalParts(sheetData);
  std::string sst = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n" + sstRoot;
  for (const std::string& item : items) sst += "<" + itemTag + ">" + item + "</" + itemTag + ">";
  sst += "</" + sstRoot.substr(1, sstRoot.find(' ') - 1) + ">";
  parts["xl/sharedStrings.xml"] = sst;
  testing::AddWorkbookRelationship(parts, "rId7", "sharedStrings", "sharedStrings.xml");
  return parts;
}

// The items of a saved shared texts part, each the inside of its <si>, cut at the tags (the
// writer spells them bare); and its uniqueCount.
std::vector<std::string> SavedItems(const std::string& sst, std::string* uniqueCount = nullptr) {
  if (uniqueCount != nullptr) {
    const size_t at = sst.find("uniqueCount=\"") + 13;
    *uniqueCount = sst.substr(at, sst.find('"', at) - at);
  }
  std::vector<std::string> items;
  for (size_t at = sst.find("<si>"); at != std::string::npos; at = sst.find("<si>", at)) {
    const size_t end = sst.find("</si>", at);
    items.push_back(sst.substr(at + 4, end - at - 4));
    at = end;
  }
  return items;
}

// What each cell of a sheet (the first unless named) is saved as: the inside of its shared item, by
// A1 address.
std::map<std::string, std::string> SavedCells(
    const std::string& package, const std::string& part = "xl/worksheets/sheet1.xml") {
  const auto parts = ReadZip(package);
  const std::vector<std::string> items = SavedItems(parts.at("xl/sharedStrings.xml"));
  const std::string& sheet = parts.at(part);
  std::map<std::string, std::string> out;
  for (size_t at = sheet.find("<c r=\""); at != std::string::npos;
       at = sheet.find("<c r=\"", at + 1)) {
    const size_t end = sheet.find("</c>", at);
    const std::string cell = sheet.substr(at, end - at);
    const std::string ref = cell.substr(6, cell.find('"', 6) - 6);
    if (cell.find("t=\"s\"") == std::string::npos) continue;
    const size_t v = cell.find("<v>") + 3;
    out[ref] = items.at(std::stoul(cell.substr(v, cell.find("</v>") - v)));
  }
  return out;
}

std::string PlainItem(const std::string& text) {
  return "<t>" + text + "</t>";
}  // a text without escapes

// Random runs: one to four, each with a random choice of bold, italic, colour, size and font,
// texts with Chinese, entities and edge spaces; now and then phonetic runs after them.
struct RandomItem {
  std::string xml;
  std::string shown;
};

RandomItem RandomRuns(std::mt19937& rng) {
  static const std::vector<std::pair<std::string, std::string>> kWords = {
      {"粗体", "粗体"},         {"plain", "plain"},   {" lead", " lead"}, {"a &amp; b", "a & b"},
      {"&lt;tag&gt;", "<tag>"}, {"trail ", "trail "}, {"数据", "数据"},   {"x_x", "x_x"}};
  RandomItem item;
  const int runs = 1 + static_cast<int>(rng() % 4);
  for (int i = 0; i < runs; ++i) {
    const auto& [xml, text] = kWords[rng() % kWords.size()];
    item.xml += "<r>";
    if (rng() % 4 != 0) {
      item.xml += "<rPr>";
      if (rng() % 2) item.xml += "<b/>";
      if (rng() % 2) item.xml += "<i val=\"1\"/>";
      if (rng() % 2) item.xml += "<sz val=\"" + std::to_string(8 + rng() % 20) + "\"/>";
      if (rng() % 2)
        item.xml += "<color rgb=\"FF" + std::to_string(100000 + rng() % 899999) + "\"/>";
      if (rng() % 3 == 0)
        item.xml += "<rFont val=\"宋体\"/><family val=\"3\"/><charset val=\"134\"/>";
      item.xml += "</rPr>";
    }
    item.xml += xml.front() == ' ' || xml.back() == ' '
                    ? "<t xml:space=\"preserve\">" + xml + "</t>"
                    : "<t>" + xml + "</t>";
    item.xml += "</r>";
    item.shown += text;
  }
  if (rng() % 4 == 0) {
    item.xml +=
        "<rPh sb=\"0\" eb=\"1\"><t>よみ</t></rPh><phoneticPr fontId=\"1\" type=\"noConversion\"/>";
  }
  return item;
}

TEST(RichText, RandomRunsAreWrittenBackByteForByteSharedOnceAndMoveWithTheirCells) {
  int rowsSorted = 0;  // rows the sorts moved, over all seeds
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    // Items: formatted ones (one of them twice, under two indexes) and plain ones.
    std::vector<std::string> items;
    std::vector<std::string> shown;
    for (int i = 0; i < 12; ++i) {
      if (i % 3 == 2) {
        items.push_back(PlainItem("plain " + std::to_string(i)));
        shown.push_back("plain " + std::to_string(i));
      } else {
        RandomItem item = RandomRuns(rng);
        items.push_back(item.xml);
        shown.push_back(item.shown);
      }
    }
    items.push_back(items[0]);
    shown.push_back(shown[0]);
    // Cells: rows 1..30 of columns A..C, each naming a random item.
    std::string data;
    std::map<std::string, size_t> itemOf;
    for (int32_t row = 1; row <= 30; ++row) {
      data += "<row r=\"" + std::to_string(row) + "\">";
      for (int32_t col = 1; col <= 3; ++col) {
        const size_t item = rng() % items.size();
        const std::string ref = CellRefText(Cell{row, col});
        itemOf[ref] = item;
        data += "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(item) + "</v></c>";
      }
      data += "</row>";
    }
    testing::ScratchDir dir;
    const std::string path = dir.Path("rich.xlsx");
    testing::WriteFileBytes(path, MakeZip(WithSharedTexts(data, items)));
    auto loaded = LoadWorkbook(path);
    ASSERT_TRUE(loaded->UnmodelledContent().empty()) << loaded->UnmodelledContent().front();
    for (const auto& [ref, item] : itemOf) {
      EXPECT_EQ(loaded->GetSheet(1).Find(*ParseCellRef(ref))->value, Value::Text(shown[item]))
          << ref;
    }
    // Saved over its source (nothing is lost any more), each cell's item is the one it was
    // read with, byte for byte; identical runs share one item.
    SaveWorkbook(*loaded, path);
    const std::string saved = testing::ReadFileBytes(path);
    std::map<std::string, std::string> cells = SavedCells(saved);
    std::map<std::string, int> distinct;
    for (const auto& [ref, item] : itemOf) {
      EXPECT_EQ(cells[ref], items[item]) << ref;
      ++distinct[items[item]];
    }
    std::string unique;
    SavedItems(ReadZip(saved).at("xl/sharedStrings.xml"), &unique);
    EXPECT_EQ(unique, std::to_string(distinct.size()));

    // "+3" over A5:C5 and a sort of rows 20..30 by column B: the runs travel with their cells;
    // a value set through the host, and a text changed behind the host's back, are plain.
    MemoryHost host;
    const int32_t book = host.OpenWorkbook(std::move(loaded));
    const SheetRef sheet{book, 1};
    host.InsertShiftDown(sheet, Area::Of(5, 1, 7, 3));
    std::map<std::string, size_t> moved;
    for (const auto& [ref, item] : itemOf) {
      Cell c = *ParseCellRef(ref);
      if (c.row >= 5) c.row += 3;
      moved[CellRefText(c)] = item;
    }
    // Each row to be sorted: its texts, and the items its cells must be written with.
    std::vector<std::vector<std::string>> unsorted;
    std::multimap<std::vector<std::string>, std::vector<std::string>> rows;
    const Sheet& s = host.GetSheet(sheet);
    auto texts = [&s](int32_t row) {
      std::vector<std::string> line;
      for (int32_t col = 1; col <= 3; ++col) line.push_back(s.Find({row, col})->value.AsText());
      return line;
    };
    for (int32_t row = 23; row <= 33; ++row) {
      std::vector<std::string> line;
      for (int32_t col = 1; col <= 3; ++col)
        line.push_back(items[moved[CellRefText(Cell{row, col})]]);
      rows.emplace(texts(row), line);
      unsorted.push_back(texts(row));
    }
    host.Sort(sheet, Area::Of(23, 1, 33, 3), 2, false);
    host.SetValue(sheet, Cell{1, 1},
                  Value::Text(shown[moved["A1"]]));  // the same text, typed again
    host.SetValue(sheet, Cell{2, 1}, Value::Text("typed"));
    host.GetSheet(sheet).Edit({3, 1}, [](CellRecord& r) { r.value = Value::Text("behind"); });
    host.AddSheetAfter(sheet);
    host.Copy(sheet, Area::Of(1, 1, 40, 3), SheetRef{book, 2}, Cell{1, 1});
    const std::string after = SaveWorkbookToBytes(host.GetWorkbook(book));
    cells = SavedCells(after);
    // Plain: one <t>, showing the cell's text.
    auto plain = [&cells](const std::string& ref, const std::string& text) {
      EXPECT_EQ(cells[ref].rfind("<t", 0), 0u) << ref << ": " << cells[ref];
      EXPECT_EQ(cells[ref].find("<r>"), std::string::npos) << ref << ": " << cells[ref];
      EXPECT_EQ(RichTextShown(cells[ref]), text) << ref;
    };
    plain("A1", shown[moved["A1"]]);
    plain("A2", "typed");
    plain("A3", "behind");
    for (const auto& [ref, item] : moved) {
      const Cell c = *ParseCellRef(ref);
      if (c.row <= 3 && c.col == 1) continue;
      if (c.row >= 23) continue;  // sorted: checked below
      EXPECT_EQ(cells[ref], items[item]) << ref;
    }
    // Sorted rows: each row's cells are written with the items that row had before the sort.
    for (int32_t row = 23; row <= 33; ++row) {
      std::vector<std::string> written;
      for (int32_t col = 1; col <= 3; ++col) written.push_back(cells[CellRefText(Cell{row, col})]);
      const auto [first, last] = rows.equal_range(texts(row));
      EXPECT_TRUE(
          std::any_of(first, last, [&written](const auto& r) { return r.second == written; }))
          << "row " << row;
      rowsSorted += texts(row) != unsorted[static_cast<size_t>(row - 23)] ? 1 : 0;
    }
    // The copy on the new sheet is written with the same items, runs and all.
    EXPECT_EQ(SavedCells(after, "xl/worksheets/sheet2.xml"), cells);
  }
  EXPECT_GT(rowsSorted, 10);
}

TEST(RichText, InlineRunsAreWrittenAsASharedItemAndForeignRunsPlain) {
  const std::string inlineRuns =
      "<r><rPr><i/><color rgb=\"FFFF0000\"/></rPr><t>in</t></r><r><t xml:space=\"preserve\"> "
      "line</t></r>";
  const std::string data = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is>" + inlineRuns +
                           "</is></c>"
                           "<c r=\"B1\" t=\"inlineStr\"><is>\n  <t>plain inline</t></is></c>"
                           "<c r=\"C1\" t=\"s\"><v>0</v></c><c r=\"D1\" t=\"s\"><v>1</v></c><c "
                           "r=\"E1\" t=\"s\"><v>2</v></c></row>";
  // The source's root binds the main namespace to a prefix: the runs spelt with it cannot stand
  // under the root Tezlo writes.
  const std::string root = std::string("<x:sst xmlns:x=\"") + kMain + "\" xmlns:o=\"urn:other\">";
  const std::vector<std::string> items = {
      "<x:r><x:rPr><x:b/></x:rPr><x:t>ab</x:t></x:r><x:r><x:t>c</x:t></x:r>",
      "<x:r><x:t>d</x:t></x:r><o:extra/>",
      "<x:t>plain</x:t>",
  };
  const auto wb =
      LoadWorkbookFromBytes(MakeZip(WithSharedTexts(data, items, root, "x:si")), "i.xlsx");
  EXPECT_TRUE(wb->UnmodelledContent().empty()) << wb->UnmodelledContent().front();
  const Sheet& s = wb->GetSheet(1);
  EXPECT_EQ(s.Find({1, 1})->value, Value::Text("in line"));
  EXPECT_EQ(s.Find({1, 2})->value, Value::Text("plain inline"));
  EXPECT_EQ(s.Find({1, 2})->extras, nullptr);
  EXPECT_EQ(s.Find({1, 3})->value, Value::Text("abc"));
  EXPECT_EQ(s.Find({1, 4})->value, Value::Text("d"));
  const std::map<std::string, std::string> cells = SavedCells(SaveWorkbookToBytes(*wb));
  EXPECT_EQ(cells.at("A1"), inlineRuns);
  EXPECT_EQ(cells.at("B1"), PlainItem("plain inline"));
  EXPECT_EQ(cells.at("C1"), PlainItem("abc"));
  EXPECT_EQ(cells.at("D1"), PlainItem("d"));
  EXPECT_EQ(cells.at("E1"), PlainItem("plain"));
}

TEST(RichText, RunsAreWrittenOnlyWhenTheyStandAloneAsOneItem) {
  EXPECT_EQ(RichTextShown("<r><rPr><b/></rPr><t>a&amp;</t></r><r><t>_x0041_</t></r>"), "a&A");
  EXPECT_EQ(RichTextShown("<r><t>a</t></r><rPh sb=\"0\" eb=\"1\"><t>phonetic</t></rPh>"), "a");
  EXPECT_EQ(RichTextShown("<r xmlns:p=\"urn:p\" p:k=\"1\"><t>declared inside</t></r>"),
            "declared inside");
  EXPECT_EQ(RichTextShown("<r><t>a</t>"), std::nullopt);              // not well-formed
  EXPECT_EQ(RichTextShown("<x:r><x:t>a</x:t></x:r>"), std::nullopt);  // undeclared prefix
  EXPECT_EQ(RichTextShown("</si><si><t>a</t>"), std::nullopt);        // would end the item early
  EXPECT_EQ(RichTextShown("<r><t>a</t></r></si></sst><sst><si>"), std::nullopt);
}

}  // namespace
}  // namespace tezlo
