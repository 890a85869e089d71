// Every file error names the file and a cause the user can act on, in one line of bounded length.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <cstdint>

#include "files/workbook_file.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::MakeZip;
using testing::MinimalParts;
using testing::ScratchDir;
using testing::WriteFileBytes;

std::string LoadMessage(const std::string& path) {
  try {
    LoadWorkbook(path);
  } catch (const FileError& e) {
    return e.what();
  }
  return "loaded";
}

std::string BytesMessage(const std::string& bytes) {
  try {
    LoadWorkbookFromBytes(bytes, "named.xlsx");
  } catch (const FileError& e) {
    return e.what();
  }
  return "loaded";
}

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFF;
  for (const char b : bytes) {
    crc ^= static_cast<unsigned char>(b);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// A stored (uncompressed) zip of `entries` in order, names repeated as given: what no zip
// library will write, but a hostile file can hold.
std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& entries) {
  auto le = [](std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  std::string body;
  std::string central;
  for (const auto& [name, data] : entries) {
    const uint32_t crc = Crc32(data);
    const size_t offset = body.size();
    le(body, 0x04034b50, 4);
    le(body, 20, 2);
    le(body, 0, 2);
    le(body, 0, 2);
    le(body, 0, 4);
    le(body, crc, 4);
    le(body, data.size(), 4);
    le(body, data.size(), 4);
    le(body, name.size(), 2);
    le(body, 0, 2);
    body += name + data;
    le(central, 0x02014b50, 4);
    le(central, 20, 2);
    le(central, 20, 2);
    le(central, 0, 2);
    le(central, 0, 2);
    le(central, 0, 4);
    le(central, crc, 4);
    le(central, data.size(), 4);
    le(central, data.size(), 4);
    le(central, name.size(), 2);
    le(central, 0, 2);
    le(central, 0, 2);
    le(central, 0, 2);
    le(central, 0, 2);
    le(central, 0, 4);
    le(central, offset, 4);
    central += name;
  }
  std::string out = body + central;
  le(out, 0x06054b50, 4);
  le(out, 0, 2);
  le(out, 0, 2);
  le(out, entries.size(), 2);
  le(out, entries.size(), 2);
  le(out, central.size(), 4);
  le(out, body.size(), 4);
  le(out, 0, 2);
  return out;
}

TEST(FileMessages, WhatIsNotAWorkbookFileIsCalledWhatItIs) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.Path("folder.xlsx"));
  EXPECT_EQ(LoadMessage(dir.Path("folder.xlsx")),
            "'" + dir.Path("folder.xlsx") + "' is a folder, not a workbook file");
  ASSERT_EQ(mkfifo(dir.Path("pipe.xlsx").c_str(), 0600), 0);
  EXPECT_NE(LoadMessage(dir.Path("pipe.xlsx")).find("is not a regular file"), std::string::npos);
  EXPECT_NE(LoadMessage("/dev/zero").find("'/dev/zero' is not a regular file"), std::string::npos);

  std::vector<std::pair<std::string, std::string>> twice;
  for (const auto& part : MinimalParts("")) twice.emplace_back(part);
  twice.emplace_back("xl/workbook.xml", twice[2].second);
  EXPECT_EQ(BytesMessage(StoredZip(twice)),
            "'named.xlsx' is damaged: it holds two parts of the same name");
}

TEST(FileMessages, FaultsFoundInsideAPartNameTheFile) {
  auto parts = MinimalParts("");
  parts["xl/_rels/workbook.xml.rels"].insert(
      parts["xl/_rels/workbook.xml.rels"].find("</Relationships>"),
      "<Relationship Id=\"rId9\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
      "sharedStrings\" Target=\"sharedStrings.xml\"/>");
  parts["xl/sharedStrings.xml"] =
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>" +
      std::string((1 << 20) + 1, 'x') + "</t></si></sst>";
  EXPECT_EQ(BytesMessage(MakeZip(parts)), "'named.xlsx': a shared text is too long");

  auto many = MinimalParts("");
  std::string sheets;
  for (int i = 0; i < 5000; ++i)
    sheets += "<sheet name=\"S" + std::to_string(i) + "\" sheetId=\"1\" r:id=\"rId1\"/>";
  auto& book = many["xl/workbook.xml"];
  book.replace(book.find("<sheets>") + 8, 0, sheets);
  EXPECT_EQ(BytesMessage(MakeZip(many)), "'named.xlsx': the workbook holds too many sheets");
}

TEST(FileMessages, ALongListOfUnkeptContentIsCutAfterTenItems) {
  ScratchDir dir;
  const std::string path = dir.Path("book.xlsx");
  Workbook wb("book", 1048576, 16384, 7, 1);
  SaveWorkbook(wb, path);
  std::vector<std::string> unkept;
  for (int i = 0; i < 9990; ++i) unkept.push_back("part" + std::to_string(i));
  wb.SetUnmodelledContent(path, unkept);
  try {
    SaveWorkbook(wb, path);
    FAIL() << "saved over unkept content";
  } catch (const FileError& e) {
    const std::string what = e.what();
    EXPECT_NE(
        what.find(
            "part0, part1, part2, part3, part4, part5, part6, part7, part8, part9 and 9,980 more"),
        std::string::npos)
        << what;
    EXPECT_LT(what.size(), 400u);
    EXPECT_NE(what.find("save the workbook under another name"), std::string::npos);
  }
}

}  // namespace
}  // namespace tezlo
