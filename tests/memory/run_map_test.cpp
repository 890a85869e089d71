#include "memory/run_map.h"

#include <gtest/gtest.h>

namespace tezlo {
namespace {

TEST(RunMapTest, AssignSplitsAndJoinsRuns) {
  RunMap<double> m;
  EXPECT_EQ(m.Find(3), nullptr);
  m.Assign(1, 1048576, 20.0);
  EXPECT_EQ(m.Runs().size(), 1u);
  m.Assign(10, 19, 5.0);
  EXPECT_EQ(*m.Find(9), 20.0);
  EXPECT_EQ(*m.Find(10), 5.0);
  EXPECT_EQ(*m.Find(19), 5.0);
  EXPECT_EQ(*m.Find(20), 20.0);
  EXPECT_EQ(m.Runs().size(), 3u);
  m.Assign(10, 19, 20.0);
  EXPECT_EQ(m.Runs().size(), 1u);
  m.Clear(1, 1048576);
  EXPECT_TRUE(m.Empty());
}

TEST(RunMapTest, EraseAndShiftMovesLaterRunsBack) {
  RunMap<int> m;
  m.Assign(2, 3, 7);
  m.Assign(10, 12, 9);
  m.Assign(20, 20, 7);
  m.EraseAndShift(4, 11);  // 8 keys go; 12 becomes 4, 20 becomes 12
  EXPECT_EQ(*m.Find(3), 7);
  EXPECT_EQ(*m.Find(4), 9);
  EXPECT_EQ(m.Find(5), nullptr);
  EXPECT_EQ(*m.Find(12), 7);
  EXPECT_EQ(m.Find(20), nullptr);
}

TEST(RunMapTest, EraseJoinsEqualNeighboursAcrossTheGap) {
  RunMap<int> m;
  m.Assign(1, 5, 1);
  m.Assign(6, 6, 2);
  m.Assign(7, 9, 1);
  m.EraseAndShift(6, 6);
  EXPECT_EQ(m.Runs().size(), 1u);
  EXPECT_EQ(m.Runs().begin()->second.last, 8);
}

}  // namespace
}  // namespace tezlo
