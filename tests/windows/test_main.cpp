// The Windows tests run in a single-threaded apartment, as an add-in inside Excel does.
#include <gtest/gtest.h>

#include "com/win32.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  OleInitialize(nullptr);
  const int result = RUN_ALL_TESTS();
  OleUninitialize();
  return result;
}
