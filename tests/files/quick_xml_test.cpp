// A worksheet's rows are read by a quick scanner where they are plain, by the full parser
// elsewhere. Random worksheets, plain and full of what the scanner must decline (comments,
// references, foreign bytes, broken tags), give the same events, the same bytes for each tag and
// the same errors either way, and again while the document is still arriving in pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "files/arriving_bytes.h"
#include "files/workbook_file.h"
#include "files/xml_reader.h"

namespace tezlo {
namespace {

// Everything a handler can see, one line per event; adjacent texts joined.
struct EventLog : XmlHandler {
  std::vector<std::string> lines;
  std::string text;

  void Flush() {
    if (!text.empty()) lines.push_back("T " + text);
    text.clear();
  }
  std::string Where() const {
    const auto [begin, end] = EventBytes();
    return " @" + std::to_string(begin) + "-" + std::to_string(end);
  }
  void Start(std::string_view ns, std::string_view name, const XmlAttrs& attrs) override {
    Flush();
    std::vector<std::string> all;
    for (const XmlAttr& a : attrs.All())
      all.push_back(std::string(a.ns) + "|" + std::string(a.local) + "=" + std::string(a.value));
    std::sort(all.begin(), all.end());
    std::string line = "S " + std::string(ns) + "|" + std::string(name);
    for (const auto& a : all) line += " " + a;
    lines.push_back(line + Where());
  }
  void End(std::string_view ns, std::string_view name) override {
    Flush();
    lines.push_back("E " + std::string(ns) + "|" + std::string(name) + Where());
  }
  void Text(std::string_view t) override { text += t; }
};

struct Outcome {
  std::vector<std::string> events;
  int64_t quickBytes = 0;
};

// How the document reaches the reader: whole, or arriving from another thread in pieces of
// random sizes (as a part does while it inflates), perhaps failing after `failAfter` bytes.
struct Arrival {
  bool arriving = false;
  uint32_t seed = 0;
  size_t failAfter = std::string::npos;
};

Outcome Read(const std::string& doc, bool quick, const Arrival& arrival = {}) {
  EventLog log;
  XmlReader reader(log, "sheet1.xml");
  Outcome out;
  try {
    if (arrival.arriving) {
      ArrivingBytes source(doc.size(), [&doc, &arrival](ArrivingBytes& to) {
        std::mt19937 rng(arrival.seed);
        for (size_t at = 0; at < doc.size();) {
          if (at >= arrival.failAfter) throw FileError("the part stopped inflating");
          const size_t n =
              std::min(doc.size() - at, std::uniform_int_distribution<size_t>(1, 300)(rng));
          if (!to.Append(std::string_view(doc).substr(at, n))) throw FileError("does not fit");
          at += n;
          if (rng() % 8 == 0) std::this_thread::yield();
        }
      });
      reader.ReadDocument(source, quick ? "sheetData" : "");
    } else {
      reader.ReadDocument(doc, quick ? "sheetData" : "");
    }
    log.Flush();
  } catch (const FileError& e) {
    log.Flush();
    log.lines.push_back(std::string("error: ") + e.what());
  }
  out.events = std::move(log.lines);
  out.quickBytes = reader.QuickBytes();
  return out;
}

std::string Pick(std::mt19937& rng, const std::vector<std::string>& from) {
  return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(rng)];
}

// A cell as writers write them, or (when `odd`) with something the scanner must decline or
// that is not XML at all.
std::string RandomCell(std::mt19937& rng, int row, int col, bool odd) {
  const std::string ref = std::string(1, static_cast<char>('A' + col)) + std::to_string(row);
  std::vector<std::string> plain = {
      "<c r=\"" + ref + "\" s=\"1\"/>",
      "<c s='2'/>",
      "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(col) + "</v></c>",
      "<c r=\"" + ref + "\"><f>A1&amp;B1&lt;&gt;&quot;&apos;</f><v>3.5</v></c>",
      "<c t=\"inlineStr\"><is><t xml:space=\"preserve\"> two\twords\n</t></is></c>",
      "<c r = \"" + ref + "\"   s=\"3\" ></c >",
      "<c x14ac:dyDescent=\"0.25\" r=\"" + ref + "\"><v></v></c>\n  ",
      "<c><f t=\"shared\" ref=\"A1:A3\" si=\"0\"/></c>",
  };
  if (!odd) return Pick(rng, plain);
  std::vector<std::string> awkward = {
      "<!-- a comment --><c/>",
      "<?pi data?><c/>",
      "<c><v><![CDATA[1<2]]></v></c>",
      "<c><v>&#65;&#x42;</v></c>",
      "<c><v>&nbsp;</v></c>",
      "<c><t>caf\xc3\xa9</t></c>",
      "<c><t>bad \xff byte</t></c>",
      "<c><v>1\r\n</v></c>",
      "<c xmlns:q=\"urn:q\" q:a=\"1\"/>",
      "<c q:a=\"1\"/>",
      "<c s=\"1\" s=\"2\"/>",
      "<c x14ac:a=\"1\" x14ac:a=\"2\"/>",
      "<c a=\"x<y\"/>",
      "<c a=\"tab\there\"/>",
      "<c a=\"&amp;\"/>",
      "<c><v>a]]>b</v></c>",
      "<c><v>1</d></c>",
      "<c a=\"1/>",
      "<c a=1/>",
      "<c a=\"1\"b=\"2\"/>",
      "<1c/>",
      "< c/>",
      "<x14ac:c/>",
      "<c:d/>",
      "<c><v>1</v>",
      "</c>",
      "<c xmlns=\"urn:other\"/>",
      "<c/ >",
      "<c a:b:c=\"1\"/>",
      "<c>\x01</c>",
      "<c>" + std::string(300, ' ') + "</c>",
      "<c>&amp</c>",
      "<c>&#0;</c>",
      "<c\ta=\"1\"/>",
      "<xml:c/>",
      std::string(40, '<') + "x",
      "<a>" + std::string(1, '\0') + "</a>",
  };
  std::string nested;
  for (int i = 0; i < 300; ++i) nested += "<n>";
  for (int i = 0; i < 300; ++i) nested += "</n>";
  awkward.push_back(nested);
  return Pick(rng, awkward);
}

std::string RandomSheet(std::mt19937& rng, int& oddOnes) {
  std::bernoulli_distribution odd(0.02);
  std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
  doc +=
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
      "xmlns:x14ac=\"http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac\">";
  if (odd(rng)) doc += "<!-- <sheetData><row/></sheetData> -->";
  doc += "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>\n<sheetData>\n";
  const int rows = std::uniform_int_distribution<int>(0, 12)(rng);
  for (int r = 1; r <= rows; ++r) {
    doc += "<row r=\"" + std::to_string(r) + "\" spans=\"1:5\" x14ac:dyDescent=\"0.25\">";
    const int cells = std::uniform_int_distribution<int>(0, 5)(rng);
    for (int c = 0; c < cells; ++c) {
      const bool o = odd(rng);
      oddOnes += o ? 1 : 0;
      doc += RandomCell(rng, r, c, o);
    }
    doc += odd(rng) ? "</row >\n" : "</row>\n";
  }
  doc += "</sheetData><mergeCells count=\"1\"><mergeCell ref=\"A1:B2\"/></mergeCells>";
  if (odd(rng)) doc += "<bad";
  doc += "</worksheet>";
  return doc;
}

TEST(QuickXml, RandomSheetsGiveTheParsersEventsBytesAndErrors) {
  std::mt19937 rng(2026);
  int64_t quickBytes = 0;
  int oddOnes = 0;
  int errors = 0;
  for (int i = 0; i < 4000; ++i) {
    const std::string doc = RandomSheet(rng, oddOnes);
    const Outcome full = Read(doc, false);
    const Outcome quick = Read(doc, true);
    ASSERT_EQ(quick.events, full.events) << doc;
    EXPECT_EQ(full.quickBytes, 0);
    if (i % 4 == 0) {
      // Read while it arrives: bytes cut off mid-element are read once the rest is there.
      const Outcome arriving = Read(doc, true, Arrival{true, static_cast<uint32_t>(i)});
      ASSERT_EQ(arriving.events, full.events) << doc;
      EXPECT_EQ(arriving.quickBytes, quick.quickBytes);
    }
    quickBytes += quick.quickBytes;
    errors += !full.events.empty() && full.events.back().rfind("error: ", 0) == 0 ? 1 : 0;
  }
  // Both kinds of document were met, and the scanner did read most of the rows.
  EXPECT_GT(oddOnes, 200);
  EXPECT_GT(errors, 100);
  EXPECT_GT(quickBytes, 4000 * 200);
}

TEST(QuickXml, APartThatStopsArrivingEndsTheReadingWithItsError) {
  std::string doc =
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
  for (int r = 1; r <= 400; ++r)
    doc += "<row r=\"" + std::to_string(r) + "\"><c><v>1</v></c></row>";
  doc += "</sheetData></worksheet>";
  for (const bool quick : {true, false}) {
    const Outcome cut = Read(doc, quick, Arrival{true, 7, doc.size() / 2});
    ASSERT_FALSE(cut.events.empty());
    EXPECT_EQ(cut.events.back(), "error: the part stopped inflating");
    // What arrived before the failure was read (7 events a row), and nothing after it.
    EXPECT_GT(cut.events.size(), 7u * 180);
    EXPECT_LT(cut.events.size(), 7u * 220);
  }
}

TEST(QuickXml, ErrorsAfterTheRowsNameTheirLine) {
  std::string doc =
      "<worksheet "
      "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">\n<sheetData>\n";
  for (int r = 1; r <= 50; ++r) doc += "<row r=\"" + std::to_string(r) + "\"><c s=\"1\"/></row>\n";
  doc += "</sheetData>\n<mergeCells><bad></mergeCells>\n</worksheet>";
  const Outcome quick = Read(doc, true);
  EXPECT_GT(quick.quickBytes, 50 * 20);
  ASSERT_FALSE(quick.events.empty());
  EXPECT_NE(quick.events.back().find("(line 54: mismatched tag)"), std::string::npos)
      << quick.events.back();
}

}  // namespace
}  // namespace tezlo
