#include "dispatch/error_modes.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "workbench.h"

namespace tezlo::testing {
namespace {

TEST(StepTest, SkipsAFailingStepAndGoesOn) {
  std::vector<int> done;
  EXPECT_FALSE(Step([&] { throw HostError("refused"); }));
  EXPECT_TRUE(Step([&] { done.push_back(2); }));
  EXPECT_EQ(done, (std::vector<int>{2}));
}

TEST(StepTest, OnlyHostErrorsAreSwallowed) {
  EXPECT_THROW(Step([] { throw std::logic_error("bug"); }), std::logic_error);
}

TEST(RunUntilFailureTest, FirstFailureSkipsTheRemainingSteps) {
  std::vector<int> done;
  EXPECT_FALSE(RunUntilFailure([&] {
    done.push_back(1);
    throw HostError("refused");
    done.push_back(2);
  }));
  EXPECT_EQ(done, (std::vector<int>{1}));
}

TEST(GuardTest, SwitchOffAndBackOnAtTheEnd) {
  Workbench wb;
  {
    ScreenUpdatingGuard screen(wb.host);
    AlertsGuard alerts(wb.host);
    EXPECT_FALSE(wb.host.ScreenUpdating());
    EXPECT_FALSE(wb.host.DisplayAlerts());
  }
  EXPECT_TRUE(wb.host.ScreenUpdating());
  EXPECT_TRUE(wb.host.DisplayAlerts());
}

TEST(GuardTest, BackOnWhenAnErrorEscapes) {
  Workbench wb;
  auto tool = [&] {
    ScreenUpdatingGuard screen(wb.host);
    AlertsGuard alerts(wb.host);
    throw HostError("refused");
  };
  EXPECT_THROW(tool(), HostError);
  EXPECT_TRUE(wb.host.ScreenUpdating());
  EXPECT_TRUE(wb.host.DisplayAlerts());
}

TEST(GuardTest, OnAtTheEndEvenWhenNotSwitchedOffAtTheStart) {
  Workbench wb;
  wb.host.SetScreenUpdating(false);
  {
    ScreenUpdatingGuard screen(wb.host, /*switchOff=*/false);
    EXPECT_FALSE(wb.host.ScreenUpdating());
  }
  EXPECT_TRUE(wb.host.ScreenUpdating());
}

}  // namespace
}  // namespace tezlo::testing
