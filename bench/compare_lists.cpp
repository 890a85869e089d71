#include "compare_lists.h"

#include <random>

namespace tezlo::bench {
namespace {

std::string RandomItem(std::mt19937& rng) {
  static const std::string kChars =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string item(6 + rng() % 13, ' ');
  for (char& c : item) c = kChars[rng() % kChars.size()];
  return item;
}

std::string FlipCase(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

}  // namespace

Lists MakeLists(int32_t count) {
  std::mt19937 rng(42);
  Lists lists;
  for (int32_t i = 0; i < count; ++i) lists.left.push_back(RandomItem(rng));
  for (int32_t i = 0; i < count; ++i) lists.right.push_back(RandomItem(rng));
  // Cut every fourth item out of a random item of the other list.
  const auto cut = [&](std::vector<std::string>& into, const std::vector<std::string>& from) {
    for (int32_t i = 0; i < count; i += 4) {
      const std::string& source = from[rng() % from.size()];
      const size_t length = 3 + rng() % (source.size() - 2);
      const size_t start = rng() % (source.size() - length + 1);
      into[static_cast<size_t>(i)] = FlipCase(source.substr(start, length));
    }
  };
  cut(lists.left, lists.right);
  cut(lists.right, lists.left);
  return lists;
}

}  // namespace tezlo::bench
