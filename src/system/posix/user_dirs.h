// The XDG user folders (desktop, documents, ...) as user-dirs.dirs names them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tezlo {

// The folder `key` ("XDG_DESKTOP_DIR") is set to in the text of a user-dirs.dirs file: a line
// KEY="$HOME/sub/folder" or KEY="/absolute/folder", with "$HOME" replaced by `home` and
// backslash escapes removed. Nothing when the key is missing or its value has another form.
// The last line naming the key wins.
std::optional<std::string> UserDirFromSettings(std::string_view settings, std::string_view key,
                                               const std::string& home);

}  // namespace tezlo
