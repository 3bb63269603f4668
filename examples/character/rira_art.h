// How Rira looks: an orange round sprite with a two-leaf sprout, big eyes, stubby arms and
// feet. A Pose says where the parts are; DrawPose paints it into a palette canvas the size of
// the character frame.
#pragma once

#include <cstdint>

#include "canvas.h"

namespace rira {

inline constexpr int kFrameWidth = 128;
inline constexpr int kFrameHeight = 128;

// Palette indices used by the drawing; the rest of the palette is a grey ramp.
enum Ink : std::uint8_t {
  kClear = 0,  // the transparent index
  kOutline,
  kBody,
  kBodyShade,
  kWhite,
  kPupil,
  kLeaf,
  kLeafDark,
  kCheek,
  kMouth,
  kTongue,
  kSpark,
  kSky,
  kFeet,
  kInkCount,
};

enum class Eyes : std::uint8_t { kOpen, kHalf, kClosed, kWide, kHappy };
enum class Mouth : std::uint8_t { kSmile, kGrin, kOpen, kFlat, kFrown, kSmall };
enum class Extra : std::uint8_t { kNone, kSparkles, kSleep, kThought, kExclaim, kQuestion, kNote };

struct Pose {
  double dx = 0;  // body offset in pixels
  double dy = 0;
  double scale = 1.0;
  Eyes eyes = Eyes::kOpen;
  double look_x = 0;  // pupil offset, -1..1
  double look_y = 0;
  Mouth mouth = Mouth::kSmile;
  double left_arm_deg = 20;  // 0 hangs down, 90 points sideways, 180 points up
  double right_arm_deg = 20;
  double leaf_deg = 0;  // sprout sway
  double squash = 0;    // > 0 flattens the body (landing), < 0 stretches it (jumping)
  Extra extra = Extra::kNone;
  int extra_step = 0;  // animates the extra (sparkle phase, number of z's, ...)

  // True when the head sits where the mouth overlays are drawn.
  bool HeadAtRest() const { return dx == 0 && dy == 0 && scale == 1.0 && squash == 0; }
};

void DrawPose(Canvas& canvas, const Pose& pose);

// The mouth overlays: the area around the mouth of the resting pose, redrawn with each of the
// seven mouth shapes (closed, wide 1..4, medium, narrow).
inline constexpr int kMouthLeft = 48;
inline constexpr int kMouthTop = 78;
inline constexpr int kMouthWidth = 32;
inline constexpr int kMouthHeight = 22;
Canvas DrawMouthOverlay(int shape);

}  // namespace rira
