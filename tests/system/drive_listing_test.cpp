#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "system/posix/folder_listing.h"
#include "system/posix/mount_table.h"
#include "system/temp_folder.h"

namespace tezlo::testing {
namespace {

TEST(ParseMounts, ReadsDeviceMountPointAndTypeWithEscapes) {
  const auto entries = ParseMounts(
      "/dev/sda1 / ext4 rw,relatime 0 0\n"
      "proc /proc proc rw 0 0\n"
      "/dev/sdb1 /media/My\\040Disk vfat rw 0 0\n"
      "broken-line\n"
      "\n"
      "server:/x /mnt/back\\134slash nfs4 rw 0 0");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0], (MountEntry{"/dev/sda1", "/", "ext4"}));
  EXPECT_EQ(entries[1].type, "proc");
  EXPECT_EQ(entries[2].mountPoint, "/media/My Disk");
  EXPECT_EQ(entries[3].mountPoint, "/mnt/back\\slash");
}

TEST(IsPseudoFileSystem, KernelViewsAndMemoryFileSystemsAreNoDrives) {
  for (const char* type : {"proc", "sysfs", "tmpfs", "devtmpfs", "cgroup2", "devpts", "mqueue"}) {
    EXPECT_TRUE(IsPseudoFileSystem(type)) << type;
  }
  for (const char* type : {"ext4", "xfs", "btrfs", "vfat", "ntfs3", "nfs4", "overlay", "fuseblk"}) {
    EXPECT_FALSE(IsPseudoFileSystem(type)) << type;
  }
}

TEST(ReadyMountPoints, KeepsReadableRealFileSystemsOnce) {
  TempFolder root;
  root.MakeFolder("disk");
  root.MakeFolder("usb");
  root.MakeFolder("run");
  root.Write("file-mount", "a bound file is no drive");
  const auto points = ReadyMountPoints({
      {"/dev/sda1", root.Path("disk"), "ext4"},
      {"tmpfs", root.Path("run"), "tmpfs"},
      {"/dev/sdc1", root.Path("gone"), "ext4"},  // not there: not ready
      {"/dev/sdb1", root.Path("usb"), "vfat"},
      {"/dev/sda1", root.Path("disk"), "ext4"},  // mounted again over itself
      {"/dev/sda1", root.Path("file-mount"), "ext4"},
  });
  EXPECT_EQ(points, (std::vector<std::string>{root.Path("disk"), root.Path("usb")}));
}

TEST(FolderListing, ListsTheFoldersOfEachRootLikeDir) {
  TempFolder root;
  root.MakeFolder("a/zeta/deeper");
  root.MakeFolder("a/Alpha");
  root.MakeFolder("a/.hidden");
  root.Write("a/file.txt", "files are not listed");
  root.Link("a/linked", root.Path("a/zeta"));
  root.Link("a/dangling", root.Path("nowhere"));
  root.MakeFolder("b");

  const auto lines = FolderListing({root.Path("a"), root.Path("missing"), root.Path("b")});
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], " Directory of " + root.Path("a"));
  EXPECT_EQ(lines[1], "");
  // "2024-01-05  10:00    <DIR>          Alpha": date, time, marker, name.
  ASSERT_EQ(lines[2].size(), 17 + 4 + 15 + 5u);
  EXPECT_EQ(lines[2].substr(4, 1), "-");
  EXPECT_EQ(lines[2].substr(17), "    <DIR>          Alpha");
  EXPECT_EQ(lines[3].substr(17), "    <SYMLINKD>     linked [" + root.Path("a/zeta") + "]");
  EXPECT_EQ(lines[4].substr(17), "    <DIR>          zeta");
  EXPECT_EQ(lines[5], "               3 Dir(s)");
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], " Directory of " + root.Path("b"));
  EXPECT_EQ(lines[8], "");
  EXPECT_EQ(lines[9], "               0 Dir(s)");
  EXPECT_EQ(lines[10], "");
  EXPECT_EQ(lines[11], "");  // the empty text after the final line break
}

TEST(FolderListing, NoRootsGiveTheEmptyTextAlone) {
  EXPECT_EQ(FolderListing({}), std::vector<std::string>{""});
}

TEST(FolderListing, AnUnreadableRootIsLeftOut) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  TempFolder root;
  root.MakeFolder("locked/inner");
  chmod(root.Path("locked").c_str(), 0);
  EXPECT_EQ(FolderListing({root.Path("locked")}), std::vector<std::string>{""});
  chmod(root.Path("locked").c_str(), 0700);
}

}  // namespace
}  // namespace tezlo::testing
