#include "system/posix/process_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "host/host_error.h"
#include "system/temp_folder.h"

namespace tezlo::testing {
namespace {

std::string Status(const std::string& name, const std::string& uids, const std::string& rss) {
  std::string text =
      "Name:\t" + name + "\nUmask:\t0022\nState:\tS (sleeping)\nUid:\t" + uids + "\n";
  if (!rss.empty()) text += "VmPeak:\t  9999 kB\nVmRSS:\t" + rss + "\n";
  return text + "Threads:\t1\n";
}

TEST(ParseProcessStatus, ReadsNameEffectiveUserAndResidentMemory) {
  const auto status = ParseProcessStatus(Status("bash", "1000\t0\t0\t0", "   1536 kB"));
  ASSERT_TRUE(status);
  EXPECT_EQ(status->name, "bash");
  EXPECT_EQ(status->ownerId, 0u);
  EXPECT_EQ(status->residentKb, 1536);
}

TEST(ParseProcessStatus, KernelThreadsHaveNoMemoryAndTextWithoutANameIsNoProcess) {
  const auto thread = ParseProcessStatus(Status("kworker/0:1", "0\t0\t0\t0", ""));
  ASSERT_TRUE(thread);
  EXPECT_EQ(thread->residentKb, 0);
  EXPECT_FALSE(ParseProcessStatus("Uid:\t0\t0\t0\t0\n"));
  EXPECT_FALSE(ParseProcessStatus(""));
  const auto noUid = ParseProcessStatus("Name:\tx\nUid:\tgarbage\n");
  ASSERT_TRUE(noUid);
  EXPECT_FALSE(noUid->ownerId);
}

TEST(ReadProcesses, ListsEveryNumberedFolderInIdentifierOrder) {
  TempFolder proc;
  proc.Write("1/status", Status("init", "0\t0\t0\t0", "4096 kB"));
  proc.Link("1/exe", "/sbin/init");
  proc.Write("42/status", Status("kthreadd", "0\t0\t0\t0", ""));  // no exe link: no path
  proc.Write("1000/status", Status("averyveryverylo", "0\t0\t0\t0", "8 kB"));
  proc.Link("1000/exe", "/opt/app/averyveryverylongname");  // a name the kernel cut short
  proc.Write("77/cmdline", "gone");                         // ended: no status
  proc.Write("self/status", Status("self", "0\t0\t0\t0", "1 kB"));
  proc.Write("12x/status", Status("odd", "0\t0\t0\t0", "1 kB"));

  const std::vector<ProcessInfo> processes = ReadProcesses(proc.Path());
  ASSERT_EQ(processes.size(), 3u);
  EXPECT_EQ(processes[0], (ProcessInfo{"init", UserName(0), 1, 4096, "/sbin/init"}));
  EXPECT_EQ(processes[1], (ProcessInfo{"kthreadd", UserName(0), 42, 0, ""}));
  EXPECT_EQ(processes[2].id, 1000);
  EXPECT_EQ(processes[2].name, "averyveryverylongname");
  EXPECT_EQ(processes[2].memoryKb, 8);
}

TEST(ReadProcesses, AnUnknownOwnerIsEmpty) {
  TempFolder proc;
  proc.Write("5/status", Status("x", "0\t4000000000\t0\t0", "1 kB"));
  const auto processes = ReadProcesses(proc.Path());
  ASSERT_EQ(processes.size(), 1u);
  EXPECT_EQ(processes[0].owner, "");
}

TEST(ReadProcesses, AMissingProcRootCannotBeRead) {
  TempFolder proc;
  EXPECT_THROW(ReadProcesses(proc.Path("missing")), HostError);
}

TEST(UserName, NamesKnownUsers) {
  EXPECT_EQ(UserName(0), "root");
  EXPECT_EQ(UserName(4000000000u), "");
}

TEST(ReadProcesses, TheRealProcTableListsThisProcess) {
  const auto processes = ReadProcesses("/proc");
  const auto self = std::find_if(processes.begin(), processes.end(),
                                 [](const ProcessInfo& p) { return p.id == getpid(); });
  ASSERT_NE(self, processes.end());
  EXPECT_GT(self->memoryKb, 0);
  EXPECT_FALSE(self->path.empty());
  EXPECT_EQ(self->owner, UserName(static_cast<uint32_t>(geteuid())));
}

}  // namespace
}  // namespace tezlo::testing
