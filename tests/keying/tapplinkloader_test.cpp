#include "keying/tapplinkloader.h"

#include "platform/errors.h"

#include <gtest/gtest.h>

namespace {

std::int32_t Status() { return 7; }

// The test program's folder holds no keyer library, and the system's library path none either.
TEST(KeyerLibrary, ALibraryThatCannotBeLoadedRaisesARunTimeErrorAtEveryCall) {
  for (int call = 0; call < 2; ++call) {
    try {
      keying::tp_getstatus();
      ADD_FAILURE() << "no error";
    } catch (const platform::RuntimeError& error) {
      EXPECT_EQ(error.Number(), 53);
      EXPECT_EQ(error.Description(), "File not found: Tapplink");
    }
  }
}

TEST(KeyerLibrary, ExportsAreCalledByNameAndAMissingOneRaisesARunTimeError) {
  keying::FakeTapplink library({{"tp_getstatus", reinterpret_cast<QFunctionPointer>(&Status)}});
  EXPECT_EQ(keying::tp_getstatus(), 7);
  try {
    keying::tp_backspace();
    ADD_FAILURE() << "no error";
  } catch (const platform::RuntimeError& error) {
    EXPECT_EQ(error.Number(), 453);
    EXPECT_EQ(error.Description(), "Can't find DLL entry point tp_backspace in Tapplink");
  }
}

}  // namespace
