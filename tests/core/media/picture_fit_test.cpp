#include "core/media/picture_fit.h"

#include <gtest/gtest.h>

namespace rirerazo::media {
namespace {

using platform::RectTwips;

constexpr int kScreenW = 1024 * 15;  // 15360
constexpr int kScreenH = 768 * 15;   // 11520

TEST(FitPicture, PicturesThatFitKeepTheirSizeAndAreCentred) {
  EXPECT_EQ(FitPicture(kScreenW, kScreenH, kScreenW, kScreenH),
            (RectTwips{0, 0, kScreenW, kScreenH}));
  EXPECT_EQ(FitPicture(1500, 3000, kScreenW, kScreenH), (RectTwips{6930, 4260, 1500, 3000}));
  EXPECT_EQ(FitPicture(15, 15, 45, 45), (RectTwips{15, 15, 15, 15}));
  EXPECT_EQ(FitPicture(0, 0, kScreenW, kScreenH), (RectTwips{7680, 5760, 0, 0}));
}

TEST(FitPicture, LargerPicturesShrinkToTouchTwoEdges) {
  EXPECT_EQ(FitPicture(2 * kScreenW, kScreenH, kScreenW, kScreenH),
            (RectTwips{0, 2880, kScreenW, kScreenH / 2}));
  EXPECT_EQ(FitPicture(kScreenW, 2 * kScreenH, kScreenW, kScreenH),
            (RectTwips{3840, 0, kScreenW / 2, kScreenH}));
  EXPECT_EQ(FitPicture(3 * kScreenW, 3 * kScreenH, kScreenW, kScreenH),
            (RectTwips{0, 0, kScreenW, kScreenH}));
  // Wider by one twip only: 11520 x 15360/15361 = 11519.25, and the odd twip left over
  // is dropped by the halving.
  EXPECT_EQ(FitPicture(kScreenW + 1, kScreenH, kScreenW, kScreenH),
            (RectTwips{0, 0, kScreenW, kScreenH - 1}));
}

TEST(FitPicture, ScaledSizesRoundHalfToEvenInSinglePrecision) {
  // factor 0.5: 25 x 0.5 = 12.5 -> 12, 27 x 0.5 = 13.5 -> 14
  EXPECT_EQ(FitPicture(40, 25, 20, 100), (RectTwips{0, 44, 20, 12}));
  EXPECT_EQ(FitPicture(40, 27, 20, 100), (RectTwips{0, 43, 20, 14}));
  // factor 1/3 in single precision: 3000 x 0.33333334 = 1000.00002 -> 1000
  EXPECT_EQ(FitPicture(3000, 3000, 1000, 2000), (RectTwips{0, 500, 1000, 1000}));
}

TEST(HalveForCentring, RoundsThenDividesTowardsZero) {
  EXPECT_EQ(HalveForCentring(7), 3);
  EXPECT_EQ(HalveForCentring(-7), -3);
  EXPECT_EQ(HalveForCentring(2.5), 1) << "2.5 rounds to 2";
  EXPECT_EQ(HalveForCentring(3.5), 2) << "3.5 rounds to 4";
  EXPECT_EQ(HalveForCentring(0), 0);
}

}  // namespace
}  // namespace rirerazo::media
