#include "system/posix/password_entry.h"

#include <pwd.h>
#include <unistd.h>

namespace tezlo {

namespace {

// Bytes for getpwuid_r's strings when the system does not suggest a size.
constexpr size_t kFallbackBufferBytes = 16 * 1024;

}  // namespace

std::optional<PasswordEntry> ReadPasswordEntry(uint32_t uid) {
  const long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::string buffer(size > 0 ? static_cast<size_t>(size) : kFallbackBufferBytes, '\0');
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
    return std::nullopt;
  PasswordEntry out;
  if (found->pw_name != nullptr) out.name = found->pw_name;
  if (found->pw_dir != nullptr) out.home = found->pw_dir;
  return out;
}

}  // namespace tezlo
