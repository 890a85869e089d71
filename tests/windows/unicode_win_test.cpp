// Case folding and the sort order on Windows, where the national-language API stands in for ICU.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "memory/sort_order.h"
#include "text/windows/unicode_win.h"
#include "text/case_fold.h"

namespace tezlo {
namespace {

TEST(WindowsUnicode, WidensUtf8WithOneReplacementPerIllFormedSubpart) {
  EXPECT_EQ(win::WideOf("\xE4\xB8\xBB"), std::wstring(1, wchar_t{0x4E3B}));  // 主
  EXPECT_EQ(win::WideOf("\xF0\x9F\x98\x80"), (std::wstring{wchar_t{0xD83D}, wchar_t{0xDE00}}));
  // Overlong, a surrogate, above U+10FFFF, cut short, a stray continuation byte.
  const std::pair<std::string_view, size_t> bad[] = {
      {"\xC0\x80", 2}, {"\xED\xA0\x80", 3}, {"\xF4\x90\x80\x80", 4}, {"\xE4\xB8", 1}, {"\x80", 1}};
  for (const auto& [text, replacements] : bad) {
    EXPECT_EQ(win::WideOf(text), std::wstring(replacements, wchar_t{0xFFFD})) << text.size();
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
  EXPECT_EQ(FoldForSearch("\xFF"), FoldForSearch("\xEF\xBF\xBD"));  // a stray byte reads as U+FFFD
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
