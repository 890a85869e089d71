#include "tools/substring_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "dispatch/conversions.h"
#include "text/case_fold.h"

namespace tezlo {
namespace {

std::vector<std::u32string> Folded(const std::vector<std::string>& texts) {
  std::vector<std::u32string> out;
  for (const auto& t : texts) out.push_back(FoldForSearch(t));
  return out;
}

TEST(FoundInAny, SubstringsAreFoundAndLongerTextsAreNot) {
  const auto found = FoundInAny(Folded({"ab", "cabd", "", "zz", "d"}), Folded({"xcabdx", "q"}));
  EXPECT_EQ(found, (std::vector<bool>{true, true, true, false, true}));
  EXPECT_EQ(FoundInAny(Folded({"cabd"}), Folded({"ab"})), std::vector<bool>{false});
}

TEST(FoundInAny, EmptyListsFindNothing) {
  EXPECT_EQ(FoundInAny(Folded({"", "a"}), {}), (std::vector<bool>{false, false}));
  EXPECT_TRUE(FoundInAny({}, Folded({"a"})).empty());
  EXPECT_EQ(FoundInAny(Folded({"", "a"}), Folded({""})), (std::vector<bool>{true, false}));
}

TEST(FoundInAny, OverlappingAndNestedNeedlesAreAllFound) {
  // Needles that end inside one another exercise the failure and output chains.
  const auto needles = Folded({"she", "he", "hers", "his", "is", "s", "ushers", "rs"});
  const auto found = FoundInAny(needles, Folded({"ushers"}));
  EXPECT_EQ(found, (std::vector<bool>{true, true, true, false, false, true, true, true}));
}

// Random short lists over a small alphabet (so that matches are common), with upper and lower
// case, digits, a non-Latin letter and numbers read through their text.
std::vector<std::string> RandomItems(std::mt19937& rng, size_t count) {
  static const std::vector<std::string> kUnits = {"a", "A", "b", "B",  "1",
                                                  "2", "é", "É", "中", "."};
  std::vector<std::string> items;
  for (size_t i = 0; i < count; ++i) {
    if (rng() % 5 == 0) {
      items.push_back(NumberToText(static_cast<double>(rng() % 3000) / ((rng() % 2) ? 1.0 : 10.0)));
      continue;
    }
    std::string item;
    const size_t length = rng() % 5;
    for (size_t k = 0; k < length; ++k) item += kUnits[rng() % kUnits.size()];
    items.push_back(item);
  }
  return items;
}

TEST(FoundInAny, AgreesWithTheScanOnRandomLists) {
  std::mt19937 rng(20240607);
  for (int round = 0; round < 3000; ++round) {
    const auto needles = Folded(RandomItems(rng, rng() % 12));
    const auto haystacks = Folded(RandomItems(rng, rng() % 12));
    ASSERT_EQ(FoundInAny(needles, haystacks), FoundInAnyByScan(needles, haystacks))
        << "round " << round;
  }
}

TEST(FoundInAny, AgreesWithTheScanOnLargerListsOverAWideAlphabet) {
  // Many children per node, ASCII and beyond, so that nodes get their direct tables.
  std::mt19937 rng(7);
  const std::u32string alphabet = U"abcdefghijklmnopqrstuvwxyz0123456789äöü中文字";
  for (int round = 0; round < 20; ++round) {
    std::vector<std::u32string> lists[2];
    for (auto& list : lists) {
      const size_t count = 50 + rng() % 300;
      for (size_t i = 0; i < count; ++i) {
        std::u32string item(rng() % 6, U' ');
        for (char32_t& c : item) c = alphabet[rng() % alphabet.size()];
        list.push_back(item);
      }
    }
    ASSERT_EQ(FoundInAny(lists[0], lists[1]), FoundInAnyByScan(lists[0], lists[1]))
        << "round " << round;
  }
}

}  // namespace
}  // namespace tezlo
