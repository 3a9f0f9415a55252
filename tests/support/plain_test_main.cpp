// The test main of the tests that link no Qt.
#include <gtest/gtest.h>

#include "childprocess.h"

int main(int argc, char** argv) {
  const peertesting::ProcessTemporaryFolder temporaryFolder;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
