#include "scripted/fixed_system.h"

#include <gtest/gtest.h>

#include "host/host_error.h"

namespace tezlo {
namespace {

TEST(FixedSystemTest, AnswersWhatWasSet) {
  FixedSystem sys;
  sys.SetToday({2024, 2, 29});
  sys.SetProcesses({ProcessInfo{"excel.exe", "me", 42, 1024.5, "C:\\excel.exe"}});
  sys.SetDriveFolderListing({"C:\\a", ""});
  sys.SetDesktopItems({"报告.docx"});
  sys.SetTemplateFolder("/tmp/templates");
  sys.SetPointer({-3, 7});
  EXPECT_EQ(sys.Today(), (CalendarDate{2024, 2, 29}));
  ASSERT_EQ(sys.Processes().size(), 1u);
  EXPECT_EQ(sys.Processes()[0].id, 42);
  EXPECT_EQ(sys.DriveFolderListing(), (std::vector<std::string>{"C:\\a", ""}));
  EXPECT_EQ(sys.DesktopItems(), std::vector<std::string>{"报告.docx"});
  EXPECT_EQ(sys.TemplateFolder(), "/tmp/templates");
  EXPECT_EQ(sys.Pointer(), (PointerPosition{-3, 7}));
}

TEST(FixedSystemTest, UnreadableSourceThrowsUntilReadableAgain) {
  FixedSystem sys;
  sys.SetUnreadable(FixedSystem::Source::Processes);
  EXPECT_THROW(sys.Processes(), HostError);
  EXPECT_NO_THROW(sys.DesktopItems());
  sys.SetUnreadable(FixedSystem::Source::Processes, false);
  EXPECT_NO_THROW(sys.Processes());
}

}  // namespace
}  // namespace tezlo
