// Case folding and the sort order on Windows, where the national-language API stands in for ICU.
#include <gtest/gtest.h>

#include "memory/sort_order.h"
#include "text/windows/unicode_win.h"
#include "text/case_fold.h"

namespace tezlo {
namespace {

int32_t Decode(std::string_view s, int32_t& i) {
  return win::NextCodePoint(reinterpret_cast<const uint8_t*>(s.data()), i, static_cast<int32_t>(s.size()));
}

TEST(WindowsUnicode, DecodesWellFormedUtf8AndRejectsTheRest) {
  int32_t i = 0;
  EXPECT_EQ(Decode("\xE4\xB8\xBB", i), 0x4E3B);  // 主
  EXPECT_EQ(i, 3);
  i = 0;
  EXPECT_EQ(Decode("\xF0\x9F\x98\x80", i), 0x1F600);
  for (std::string_view bad : {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE4\xB8", "\x80"}) {
    i = 0;
    EXPECT_EQ(Decode(bad, i), -1);
    EXPECT_EQ(i, 1);
  }
}

TEST(WindowsUnicode, FoldsLettersOfEveryScriptAndLeavesOthers) {
  EXPECT_EQ(win::FoldCodePoint('A'), 'a');
  EXPECT_EQ(win::FoldCodePoint(0x00C9), 0x00E9);  // É
  EXPECT_EQ(win::FoldCodePoint(0x0416), 0x0436);  // Ж
  EXPECT_EQ(win::FoldCodePoint(0xFF21), 0xFF41);  // fullwidth A
  EXPECT_EQ(win::FoldCodePoint(0x4E3B), 0x4E3B);
  EXPECT_EQ(win::FoldCodePoint('7'), '7');
  EXPECT_EQ(FoldForSearch("AbÉ"), FoldForSearch("aBé"));
  EXPECT_NE(FoldForSearch("\xFF"), FoldForSearch("\xFE"));
}

TEST(WindowsUnicode, SortsNumbersThenTextWithoutCaseThenBooleans) {
  EXPECT_LT(CompareForSort(Value::Number(5), Value::Text("a")), 0);
  EXPECT_EQ(CompareForSort(Value::Text("abc"), Value::Text("ABC")), 0);
  EXPECT_LT(CompareForSort(Value::Text("apple"), Value::Text("Banana")), 0);
  EXPECT_LT(CompareForSort(Value::Text("zebra"), Value::Text("啊")), 0);  // Latin before Han
  EXPECT_LT(CompareForSort(Value::Text("z"), Value::Boolean(false)), 0);
  EXPECT_LT(CompareForSort(Value::Boolean(true), Value::Error(ErrorCode::NA)), 0);
}

}  // namespace
}  // namespace tezlo
