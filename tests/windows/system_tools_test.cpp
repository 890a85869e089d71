// The tools that read the machine ("*13", "*14", "*20", "*780") run as in Excel: through the
// Excel adapter onto the double, with the Windows System reading Wine's processes, drives,
// desktop and template folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/all_tools.h"
#include "app/sample_workbook.h"
#include "dispatch/context.h"
#include "dispatch/dispatch.h"
#include "excel/excel_host.h"
#include "fake_excel.h"
#include "memory/memory_host.h"
#include "scripted/scripted_ui.h"
#include "system/windows/windows_system.h"

#include <shlobj.h>

namespace tezlo {
namespace {

class SystemToolsTest : public ::testing::Test {
 protected:
  SystemToolsTest() {
    memory_.SetSaver([this](const Workbook& book, const std::string& path) {
      saved_.push_back(path);
      savedSheets_.clear();
      for (int32_t i = 1; i <= book.SheetCount(); ++i)
        savedSheets_.push_back(book.GetSheet(i).Name());
    });
    BuildSampleWorkbook(memory_);
    app_ = new fake::FakeApplication(memory_, nullptr);
    excel_.SetApplication(app_);
  }
  ~SystemToolsTest() override {
    excel_.SetApplication(nullptr);
    app_->Release();
  }

  void Run(const char* code) {
    Context ctx(excel_, ui_, system_);
    ctx.tools = AllTools();
    ctx.funcCode = code;
    Dispatch(ctx);
  }

  // Column `col` of the active sheet down to its last filled cell, read from the engine.
  std::vector<Value> Column(int32_t col) {
    const SheetRef sheet = memory_.ActiveSheet();
    const int32_t last = memory_.End(sheet, {memory_.RowsCount(), col}, Direction::Up).row;
    std::vector<Value> out;
    for (int32_t r = 1; r <= last; ++r) out.push_back(memory_.GetValue(sheet, {r, col}));
    return out;
  }

  // The tool wrote onto a sheet of its own, right after "+1", which is now active.
  void ExpectANewActiveSheet() {
    EXPECT_EQ(memory_.SheetCount(1), 3);
    EXPECT_EQ(memory_.ActiveSheet(), (SheetRef{1, 2}));
    EXPECT_EQ(memory_.SheetName({1, 1}), "+1");
  }

  MemoryHost memory_;
  fake::FakeApplication* app_ = nullptr;
  ExcelHost excel_;
  ScriptedUi ui_;
  WindowsSystem system_;
  std::vector<std::string> saved_;
  std::vector<std::string> savedSheets_;
};

TEST_F(SystemToolsTest, ProcessesFromWmiFillANewSheet) {
  Run("*14");
  ExpectANewActiveSheet();
  EXPECT_TRUE(ui_.Dialogs().empty());
  const std::vector<Value> names = Column(1);
  const std::vector<Value> ids = Column(3);
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names.front(), Value::Text("进程"));
  EXPECT_EQ(ids.front(), Value::Text("进程ID"));
  const auto me = std::find(ids.begin(), ids.end(), Value::Number(GetCurrentProcessId()));
  ASSERT_NE(me, ids.end());
  EXPECT_EQ(names[static_cast<size_t>(me - ids.begin())], Value::Text("windows_tests.exe"));
}

TEST_F(SystemToolsTest, TheDriveListingGoesDownColumnA) {
  const std::vector<std::string> lines = WindowsSystem().DriveFolderListing();
  Run("*20");
  ExpectANewActiveSheet();
  const std::vector<Value> column = Column(1);
  // Line for line, apart from the free space, which may change between the two listings.
  const size_t filled = static_cast<size_t>(
      std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return !l.empty(); }));
  EXPECT_EQ(static_cast<size_t>(std::count_if(column.begin(), column.end(),
                                              [](const Value& v) { return !v.IsEmpty(); })),
            filled);
  const bool windowsFolder = std::any_of(column.begin(), column.end(), [](const Value& v) {
    return v.IsText() && (v.AsText().find("windows") != std::string::npos ||
                          v.AsText().find("Windows") != std::string::npos);
  });
  EXPECT_TRUE(windowsFolder);
}

TEST_F(SystemToolsTest, DesktopItemsByTheShellsNames) {
  wchar_t folder[MAX_PATH];
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, 0,
                             folder),
            S_OK);
  const std::wstring sub = std::wstring(folder) + L"\\工作 tezlo";
  CreateDirectoryW(sub.c_str(), nullptr);
  Run("*13");
  RemoveDirectoryW(sub.c_str());
  ExpectANewActiveSheet();
  const std::vector<Value> column = Column(1);
  EXPECT_NE(std::find(column.begin(), column.end(), Value::Text("工作 tezlo")), column.end());
}

TEST_F(SystemToolsTest, TheTemplateIsSavedInTheFixedFolderAndClosed) {
  Run("*780");
  // Saved as the template, and again by Close with SaveChanges: always to that one path.
  ASSERT_FALSE(saved_.empty());
  for (const std::string& path : saved_)
    EXPECT_EQ(path, "D:\\My Documents\\1\\44\\ExcelVarelto.xls");
  EXPECT_EQ(savedSheets_, std::vector<std::string>{"+1"});
  EXPECT_EQ(memory_.WorkbookCount(), 1);
  EXPECT_EQ(memory_.ActiveWorkbook(), 1);
  EXPECT_EQ(memory_.SheetCount(1), 2);
  EXPECT_TRUE(ui_.Dialogs().empty());
}

}  // namespace
}  // namespace tezlo
