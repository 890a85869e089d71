// The temporary file a save writes before it replaces the workbook, and the removal of those a
// killed process left behind.
//
// A temporary file is named ".NAME.tezlo-PID-XXXXXX" beside the file it will replace, and holds
// an exclusive flock for as long as its writer lives: the kernel drops the lock when the process
// ends, however it ends, so a later save can tell a dead writer's leftover (lock free) from a file
// that another running process is still writing (lock held). A signal that ends the program
// (SIGINT, SIGTERM, SIGHUP, SIGQUIT) while a temporary file exists removes it first.
#pragma once

#include <string>
#include <string_view>

namespace tezlo {

class TempFile {
 public:
  // Creates and locks a new temporary file for `name` in `folder`. FileError naming `what`
  // when it cannot be made.
  TempFile(const std::string& folder, const std::string& name, const std::string& what);
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  // Removes the file unless it was renamed into place.
  ~TempFile();

  int Fd() const { return fd_; }
  const std::string& Path() const { return path_; }
  // Leaves the file where it is: renamed over its target, or a complete copy the user may need.
  void Keep() { remove_ = false; }

 private:
  std::string path_;
  int fd_ = -1;
  bool remove_ = true;
};

// Removes the temporary files that saves of `name` left in `folder` when their process died,
// and keeps those whose writer still runs. Returns how many were removed.
int RemoveLeftoverTempFiles(const std::string& folder, const std::string& name);

// The prefix every temporary file for `name` starts with (".NAME.tezlo-").
std::string TempFilePrefix(std::string_view name);

}  // namespace tezlo
