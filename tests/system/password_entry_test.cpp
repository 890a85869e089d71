#include "system/posix/password_entry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tezlo::testing {
namespace {

// The fields of a user's line as getent, another reader of the same database, prints it.
std::vector<std::string> GetentFields(uint32_t uid) {
  const std::string command = "getent passwd " + std::to_string(uid);
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string line;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) line += buffer;
  pclose(pipe);
  if (!line.empty() && line.back() == '\n') line.pop_back();
  std::vector<std::string> fields(1);
  for (const char c : line) {
    if (c == ':') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return line.empty() ? std::vector<std::string>{} : fields;
}

TEST(PasswordEntry, AgreesWithGetent) {
  for (const uint32_t uid : {0u, static_cast<uint32_t>(getuid())}) {
    const std::vector<std::string> fields = GetentFields(uid);
    const std::optional<PasswordEntry> entry = ReadPasswordEntry(uid);
    if (fields.size() < 6) {
      EXPECT_FALSE(entry) << uid;
      continue;
    }
    ASSERT_TRUE(entry) << uid;
    EXPECT_EQ(entry->name, fields[0]);
    EXPECT_EQ(entry->home, fields[5]);
  }
  EXPECT_FALSE(ReadPasswordEntry(4000000000u));  // no such user
}

}  // namespace
}  // namespace tezlo::testing
