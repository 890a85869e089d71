#include "cli/batch_options.h"

#include <gtest/gtest.h>

namespace tezlo {
namespace {

using Args = std::vector<std::string>;

BatchOptions Parse(const Args& args) { return ParseBatchCommand(args).options; }

TEST(ParseBatchCommand, TakesTheBookThenTheCodesWithOptionsAnywhereBeforeTheSeparator) {
  const BatchOptions o = Parse({"book.xlsx", "--sheet", "+2", "+3", "--answer", "ok", "*21",
                                "--answer", "cancel", "--", "--", "-2", "--new"});
  EXPECT_EQ(o.book, "book.xlsx");
  EXPECT_EQ(o.sheet, "+2");
  EXPECT_EQ(o.answers, (Args{"ok", "cancel"}));
  // After "--" everything is a code, even what looks like an option.
  EXPECT_EQ(o.codes, (Args{"+3", "*21", "--", "-2", "--new"}));
  EXPECT_FALSE(o.createNew);
  EXPECT_FALSE(o.sample);
}

// Codes, answers and the sheet name reach the workbook as well-formed text; the file names are
// left as the bytes the file system knows.
TEST(ParseBatchCommand, TextThatIsNotUtf8BecomesValidButFileNamesStayBytes) {
  const BatchOptions o = Parse({"b\xFF.xlsx", "--sheet", "\xE6\x95", "--answer",
                                "a\xC0"
                                "b",
                                "--out", "o\xFE.xlsx", "--", "+\xED\xA0\x80", "中文"});
  EXPECT_EQ(o.book, "b\xFF.xlsx");
  EXPECT_EQ(o.out, "o\xFE.xlsx");
  EXPECT_EQ(o.sheet, "\uFFFD");
  EXPECT_EQ(o.answers, Args{"a\uFFFDb"});
  EXPECT_EQ(o.codes, (Args{"+\uFFFD\uFFFD\uFFFD", "中文"}));
}

TEST(ParseBatchCommand, DefaultsAndEveryOption) {
  const BatchOptions d = Parse({"b.xlsx"});
  EXPECT_EQ(d.windowRows, 40);
  EXPECT_EQ(d.windowCols, 16);
  EXPECT_EQ(d.gridRows, 1048576);
  EXPECT_EQ(d.gridCols, 16384);
  EXPECT_TRUE(d.codes.empty());
  EXPECT_FALSE(d.today);
  EXPECT_FALSE(d.out);

  const BatchOptions o = Parse({"--new", "b.xlsx", "--select", "D66", "--select", "f1:$G$2",
                                "--top-left", "C10", "--window", "20x8", "--grid", "65536X256",
                                "--today", "2024-02-29", "--out", "o.xlsx", "105"});
  EXPECT_TRUE(o.createNew);
  EXPECT_EQ(o.select, (std::vector<Area>{Area::Of(66, 4, 66, 4), Area::Of(1, 6, 2, 7)}));
  EXPECT_EQ(o.topLeft, (Cell{10, 3}));
  EXPECT_EQ(o.windowRows, 20);
  EXPECT_EQ(o.windowCols, 8);
  EXPECT_EQ(o.gridRows, 65536);
  EXPECT_EQ(o.gridCols, 256);
  EXPECT_EQ(o.today, (CalendarDate{2024, 2, 29}));
  EXPECT_EQ(o.out, "o.xlsx");
  EXPECT_EQ(o.codes, Args{"105"});
}

TEST(ParseBatchCommand, SampleTakesNoBook) {
  const BatchOptions o = Parse({"--sample", "105", "+3"});
  EXPECT_TRUE(o.sample);
  EXPECT_TRUE(o.book.empty());
  EXPECT_EQ(o.codes, (Args{"105", "+3"}));
  EXPECT_THROW(Parse({"--sample", "--new", "x.xlsx"}), UsageError);
}

TEST(ParseBatchCommand, HelpStopsBeforeAnythingElseIsChecked) {
  const BatchCommand c = ParseBatchCommand({"--help", "--window", "nonsense"});
  EXPECT_TRUE(c.help);
  EXPECT_NE(c.helpText.find("tezlo run BOOK"), std::string::npos);
}

TEST(ParseBatchCommand, RefusesWhatCannotBeRun) {
  for (const Args& bad : std::vector<Args>{
           {},                                                     // no book
           {"b.xlsx", "--bogus"},                                  // unknown option
           {"b.xlsx", "--sheet"},                                  // option without its value
           {"b.xlsx", "--window", "40"},                           // not RxC
           {"b.xlsx", "--window", "0x16"},                         // empty window
           {"b.xlsx", "--grid", "1048577x16384"},                  // beyond the largest grid
           {"b.xlsx", "--grid", "100x100", "--window", "200x10"},  // window beyond the grid
           {"b.xlsx", "--select", "A1:B"},                         // half a range
           {"b.xlsx", "--select", "Sheet1!A1"},                    // no sheet prefixes
           {"b.xlsx", "--grid", "65536x256", "--select", "IW1"},   // outside the old grid
           {"b.xlsx", "--top-left", "A1:B2"},                      // one cell only
           {"b.xlsx", "--today", "2023-02-29"},                    // not a day of 2023
           {"b.xlsx", "--today", "24-1-1"},
           {"b.xlsx", "--out", ""},
           {"b.xlsx", "--max-memory", "lots"},
           {"b.xlsx", "--max-memory", "0"},
           {""},
       }) {
    EXPECT_THROW(Parse(bad), UsageError) << ::testing::PrintToString(bad);
  }
}

TEST(ParseBatchCommand, AReferenceBeyondASmallerGridIsCalledThatNotMalformed) {
  try {
    Parse({"b.xlsx", "--grid", "65536x256", "--select", "KDV59"});
    FAIL();
  } catch (const UsageError& e) {
    EXPECT_STREQ(e.what(), "--select: KDV59 lies outside the 65536 x 256 grid");
  }
  try {
    Parse({"b.xlsx", "--select", "KDV"});
    FAIL();
  } catch (const UsageError& e) {
    EXPECT_NE(std::string(e.what()).find("wants a cell or range"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(Parse({"b.xlsx", "--force"}).force);
  EXPECT_FALSE(Parse({"b.xlsx"}).force);
}

TEST(ParseByteSize, ReadsSizesInPowersOf1024) {
  EXPECT_EQ(ParseByteSize("512M"), int64_t{512} << 20);
  EXPECT_EQ(ParseByteSize("2G"), int64_t{2} << 30);
  EXPECT_EQ(ParseByteSize("2gb"), int64_t{2} << 30);
  EXPECT_EQ(ParseByteSize("800k"), 800 * 1024);
  EXPECT_EQ(ParseByteSize("1048576"), 1048576);
  EXPECT_EQ(ParseByteSize("4194304T"), int64_t{1} << 62);
  for (const char* bad :
       {"", "M", "-1G", "0", "1.5G", "2X", "G2", "4194305T", "99999999999999999999"}) {
    EXPECT_FALSE(ParseByteSize(bad)) << bad;
  }
  EXPECT_EQ(Parse({"b.xlsx", "--max-memory", "2G"}).maxMemoryBytes, int64_t{2} << 30);
  EXPECT_FALSE(Parse({"b.xlsx"}).maxMemoryBytes);
}

TEST(ParseRowsByCols, ReadsWholeNumbersWithinLimits) {
  EXPECT_EQ(ParseRowsByCols("40x16", 100, 100), std::make_pair(40, 16));
  EXPECT_EQ(ParseRowsByCols("100X100", 100, 100), std::make_pair(100, 100));
  EXPECT_EQ(ParseRowsByCols("101x1", 100, 100), std::nullopt);
  EXPECT_EQ(ParseRowsByCols("4x", 100, 100), std::nullopt);
  EXPECT_EQ(ParseRowsByCols("-4x4", 100, 100), std::nullopt);
  EXPECT_EQ(ParseRowsByCols("4 x4", 100, 100), std::nullopt);
}

TEST(ParseIsoDate, KnowsTheCalendar) {
  EXPECT_EQ(ParseIsoDate("2000-02-29"), (CalendarDate{2000, 2, 29}));
  EXPECT_EQ(ParseIsoDate("1900-02-29"), std::nullopt);
  EXPECT_EQ(ParseIsoDate("2024-04-31"), std::nullopt);
  EXPECT_EQ(ParseIsoDate("2024-13-01"), std::nullopt);
  EXPECT_EQ(ParseIsoDate("2024-12-31"), (CalendarDate{2024, 12, 31}));
}

}  // namespace
}  // namespace tezlo
