#include "memory/sort_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace tezlo {
namespace {

Value T(const char* s) { return Value::Text(s); }

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(SortOrder, KindsInOrder) {
  const std::vector<Value> ascending = {
      Value::Number(-5),     Value::Date(29342),   Value::Number(1e6),         T(""), T("a"),
      Value::Boolean(false), Value::Boolean(true), Value::Error(ErrorCode::NA)};
  for (size_t i = 0; i < ascending.size(); ++i) {
    for (size_t j = 0; j < ascending.size(); ++j) {
      const int expected = i < j ? -1 : (i > j ? 1 : 0);
      EXPECT_EQ(Sign(CompareForSort(ascending[i], ascending[j])), expected) << i << " vs " << j;
    }
  }
}

TEST(SortOrder, NumbersAndDatesByValue) {
  EXPECT_EQ(CompareForSort(Value::Number(29342), Value::Date(29342)), 0);
  EXPECT_LT(CompareForSort(Value::Number(2), Value::Number(10)), 0);
  EXPECT_LT(CompareForSort(Value::Number(999), T("1")), 0);  // every number before every text
}

TEST(SortOrder, TextIgnoresCase) {
  EXPECT_EQ(CompareForSort(T("a"), T("A")), 0);
  EXPECT_EQ(CompareForSort(T("Apple"), T("aPPLE")), 0);
  EXPECT_LT(CompareForSort(T("apple"), T("Banana")), 0);
  EXPECT_LT(CompareForSort(T("B"), T("c")), 0);
  EXPECT_LT(CompareForSort(T("10"), T("9")), 0);  // digits in text compare as text
  EXPECT_LT(CompareForSort(T("a"), T("ab")), 0);
}

TEST(SortOrder, ChineseByPinyin) {
  // 阿 a, 北 bei, 城 cheng, 大 da, 中 zhong
  std::vector<std::string> words = {"中", "大", "阿", "城", "北"};
  std::sort(words.begin(), words.end(), [](const std::string& x, const std::string& y) {
    return CompareForSort(Value::Text(x), Value::Text(y)) < 0;
  });
  EXPECT_EQ(words, (std::vector<std::string>{"阿", "北", "城", "大", "中"}));
  EXPECT_LT(CompareForSort(T("张三"), T("赵四")), 0);  // zhang before zhao
  EXPECT_LT(CompareForSort(T("Zoo"), T("阿")), 0);     // Latin letters before Han
  EXPECT_LT(CompareForSort(T("9"), T("a")), 0);
}

TEST(SortOrder, BooleansAndErrors) {
  EXPECT_LT(CompareForSort(Value::Boolean(false), Value::Boolean(true)), 0);
  EXPECT_EQ(CompareForSort(Value::Boolean(true), Value::Boolean(true)), 0);
  EXPECT_EQ(CompareForSort(Value::Error(ErrorCode::NA), Value::Error(ErrorCode::Div0)), 0);
}

TEST(SortOrder, EmptyGoesLast) {
  EXPECT_GT(CompareForSort(Value(), Value::Error(ErrorCode::NA)), 0);
  EXPECT_LT(CompareForSort(Value::Number(1), Value()), 0);
  EXPECT_EQ(CompareForSort(Value(), Value()), 0);
}

TEST(SortOrder, WorksOnOtherThreads) {
  int result = 1;
  std::thread worker([&] { result = CompareForSort(T("北"), T("阿")); });
  worker.join();
  EXPECT_GT(result, 0);
}

}  // namespace
}  // namespace tezlo
