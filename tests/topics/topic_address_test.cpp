#include "topics/topic_address.h"

#include <gtest/gtest.h>

namespace tezlo {
namespace {

TEST(TopicAddressTest, FirstCharacterIsTheColumnTheRestTheRow) {
  EXPECT_EQ(ParseTopicAddress("105"), (Cell{5, 1}));
  EXPECT_EQ(ParseTopicAddress("312"), (Cell{12, 3}));
  EXPECT_EQ(ParseTopicAddress("9049"), (Cell{49, 9}));
  EXPECT_EQ(ParseTopicAddress("1000"), (Cell{1, 1}));
  EXPECT_EQ(ParseTopicAddress("1 05"), (Cell{5, 1}));
}

TEST(TopicAddressTest, AnythingButPlainDigitsNamesNoCell) {
  for (const char* code : {"", "1", "1e5", "1.5e3", "105abc", "1-5", "1 0 5", ".5e3", "&H100",
                           "x105", "199999999999"}) {
    EXPECT_FALSE(ParseTopicAddress(code).has_value()) << code;
  }
}

}  // namespace
}  // namespace tezlo
