// The Windows side of System under Wine: WMI's process list, the drive listing and the desktop
// items, and the text handling around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "com/win32.h"
#include "host/host_error.h"
#include "system/windows/windows_system.h"

#include <shlobj.h>

namespace tezlo {
namespace {

TEST(DriveListing, CommandLineHasTheRootsThenTwoBlanksBeforeTheSwitch) {
  EXPECT_EQ(DriveListingCommand({L"C:\\"}), L"cmd.exe /c dir C:\\  /ad");
  EXPECT_EQ(DriveListingCommand({L"C:\\", L"D:\\"}), L"cmd.exe /c dir C:\\ D:\\  /ad");
}

TEST(DriveListing, SplitsAtLineFeedsOnlyKeepingCarriageReturns) {
  EXPECT_EQ(SplitAtLineFeeds("a\r\nb\n"), (std::vector<std::string>{"a\r", "b", ""}));
  EXPECT_EQ(SplitAtLineFeeds("x"), (std::vector<std::string>{"x"}));
  EXPECT_EQ(SplitAtLineFeeds(""), (std::vector<std::string>{""}));
}

TEST(DriveListing, ListsTheRootFoldersOfDriveC) {
  WindowsSystem system;
  const std::vector<std::string> lines = system.DriveFolderListing();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "");  // the listing ends with a line break
  const bool windowsFolder = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("windows") != std::string::npos || l.find("Windows") != std::string::npos;
  });
  EXPECT_TRUE(windowsFolder);
  const bool fileShown = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("win.ini") !=
           std::string::npos;  // a file in C:\windows, never in the root listing
  });
  EXPECT_FALSE(fileShown);
}

// Wine's WMI reports no working set (0) and no executable path, so only the name and the
// identifier are checked here.
TEST(Processes, WmiListsThisProcessByNameAndId) {
  WindowsSystem system;
  const std::vector<ProcessInfo> processes = system.Processes();
  const auto me = std::find_if(processes.begin(), processes.end(), [](const ProcessInfo& p) {
    return p.id == static_cast<int64_t>(GetCurrentProcessId());
  });
  ASSERT_NE(me, processes.end());
  EXPECT_EQ(me->name, "windows_tests.exe");
}

TEST(Desktop, ItemsAreTheDesktopFoldersEntriesByName) {
  wchar_t folder[MAX_PATH];
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, 0,
                             folder),
            S_OK);
  const std::wstring file = std::wstring(folder) + L"\\tezlo note.txt";
  const std::wstring sub = std::wstring(folder) + L"\\tezlo folder";
  { std::ofstream(file.c_str()) << "x"; }
  CreateDirectoryW(sub.c_str(), nullptr);
  WindowsSystem system;
  const std::vector<std::string> items = system.DesktopItems();
  DeleteFileW(file.c_str());
  RemoveDirectoryW(sub.c_str());
  EXPECT_NE(std::find(items.begin(), items.end(), "tezlo folder"), items.end());
  const bool note = std::any_of(items.begin(), items.end(), [](const std::string& i) {
    return i == "tezlo note.txt" || i == "tezlo note";  // the shell may hide the extension
  });
  EXPECT_TRUE(note);
}

TEST(Clock, TodayAndTheTemplateFolder) {
  WindowsSystem system;
  const CalendarDate today = system.Today();
  EXPECT_GE(today.year, 2024);
  EXPECT_EQ(system.TemplateFolder(), "D:\\My Documents\\1\\44");
}

}  // namespace
}  // namespace tezlo
