// Replacing a file's content safely: never a partial file under the user's name, the file's
// links, owner, group and mode kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tezlo {

struct ReplaceOptions {
  bool force = false;  // replace a read-only file too
};

// Writes `bytes` as the content of `path`, creating it when missing, and returns notes for the
// user about what could not be kept (an empty list when everything was):
// - a symbolic link is followed: its final target is written, in the target's folder, and the
//   link stays;
// - a file with several hard links is rewritten in place after a complete copy was written and
//   flushed beside it, so that every link sees the new content; any other file is replaced by
//   renaming a flushed temporary file over it;
// - the replaced file's mode, owner and group are kept where the saver may set them;
// - temporary files that killed saves of the same file left behind are removed first.
// FileError (naming `what`) when the file cannot be written, and then `path` is untouched;
// ReadOnlyFileError for a file nobody may write, unless `options.force`.
std::vector<std::string> ReplaceFile(const std::string& path, std::string_view bytes,
                                     const std::string& what, const ReplaceOptions& options = {});

// The file a path finally names, symbolic links followed (relative ones from their own folder);
// the path itself when it names no link. FileError for a loop of links.
std::string FollowLinks(const std::string& path, const std::string& what);

}  // namespace tezlo
