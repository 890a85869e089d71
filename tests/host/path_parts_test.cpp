#include "host/path_parts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>

namespace tezlo {
namespace {

TEST(PathParts, SplitsAtTheLastSeparator) {
  EXPECT_EQ(FolderOf("/home/u/book.xlsx"), "/home/u");
  EXPECT_EQ(FileNameOf("/home/u/book.xlsx"), "book.xlsx");
  EXPECT_EQ(FolderOf("/book.xlsx"), "/");
  EXPECT_EQ(FolderOf("book.xlsx"), ".");
  EXPECT_EQ(FileNameOf("book.xlsx"), "book.xlsx");
  EXPECT_EQ(FileNameOf("folder/"), "");
  EXPECT_EQ(FileNameOf("C:\\data\\book.xlsx"),
            "C:\\data\\book.xlsx");  // "\" is a byte of a name here
  EXPECT_EQ(FileNameOfAnyPath("C:\\data\\book.xlsx"), "book.xlsx");
  EXPECT_EQ(FileNameOfAnyPath("C:\\data/sub\\book.xlsx"), "book.xlsx");
}

TEST(PathParts, FolderAndNameMakeThePathAgain) {
  const std::string pieces[] = {"a", "bc", ".", "/", "\\", "\xE4\xB8\xAD"};
  std::mt19937 rng(3);
  std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> count(0, 7);
  for (int round = 0; round < 5000; ++round) {
    std::string path;
    for (int k = count(rng); k > 0; --k) path += pieces[piece(rng)];
    const std::string name = FileNameOf(path);
    ASSERT_EQ(name.find('/'), std::string::npos) << path;
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
      ASSERT_EQ(name, path);
      ASSERT_EQ(FolderOf(path), ".");
    } else {
      const std::string folder = FolderOf(path);
      ASSERT_EQ(slash == 0 ? "" : folder, path.substr(0, slash)) << path;
      ASSERT_EQ(path.substr(0, slash) + "/" + name, path);
    }
    std::string forward = path;
    std::replace(forward.begin(), forward.end(), '\\', '/');
    ASSERT_EQ(FileNameOfAnyPath(path), FileNameOf(forward)) << path;
  }
}

}  // namespace
}  // namespace tezlo
