// Path helpers shared by the reader and the writer.
#pragma once

#include <string>

namespace tezlo {

// The absolute, symlink-free form of `path` (of its folder when the file does not exist yet);
// `path` itself when neither can be resolved.
std::string AbsolutePath(const std::string& path);
// The folder part of a path ("." when there is none).
std::string FolderOf(const std::string& path);
// The file name part of a path.
std::string FileNameOf(const std::string& path);

}  // namespace tezlo
