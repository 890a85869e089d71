// Saving replaces the file in one step: a failed save leaves it as it was and says why, and no
// temporary file is left behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "files/workbook_file.h"
#include "files/xlsx_files.h"
#include "host/host_error.h"
#include "memory/memory_host.h"
#include "test_files.h"

namespace tezlo {
namespace {

using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

size_t Entries(const std::filesystem::path& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

TEST(AtomicSave, ASaveReplacesTheFileAndKeepsItsPermissions) {
  ScratchDir dir;
  const std::string path = dir.Path("book.xlsx");
  WriteFileBytes(path, "old contents");
  chmod(path.c_str(), 0640);
  Workbook wb("Book1", 1048576, 16384, 7, 1);
  SaveWorkbook(wb, path);
  EXPECT_NE(ReadFileBytes(path), "old contents");
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Entries(dir.Dir()), 1u);
}

TEST(AtomicSave, AFailedSaveLeavesNothingBehindAndSaysWhy) {
  ScratchDir dir;
  Workbook wb("Book1", 1048576, 16384, 7, 1);
  try {
    SaveWorkbook(wb, dir.Path("no such folder/book.xlsx"));
    FAIL();
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos)
        << e.what();
  }
  std::filesystem::create_directory(dir.Path("folder.xlsx"));
  WriteFileBytes(dir.Path("folder.xlsx/inside"), "kept");
  EXPECT_THROW(SaveWorkbook(wb, dir.Path("folder.xlsx")), FileError);
  EXPECT_EQ(ReadFileBytes(dir.Path("folder.xlsx/inside")), "kept");
  EXPECT_THROW(SaveWorkbook(wb, dir.Path("")), FileError);
  EXPECT_EQ(Entries(dir.Dir()), 1u);
}

TEST(AtomicSave, TheMemoryHostSavesThroughTheFileLayer) {
  ScratchDir dir;
  MemoryHost host;
  EXPECT_THROW(host.SaveWorkbookAs(1, dir.Path("x.xlsx")), HostError);  // no format wired yet
  UseXlsxFiles(host);
  host.SetValue(SheetRef{1, 1}, Cell{2, 3}, Value::Text("你好"));
  host.SaveWorkbookAs(1, dir.Path("saved.xlsx"));
  EXPECT_EQ(host.WorkbookName(1), "saved.xlsx");
  EXPECT_EQ(LoadWorkbook(dir.Path("saved.xlsx"))->GetSheet(1).Find({2, 3})->value,
            Value::Text("你好"));
  try {
    host.SaveWorkbookAs(1, dir.Path("missing/x.xlsx"));
    FAIL();
  } catch (const HostError& e) {
    EXPECT_NE(std::string(e.what()).find("cannot save"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace tezlo
