#include "system/posix/x11_pointer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace tezlo::testing {
namespace {

// A virtual X server of the test's own (Xvfb) on a display numbered after the test's process,
// stopped at the end.
class VirtualDisplay {
 public:
  VirtualDisplay() : name_(":" + std::to_string(100 + getpid() % 5000)) {
    pid_ = fork();
    if (pid_ == 0) {
      execlp("Xvfb", "Xvfb", name_.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~VirtualDisplay() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  const std::string& Name() const { return name_; }
  // The pointer's position once the server answers; nothing when it has not within 10 s.
  std::optional<PointerPosition> Pointer() const {
    for (int tries = 0; pid_ > 0 && tries < 200; ++tries) {
      if (const auto at = X11PointerPosition(name_)) return at;
      usleep(50'000);
    }
    return std::nullopt;
  }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

TEST(X11PointerPosition, NothingWithoutADisplayToAsk) {
  EXPECT_FALSE(X11PointerPosition(":4719"));  // no server there
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  unsetenv("DISPLAY");
  EXPECT_FALSE(X11PointerPosition());
  if (display) setenv("DISPLAY", saved.c_str(), 1);
}

TEST(X11PointerPosition, ReadsWhereTheServerHasThePointer) {
  const VirtualDisplay display;
  // A new server starts with the pointer in the middle of its screen.
  const auto at = display.Pointer();
  ASSERT_TRUE(at) << "Xvfb (package xvfb) did not answer on " << display.Name();
  EXPECT_EQ(*at, (PointerPosition{320, 240}));
}

}  // namespace
}  // namespace tezlo::testing
