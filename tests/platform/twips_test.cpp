#include "platform/twips.h"

#include <gtest/gtest.h>

TEST(Twips, FifteenTwipsArePixelAtStandardDpi) {
  EXPECT_EQ(platform::TwipsToPixels(9600), 640);
  EXPECT_EQ(platform::TwipsToPixels(7), 0);
  EXPECT_EQ(platform::TwipsToPixels(8), 1);
  EXPECT_EQ(platform::PixelsToTwips(1024), 15360);
}
