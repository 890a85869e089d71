#include "host/path_parts.h"

namespace tezlo {

namespace {

std::string AfterLast(std::string_view path, std::string_view separators) {
  const size_t slash = path.find_last_of(separators);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

std::string FolderOf(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string FileNameOf(std::string_view path) { return AfterLast(path, "/"); }

std::string FileNameOfAnyPath(std::string_view path) { return AfterLast(path, "/\\"); }

}  // namespace tezlo
