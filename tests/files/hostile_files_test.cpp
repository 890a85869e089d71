// Damaged and hostile files end in one FileError line, never a crash or unbounded memory.
#include <gtest/gtest.h>

#include "files/workbook_file.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::MakeZip;
using testing::MinimalParts;

// The FileError a load of `bytes` gives; fails the test when it loads.
std::string LoadError(const std::string& bytes, const LoadOptions& options = {}) {
  try {
    LoadWorkbookFromBytes(bytes, "t.xlsx", options);
  } catch (const FileError& e) {
    const std::string what = e.what();
    EXPECT_EQ(what.find('\n'), std::string::npos) << "more than one line: " << what;
    return what;
  }
  ADD_FAILURE() << "loaded";
  return {};
}

#define EXPECT_CONTAINS(haystack, needle) \
  EXPECT_NE(std::string(haystack).find(needle), std::string::npos) << (haystack)

TEST(HostileFiles, TheMinimalPackageLoads) {
  const auto wb =
      LoadWorkbookFromBytes(MakeZip(MinimalParts("<row r=\"1\"><c r=\"A1\"><v>5</v></c></row>")),
                            "t.xlsx");
  EXPECT_EQ(wb->GetSheet(1).Find({1, 1})->value, Value::Number(5));
}

TEST(HostileFiles, WhatIsNotAZipOrIsCutShortIsRefused) {
  EXPECT_CONTAINS(LoadError(""), "not an xlsx workbook");
  EXPECT_CONTAINS(LoadError("plain text, not a workbook at all"), "not an xlsx workbook");
  const std::string good = MakeZip(MinimalParts("<row r=\"1\"><c r=\"A1\"><v>5</v></c></row>"));
  for (size_t keep : {good.size() / 4, good.size() / 2, good.size() - 30, good.size() - 1}) {
    const std::string error = LoadError(good.substr(0, keep));
    EXPECT_FALSE(error.empty()) << keep;
  }
  // A flipped byte inside a packed part: the checksum or the inflater catches it.
  std::string flipped = good;
  flipped[flipped.size() / 3] ^= 0x55;
  EXPECT_FALSE(LoadError(flipped).empty());
}

TEST(HostileFiles, AZipWithoutAWorkbookIsRefused) {
  EXPECT_CONTAINS(LoadError(MakeZip({{"hello.txt", "hi"}})), "no workbook part");
  auto parts = MinimalParts("");
  parts.erase("xl/worksheets/sheet1.xml");
  EXPECT_CONTAINS(LoadError(MakeZip(parts)), "is missing");
}

TEST(HostileFiles, DocumentTypesAndEntitiesAreRefused) {
  const std::string laughs =
      "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\"><!ENTITY lol2 "
      "\"&lol;&lol;&lol;&lol;&lol;\">"
      "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;\">]>"
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
      "<row r=\"1\"><c r=\"A1\" "
      "t=\"inlineStr\"><is><t>&lol3;</t></is></c></row></sheetData></worksheet>";
  auto parts = MinimalParts("");
  parts["xl/worksheets/sheet1.xml"] = laughs;
  EXPECT_CONTAINS(LoadError(MakeZip(parts)), "declares a document type");
  parts["xl/worksheets/sheet1.xml"] =
      "<!DOCTYPE x SYSTEM \"file:///etc/passwd\"><worksheet><sheetData/></worksheet>";
  EXPECT_CONTAINS(LoadError(MakeZip(parts)), "declares a document type");
}

TEST(HostileFiles, MalformedXmlAndDeepNestingAreRefused) {
  EXPECT_CONTAINS(LoadError(MakeZip(MinimalParts("<row r=\"1\"><c r=\"A1\"><v>5</c></row>"))),
                  "not well-formed");
  std::string deep;
  for (int i = 0; i < 1000; ++i) deep += "<x>";
  for (int i = 0; i < 1000; ++i) deep += "</x>";
  EXPECT_CONTAINS(LoadError(MakeZip(MinimalParts("", deep))), "too deeply");
}

TEST(HostileFiles, PartsThatInflatePastTheBoundAreStoppedWhileInflating) {
  // 16 MiB of one repeated cell packs into well under a megabyte.
  std::string row = "<row>";
  for (int i = 0; i < 1000; ++i) row += "<c><v>1</v></c>";
  row += "</row>";
  std::string rows;
  while (rows.size() < (16u << 20)) rows += row;
  LoadOptions options;
  options.maxPartBytes = 1 << 20;
  const std::string bomb = MakeZip(MinimalParts(rows));
  EXPECT_LT(bomb.size(), 2u << 20);
  EXPECT_CONTAINS(LoadError(bomb, options), "unpacks to more than 1 MiB");
  options.maxPartBytes = int64_t{1} << 30;
  options.maxPackageBytes = 2 << 20;
  EXPECT_CONTAINS(LoadError(bomb, options), "it unpacks to more than 2 MiB");
}

TEST(HostileFiles, AbsurdAddressesAndCountsAreRefused) {
  EXPECT_CONTAINS(LoadError(MakeZip(MinimalParts("<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>"))),
                  "bad reference");
  EXPECT_CONTAINS(LoadError(MakeZip(MinimalParts("<row r=\"1048577\"><c><v>1</v></c></row>"))),
                  "row 1048577 lies outside the 1048576 x 16384 grid");
  EXPECT_CONTAINS(LoadError(MakeZip(MinimalParts("<row r=\"-5\"/>"))), "row number");
  EXPECT_CONTAINS(LoadError(MakeZip(
                      MinimalParts("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>99</v></c></row>"))),
                  "shared text that does not exist");
  EXPECT_CONTAINS(LoadError(
                      MakeZip(MinimalParts("<row r=\"1\"><c r=\"A1\" s=\"7\"><v>1</v></c></row>"))),
                  "format that does not exist");
  EXPECT_CONTAINS(LoadError(
                      MakeZip(MinimalParts("<row r=\"1\"><c r=\"A1\"><v>1e999</v></c></row>"))),
                  "malformed number");
  EXPECT_CONTAINS(LoadError(MakeZip(
                      MinimalParts("<row r=\"1\"><c r=\"A1\" t=\"zz\"><v>1</v></c></row>"))),
                  "unknown type");
  EXPECT_CONTAINS(LoadError(MakeZip(
                      MinimalParts("", "<cols><col min=\"5\" max=\"2\" width=\"3\"/></cols>"))),
                  "column range");
  // A dimension claiming the whole grid costs nothing: it is not used to reserve memory.
  const auto wb = LoadWorkbookFromBytes(MakeZip(MinimalParts("", "")), "t.xlsx");
  EXPECT_EQ(wb->GetSheet(1).Columns().size(), 0u);
  std::string merges = "<mergeCells>";
  for (int i = 1; i <= 20001; ++i)
    merges += "<mergeCell ref=\"A" + std::to_string(i) + ":B" + std::to_string(i) + "\"/>";
  EXPECT_CONTAINS(LoadError(MakeZip(MinimalParts("", merges + "</mergeCells>"))),
                  "more than 20000 merged areas");
  EXPECT_CONTAINS(
      LoadError(MakeZip(MinimalParts(
          "", "<mergeCells><mergeCell ref=\"A1:B2\"/><mergeCell ref=\"B2:C3\"/></mergeCells>"))),
      "merged areas overlap");
  LoadOptions few;
  few.maxCells = 10;
  std::string many = "<row r=\"1\">";
  for (int i = 0; i < 20; ++i) many += "<c><v>1</v></c>";
  EXPECT_CONTAINS(LoadError(MakeZip(MinimalParts(many + "</row>")), few), "too many cells");
}

TEST(HostileFiles, CellsListedOutOfOrderOrTwiceKeepTheirLastListing) {
  const auto wb = LoadWorkbookFromBytes(
      MakeZip(MinimalParts(
          "<row r=\"3\"><c r=\"A3\"><v>3</v></c></row><row r=\"1\"><c r=\"A1\"><v>1</v></c>"
          "<c r=\"A1\"><v>2</v></c></row>")),
      "t.xlsx");
  const Sheet& s = wb->GetSheet(1);
  EXPECT_EQ(s.Find({1, 1})->value, Value::Number(2));
  EXPECT_EQ(s.Find({3, 1})->value, Value::Number(3));
}

}  // namespace
}  // namespace tezlo
