// Reading small text files such as those under /proc.
#pragma once

#include <optional>
#include <string>

namespace tezlo {

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadTextFile(const std::string& path);

}  // namespace tezlo
