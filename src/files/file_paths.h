// The absolute form of a path, for the reader and the writer (the parts of a path are
// host/path_parts.h's).
#pragma once

#include <string>

namespace tezlo {

// The absolute, symlink-free form of `path` (of its folder when the file does not exist yet);
// `path` itself when neither can be resolved.
std::string AbsolutePath(const std::string& path);

}  // namespace tezlo
