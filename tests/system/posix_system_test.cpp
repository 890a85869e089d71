#include "system/posix/posix_system.h"

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "system/posix/user_dirs.h"
#include "system/temp_folder.h"

namespace tezlo::testing {
namespace {

TEST(UserDirFromSettings, ReadsHomeRelativeAndAbsoluteFolders) {
  const std::string settings =
      "# written by xdg-user-dirs-update\n"
      "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n"
      "XDG_DOCUMENTS_DIR=\"/data/My \\\"Docs\\\"\"\n"
      "XDG_MUSIC_DIR=\"relative/is/not/allowed\"\n"
      "XDG_VIDEOS_DIR=\"$HOMEVIDEOS\"\n"
      "XDG_PICTURES_DIR=\"$HOME\"\n";
  EXPECT_EQ(UserDirFromSettings(settings, "XDG_DESKTOP_DIR", "/home/u"), "/home/u/桌面");
  EXPECT_EQ(UserDirFromSettings(settings, "XDG_DOCUMENTS_DIR", "/home/u"), "/data/My \"Docs\"");
  EXPECT_EQ(UserDirFromSettings(settings, "XDG_PICTURES_DIR", "/home/u"), "/home/u");
  EXPECT_FALSE(UserDirFromSettings(settings, "XDG_MUSIC_DIR", "/home/u"));
  EXPECT_FALSE(UserDirFromSettings(settings, "XDG_VIDEOS_DIR", "/home/u"));
  EXPECT_FALSE(UserDirFromSettings(settings, "XDG_DOWNLOAD_DIR", "/home/u"));
}

TEST(UserDirFromSettings, ReadsLinesEndedByCarriageReturnAndLineFeed) {
  const std::string settings = "XDG_DESKTOP_DIR=\"$HOME/Desk\"\r\n  XDG_MUSIC_DIR = \"/m\"\t\r\n";
  EXPECT_EQ(UserDirFromSettings(settings, "XDG_DESKTOP_DIR", "/home/u"), "/home/u/Desk");
  EXPECT_EQ(UserDirFromSettings(settings, "XDG_MUSIC_DIR", "/home/u"), "/m");
}

class PosixSystemTest : public ::testing::Test {
 protected:
  PosixSystem Make() {
    PosixSources sources;
    sources.procRoot = folder.Path("proc");
    sources.mountsFile = folder.Path("mounts");
    sources.home = folder.Path("home");
    return PosixSystem(sources);
  }
  TempFolder folder;
};

TEST_F(PosixSystemTest, DesktopDefaultsToHomeDesktopAndListsVisibleEntries) {
  folder.Write("home/Desktop/a.txt", "");
  folder.Write("home/Desktop/b.docx", "");
  folder.Write("home/Desktop/c.xlsx", "");
  folder.MakeFolder("home/Desktop/notes");
  folder.Write("home/Desktop/.hidden", "");
  PosixSystem system = Make();
  EXPECT_EQ(system.DesktopItems(),
            (std::vector<std::string>{"a.txt", "b.docx", "c.xlsx", "notes"}));
}

// Names are bytes to the file system; what the tools get is well-formed text, a stray byte
// shown as U+FFFD (a cut-short character as one).
TEST_F(PosixSystemTest, NamesThatAreNotUtf8ReachTheToolsAsValidText) {
  folder.Write("home/Desktop/bad\xFFname.txt", "");
  folder.Write("home/Desktop/\xE4\xB8\xAD\xE6\x96", "");  // "中" and half of "文"
  folder.Write("home/Desktop/good 中文", "");
  folder.MakeFolder(
      "disk/fold\xC0"
      "er");
  folder.Write("mounts", "/dev/sda1 " + folder.Path("disk") + " ext4 rw 0 0\n");
  folder.Write("proc/7/status", "Name:\tapp\xE6\x96\nUid:\t0\t0\t0\t0\n");
  folder.Link("proc/7/exe", "/opt/\xFE/app");
  PosixSystem system = Make();
  EXPECT_EQ(system.DesktopItems(),
            (std::vector<std::string>{"bad\uFFFDname.txt", "good 中文", "中\uFFFD"}));
  const auto lines = system.DriveFolderListing();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[2].substr(17), "    <DIR>          fold\uFFFDer");
  const auto processes = system.Processes();
  ASSERT_EQ(processes.size(), 1u);
  EXPECT_EQ(processes[0].name, "app\uFFFD");
  EXPECT_EQ(processes[0].path, "/opt/\uFFFD/app");
}

TEST_F(PosixSystemTest, UserDirsSettingsNameTheDesktopAndDocuments) {
  folder.Write("home/.config/user-dirs.dirs",
               "XDG_DESKTOP_DIR=\"$HOME/桌面\"\nXDG_DOCUMENTS_DIR=\"$HOME/文档\"\n");
  folder.Write("home/桌面/x", "");
  PosixSystem system = Make();
  EXPECT_EQ(system.DesktopItems(), std::vector<std::string>{"x"});
  EXPECT_EQ(system.TemplateFolder(), folder.Path("home") + "/文档/1/44");
}

TEST_F(PosixSystemTest, TemplateFolderDefaultsToDocumentsEvenWhenMissing) {
  PosixSystem system = Make();
  EXPECT_EQ(system.TemplateFolder(), folder.Path("home") + "/Documents/1/44");
}

TEST_F(PosixSystemTest, AMissingDesktopCannotBeRead) {
  PosixSystem system = Make();
  EXPECT_THROW(system.DesktopItems(), HostError);
}

TEST_F(PosixSystemTest, AnUnknownHomeFailsTheFoldersThatNeedIt) {
  PosixSystem system(PosixSources{folder.Path("proc"), folder.Path("mounts"), "", ""});
  EXPECT_THROW(system.DesktopItems(), HostError);
  EXPECT_THROW(system.TemplateFolder(), HostError);
}

TEST_F(PosixSystemTest, DriveListingComesFromTheMountsFile) {
  folder.MakeFolder("disk/home");
  folder.Write("mounts", "/dev/sda1 " + folder.Path("disk") + " ext4 rw 0 0\n" + "proc " +
                             folder.Path("proc") + " proc rw 0 0\n");
  PosixSystem system = Make();
  const auto lines = system.DriveFolderListing();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], " Directory of " + folder.Path("disk"));
  EXPECT_EQ(lines[2].substr(17), "    <DIR>          home");
  EXPECT_EQ(lines.back(), "");
}

TEST_F(PosixSystemTest, AMissingMountsFileOrProcRootCannotBeRead) {
  PosixSystem system = Make();
  EXPECT_THROW(system.DriveFolderListing(), HostError);
  EXPECT_THROW(system.Processes(), HostError);
}

TEST_F(PosixSystemTest, ProcessesComeFromTheProcRoot) {
  folder.Write("proc/12/status", "Name:\tsh\nUid:\t0\t0\t0\t0\nVmRSS:\t 100 kB\n");
  PosixSystem system = Make();
  const auto processes = system.Processes();
  ASSERT_EQ(processes.size(), 1u);
  EXPECT_EQ(processes[0].name, "sh");
  EXPECT_EQ(processes[0].id, 12);
  EXPECT_EQ(processes[0].memoryKb, 100);
}

TEST_F(PosixSystemTest, TodayIsAValidDateAndThereIsNoPointer) {
  PosixSystem system = Make();
  const CalendarDate today = system.Today();
  EXPECT_GE(today.year, 2024);
  EXPECT_GE(today.month, 1);
  EXPECT_LE(today.month, 12);
  EXPECT_GE(today.day, 1);
  EXPECT_LE(today.day, 31);
  EXPECT_THROW(system.Pointer(), HostError);
}

}  // namespace
}  // namespace tezlo::testing
