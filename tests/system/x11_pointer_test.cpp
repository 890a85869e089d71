#include "system/posix/x11_pointer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace tezlo::testing {
namespace {

// A virtual X server of the test's own (Xvfb), on the first free display; stopped at the end.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x480x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    char buffer[16] = {};
    const ssize_t got = read(fds[0], buffer, sizeof buffer - 1);  // the display, once ready
    close(fds[0]);
    if (got > 0) name_ = ":" + std::string(buffer, static_cast<size_t>(got - 1));
  }
  ~VirtualDisplay() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  const std::string& Name() const { return name_; }

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
  ASSERT_FALSE(display.Name().empty()) << "Xvfb (package xvfb) did not start";
  // A new server starts with the pointer in the middle of its screen.
  const auto at = X11PointerPosition(display.Name());
  ASSERT_TRUE(at);
  EXPECT_EQ(*at, (PointerPosition{320, 240}));
}

}  // namespace
}  // namespace tezlo::testing
