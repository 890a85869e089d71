#include "system/posix/user_dirs.h"

#include "text/ascii.h"

namespace tezlo {
namespace {

// The text between the double quotes of `value`, escapes removed; nothing when unquoted.
std::optional<std::string> Unquote(std::string_view value) {
  if (value.size() < 2 || value.front() != '"') return std::nullopt;
  std::string out;
  for (size_t i = 1; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\\' && i + 1 < value.size()) {
      out += value[++i];
    } else if (c == '"') {
      return i + 1 == value.size() ? std::optional<std::string>(out) : std::nullopt;
    } else {
      out += c;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> UserDirFromSettings(std::string_view settings, std::string_view key,
                                               const std::string& home) {
  std::optional<std::string> folder;
  while (!settings.empty()) {
    const size_t eol = settings.find('\n');
    const std::string_view line = TrimWhiteSpace(settings.substr(0, eol));
    settings = eol == std::string_view::npos ? std::string_view{} : settings.substr(eol + 1);
    if (line.empty() || line.front() == '#') continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || TrimWhiteSpace(line.substr(0, equals)) != key) continue;
    const auto value = Unquote(TrimWhiteSpace(line.substr(equals + 1)));
    if (!value) continue;
    if (value->starts_with("$HOME") && (value->size() == 5 || (*value)[5] == '/')) {
      folder = home + value->substr(5);
    } else if (value->starts_with("/")) {
      folder = *value;
    }
  }
  return folder;
}

}  // namespace tezlo
