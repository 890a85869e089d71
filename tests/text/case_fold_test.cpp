#include "text/case_fold.h"

#include <gtest/gtest.h>

#include <string>

namespace tezlo {
namespace {

TEST(FoldForSearch, FoldsCaseCharacterByCharacter) {
  EXPECT_EQ(FoldForSearch("AbC"), FoldForSearch("aBc"));
  EXPECT_EQ(FoldForSearch("ÄÖÜ"), FoldForSearch("äöü"));
  EXPECT_EQ(FoldForSearch("ΣΑΣ"), FoldForSearch("σας"));  // final sigma folds to sigma
  EXPECT_EQ(FoldForSearch("中文").size(), 2u);
  EXPECT_NE(FoldForSearch("a"), FoldForSearch("b"));
}

TEST(FoldForSearch, StrayBytesStayDistinctUnits) {
  const std::u32string folded = FoldForSearch(std::string("a\xff" "b", 3));
  ASSERT_EQ(folded.size(), 3u);
  EXPECT_NE(folded[1], FoldForSearch("ÿ")[0]);
  EXPECT_NE(FoldForSearch(std::string("\xfe", 1)), FoldForSearch(std::string("\xff", 1)));
}

}  // namespace
}  // namespace tezlo
