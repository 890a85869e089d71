// A user's entry in the system's user database (getpwuid_r): the name and the home folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tezlo {

struct PasswordEntry {
  std::string name;
  std::string home;  // empty when the entry names none
};

// The entry of user `uid`; nothing when the database has none or cannot be read.
std::optional<PasswordEntry> ReadPasswordEntry(uint32_t uid);

}  // namespace tezlo
