// Preloaded (LD_PRELOAD) into the LibreOffice that the dialog tests start. An office built without
// a GUI puts itself into headless mode at start-up, where every modal dialog is cancelled the
// moment it opens. This library waits for that and switches the cancelling off again, so that the
// tests' dialogs wait for an answer as a user's would, drawn by the office's own bitmap back end
// (svp). It then creates the file named by TEZLO_DIALOGS_READY, for the launcher to wait on.
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <cstdlib>

namespace {

// Application::GetDialogCancelMode() and Application::SetDialogCancelMode(DialogCancelMode), as
// the office's merged library exports them; DialogCancelMode::Off is 0.
using GetMode = int (*)();
using SetMode = void (*)(int);
constexpr const char* kGetMode = "_ZN11Application19GetDialogCancelModeEv";
constexpr const char* kSetMode = "_ZN11Application19SetDialogCancelModeE16DialogCancelMode";

void* Watch(void*) {
  for (int tries = 0; tries < 3000; ++tries) {  // the office's start-up: up to five minutes
    auto get = reinterpret_cast<GetMode>(dlsym(RTLD_DEFAULT, kGetMode));
    auto set = reinterpret_cast<SetMode>(dlsym(RTLD_DEFAULT, kSetMode));
    if (get != nullptr && set != nullptr && get() != 0) {
      set(0);
      if (const char* ready = std::getenv("TEZLO_DIALOGS_READY")) {
        const int fd = open(ready, O_CREAT | O_WRONLY, 0600);
        if (fd >= 0) close(fd);
      }
      return nullptr;
    }
    usleep(100000);
  }
  return nullptr;
}

__attribute__((constructor)) void StartWatching() {
  // The office's launcher process (oosplash) gets this library too; the office's library never
  // appears there, and its watch ends with the start-up time.
  pthread_t thread;
  if (pthread_create(&thread, nullptr, Watch, nullptr) == 0) pthread_detach(thread);
}

}  // namespace
