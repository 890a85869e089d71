#include "files/file_paths.h"

#include <climits>
#include <cstdlib>
#include <memory>

#include "host/path_parts.h"

namespace tezlo {

namespace {

std::string Real(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

}  // namespace

std::string AbsolutePath(const std::string& path) {
  if (std::string real = Real(path); !real.empty()) return real;
  if (std::string folder = Real(FolderOf(path)); !folder.empty()) {
    return (folder == "/" ? folder : folder + "/") + FileNameOf(path);
  }
  return path;
}

}  // namespace tezlo
