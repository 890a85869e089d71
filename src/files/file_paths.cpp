#include "files/file_paths.h"

#include <climits>
#include <cstdlib>
#include <memory>

namespace tezlo {

namespace {

std::string Real(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string AbsolutePath(const std::string& path) {
  if (std::string real = Real(path); !real.empty()) return real;
  if (std::string folder = Real(FolderOf(path)); !folder.empty()) {
    return (folder == "/" ? folder : folder + "/") + FileNameOf(path);
  }
  return path;
}

}  // namespace tezlo
