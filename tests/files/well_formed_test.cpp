// Whatever text a workbook holds, what is saved is well-formed XML that reads back: valid UTF-8
// comes back unchanged (controls, U+FFFE, U+FFFF and literal "_xHHHH_" included), ill-formed
// bytes come back as U+FFFD, and openpyxl opens the file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "files/workbook_file.h"
#include "test_files.h"
#include "text/valid_utf8.h"

namespace tezlo {
namespace {

using testing::ScratchDir;

// Random text built from pieces that stress the writer: XML's special and forbidden characters,
// the file format's escapes, several-byte characters and, with `illFormed`, stray and cut-short
// bytes.
std::string RandomText(std::mt19937& rng, bool illFormed) {
  static const char* const kPieces[] = {
      "a",
      "Z",
      " ",
      "<",
      "&",
      ">",
      "\"",
      "'",
      "\t",
      "\n",
      "\r",
      "\r\n",
      "_",
      "_x",
      "_x0041_",
      "_x005F_",
      "_x005f_x0001_",
      "_xD800_",
      "x005F_",
      "中文",
      "é",
      "\U0001F600",
      "\uFFFD",
      "\uFFFE",
      "\uFFFF",
      "\u0085",
      "\u2028",
      "]]>",
      "&amp;",
  };
  static const char* const kStray[] = {"\x80",         "\xBF",         "\xC0\xAF",
                                       "\xE2\x82",     "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                       "\xF0\x9F\x98", "\xFE",         "\xFF"};
  std::string text;
  const int pieces = static_cast<int>(rng() % 12);
  for (int k = 0; k < pieces; ++k) {
    switch (rng() % 4) {
      case 0:
        text += static_cast<char>(rng() % 0x20);  // a C0 control, NUL included
        break;
      case 1:
        if (illFormed) {
          text += kStray[rng() % std::size(kStray)];
          break;
        }
        [[fallthrough]];
      default: text += kPieces[rng() % std::size(kPieces)]; break;
    }
  }
  return text;
}

struct Sample {
  Cell cell;
  std::string text;
};

// A book whose first sheet holds `samples` as plain texts in column A, as the values of text
// formulas in column B and as comments in column C.
std::unique_ptr<Workbook> BookOf(const std::vector<Sample>& samples) {
  auto wb = std::make_unique<Workbook>("Texts", 1048576, 16384, 7, 1);
  Sheet& s = wb->GetSheet(1);
  for (const Sample& sample : samples) {
    const int32_t row = sample.cell.row;
    s.Edit({row, 1}, [&](CellRecord& r) { r.value = Value::Text(sample.text); });
    s.Edit({row, 2}, [&](CellRecord& r) {
      r.value = Value::Text(sample.text);
      r.Extras().formula = "=T(\"x\")";
    });
    s.Edit({row, 3}, [&](CellRecord& r) { r.Extras().comment = sample.text; });
  }
  return wb;
}

void ExpectTexts(const Workbook& wb, const std::vector<Sample>& samples) {
  const Sheet& s = wb.GetSheet(1);
  for (const Sample& sample : samples) {
    const std::string expected = ValidUtf8(sample.text);
    const int32_t row = sample.cell.row;
    const std::string shown = ::testing::PrintToString(sample.text);
    const CellRecord* plain = s.Find({row, 1});
    if (expected.empty()) {
      EXPECT_TRUE(plain == nullptr || plain->value == Value::Text("")) << shown;
    } else {
      ASSERT_NE(plain, nullptr) << shown;
      EXPECT_EQ(plain->value, Value::Text(expected)) << shown;
    }
    const CellRecord* formula = s.Find({row, 2});
    ASSERT_NE(formula, nullptr) << shown;
    EXPECT_EQ(formula->value, Value::Text(expected)) << shown;
    const CellRecord* comment = s.Find({row, 3});
    ASSERT_TRUE(comment != nullptr && comment->HasComment()) << shown;
    EXPECT_EQ(*comment->extras->comment, expected) << shown;
  }
}

TEST(WellFormed, RandomTextsSurviveASaveAndALoad) {
  std::mt19937 rng(7);
  for (int round = 0; round < 60; ++round) {
    std::vector<Sample> samples;
    for (int32_t row = 1; row <= 40; ++row)
      samples.push_back({{row, 1}, RandomText(rng, round % 2 == 1)});
    const auto wb = BookOf(samples);
    const std::string saved = SaveWorkbookToBytes(*wb);
    const auto back = LoadWorkbookFromBytes(saved, "texts.xlsx");
    ExpectTexts(*back, samples);
    // A second round changes nothing more.
    const auto again = LoadWorkbookFromBytes(SaveWorkbookToBytes(*back), "texts.xlsx");
    ExpectTexts(*again, samples);
    if (::testing::Test::HasFailure()) return;
  }
}

TEST(WellFormed, TextsWithStrayBytesOpenInOpenpyxl) {
  ScratchDir dir;
  std::mt19937 rng(11);
  std::vector<Sample> samples;
  std::string expected;
  for (int32_t row = 1; row <= 30; ++row) {
    samples.push_back({{row, 1}, RandomText(rng, true)});
    // openpyxl shows the file format's escapes of control characters as written, so only texts
    // without them are compared; every text must still parse.
    const std::string text = ValidUtf8(samples.back().text);
    bool plain = !text.empty() && text.find("_x") == std::string::npos &&
                 text.find('\r') == std::string::npos;
    for (const char c : text)
      plain = plain && (static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t');
    if (plain && text.find("\uFFFE") == std::string::npos &&
        text.find("\uFFFF") == std::string::npos) {
      expected += "A" + std::to_string(row) + " ";
      for (const char c : text) {
        static const char* digits = "0123456789abcdef";
        expected += digits[static_cast<unsigned char>(c) >> 4];
        expected += digits[static_cast<unsigned char>(c) & 15];
      }
      expected += "\n";
    }
  }
  samples.push_back({{31, 1}, "stray \xFF byte"});  // always compared
  expected +=
      "A31 "
      "7374726179"
      "20"
      "efbfbd"
      "2062797465\n";
  const std::string path = dir.Path("texts.xlsx");
  SaveWorkbook(*BookOf(samples), path);
  testing::WriteFileBytes(dir.Path("expected"), expected);
  const std::string script = (std::filesystem::path(TEZLO_TEST_DIR) / "check_texts.py").string();
  const std::string command = "/usr/bin/python3 '" + script + "' '" + path + "' '" +
                              dir.Path("expected") + "' > '" + dir.Path("log") + "' 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << testing::ReadFileBytes(dir.Path("log"));
  ExpectTexts(*LoadWorkbook(path), samples);
}

// Text read from a file is well-formed even where the XML parser cannot check it: escapes of
// surrogates in cell texts and sheet names.
TEST(WellFormed, EscapesInFilesDecodeToValidText) {
  auto parts = testing::MinimalParts(
      "<row r=\"1\"><c r=\"A1\" "
      "t=\"inlineStr\"><is><t>a_xD800_b_x0001__x005F_x0041_</t></is></c></row>");
  const std::string sheetName = "<sheet name=\"S\"";
  std::string& workbook = parts["xl/workbook.xml"];
  workbook.replace(workbook.find(sheetName), sheetName.size(), "<sheet name=\"S_xDFFF_\"");
  const auto book = LoadWorkbookFromBytes(testing::MakeZip(parts), "escapes.xlsx");
  EXPECT_EQ(book->GetSheet(1).Find({1, 1})->value, Value::Text("a\uFFFDb\x01_x0041_"));
  EXPECT_EQ(book->GetSheet(1).Name(), "S\uFFFD");
}

}  // namespace
}  // namespace tezlo
