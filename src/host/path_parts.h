// The parts of a file path: its folder and its file name, split at the last separator.
#pragma once

#include <string>
#include <string_view>

namespace tezlo {

// The folder part of a path written with "/" ("." when there is none, "/" for the root).
std::string FolderOf(std::string_view path);
// The file name part of a path written with "/": what follows the last "/", the whole path
// when it has none.
std::string FileNameOf(std::string_view path);
// The same for a path that may also be written with "\" (one given on Windows).
std::string FileNameOfAnyPath(std::string_view path);

}  // namespace tezlo
