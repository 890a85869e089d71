// A directory listing of the folders in some roots, laid out like the command interpreter's
// "dir /ad" output and split into lines.
#pragma once

#include <string>
#include <vector>

namespace tezlo {

// For each root, in the order given: a heading " Directory of <root>", an empty line, one line
// per folder sorted by name ("2024-01-05  10:00    <DIR>          name", the date and time
// being the folder's last change in local time; a link to a folder reads
// "<SYMLINKD>     name [target]"), a summary "               N Dir(s)" and an empty line. Hidden
// folders (names beginning with ".") are left out, as are files. A root that cannot be read is
// left out entirely. The last line is the empty text after the final line break.
std::vector<std::string> FolderListing(const std::vector<std::string>& roots);

}  // namespace tezlo
