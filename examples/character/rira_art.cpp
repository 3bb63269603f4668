#include "rira_art.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace rira {
namespace {

constexpr double kCentreX = 64;
constexpr double kCentreY = 68;

// Maps the drawing's design coordinates (a 128 x 128 frame with the body at rest) to the
// canvas, applying the pose's offset, scale and squash around the body's centre.
class Pen {
 public:
  Pen(Canvas& canvas, const Pose& pose)
      : canvas_(canvas),
        sx_(pose.scale * (1 + 0.6 * pose.squash)),
        sy_(pose.scale * (1 - pose.squash)),
        dx_(pose.dx),
        dy_(pose.dy) {}

  double X(double x) const { return kCentreX + dx_ + (x - kCentreX) * sx_; }
  double Y(double y) const { return kCentreY + dy_ + (y - kCentreY) * sy_; }

  void Ellipse(double cx, double cy, double rx, double ry, std::uint8_t ink, double deg = 0) {
    canvas_.Ellipse(X(cx), Y(cy), rx * sx_, ry * sy_, ink, deg);
  }
  void Line(double x0, double y0, double x1, double y1, double width, std::uint8_t ink) {
    canvas_.Line(X(x0), Y(y0), X(x1), Y(y1), width * std::min(sx_, sy_), ink);
  }
  void Arc(double cx, double cy, double rx, double ry, double a0, double a1, double width,
           std::uint8_t ink) {
    canvas_.Arc(X(cx), Y(cy), rx * sx_, ry * sy_, a0, a1, width * std::min(sx_, sy_), ink);
  }
  void Rect(double left, double top, double right, double bottom, std::uint8_t ink) {
    canvas_.Rect(static_cast<int>(std::lround(X(left))), static_cast<int>(std::lround(Y(top))),
                 static_cast<int>(std::lround(X(right))), static_cast<int>(std::lround(Y(bottom))),
                 ink);
  }

 private:
  Canvas& canvas_;
  double sx_, sy_, dx_, dy_;
};

double Radians(double deg) {
  return deg * std::numbers::pi / 180;
}

void DrawSprout(Pen& pen, double sway_deg) {
  const double tip_x = 64 + 10 * std::sin(Radians(sway_deg));
  const double tip_y = 24 + 2 * std::abs(std::sin(Radians(sway_deg)));
  pen.Line(64, 36, tip_x, tip_y, 3.5, kLeafDark);
  pen.Ellipse(tip_x - 8, tip_y - 2, 9.5, 5, kLeafDark, -25 + sway_deg);
  pen.Ellipse(tip_x + 8, tip_y - 2, 9.5, 5, kLeafDark, 25 + sway_deg);
  pen.Ellipse(tip_x - 8, tip_y - 2, 8, 3.5, kLeaf, -25 + sway_deg);
  pen.Ellipse(tip_x + 8, tip_y - 2, 8, 3.5, kLeaf, 25 + sway_deg);
}

void DrawArm(Pen& pen, double shoulder_x, double side, double angle_deg) {
  const double hand_x = shoulder_x + side * 21 * std::sin(Radians(angle_deg));
  const double hand_y = 76 + 21 * std::cos(Radians(angle_deg));
  pen.Line(shoulder_x, 76, hand_x, hand_y, 8, kOutline);
  pen.Ellipse(hand_x, hand_y, 6.5, 6.5, kOutline);
  pen.Line(shoulder_x, 76, hand_x, hand_y, 5, kBody);
  pen.Ellipse(hand_x, hand_y, 4.8, 4.8, kBody);
}

void DrawBody(Pen& pen, const Pose& pose) {
  pen.Ellipse(51, 104, 11, 6.5, kOutline);
  pen.Ellipse(77, 104, 11, 6.5, kOutline);
  pen.Ellipse(51, 104, 9.5, 5, kFeet);
  pen.Ellipse(77, 104, 9.5, 5, kFeet);
  DrawSprout(pen, pose.leaf_deg);
  pen.Ellipse(64, 68, 36, 36, kOutline);
  pen.Ellipse(64, 68, 34, 34, kBodyShade);
  pen.Ellipse(61, 65, 30, 30, kBody);
  pen.Ellipse(42, 79, 6, 3.5, kCheek);
  pen.Ellipse(86, 79, 6, 3.5, kCheek);
  DrawArm(pen, 33, -1, pose.left_arm_deg);
  DrawArm(pen, 95, 1, pose.right_arm_deg);
}

void DrawEye(Pen& pen, double x, double y, const Pose& pose) {
  switch (pose.eyes) {
    case Eyes::kClosed:
      pen.Arc(x, y - 2, 8, 6, 20, 160, 2.5, kOutline);
      return;
    case Eyes::kHappy:
      pen.Arc(x, y + 4, 8, 7, 200, 340, 2.5, kOutline);
      return;
    default:
      break;
  }
  const bool wide = pose.eyes == Eyes::kWide;
  const bool half = pose.eyes == Eyes::kHalf;
  const double ry = wide ? 12.5 : half ? 5.5 : 10.5;
  const double cy = half ? y + 4 : y;
  pen.Ellipse(x, cy, wide ? 10.5 : 9.5, ry + 1.5, kOutline);
  pen.Ellipse(x, cy, wide ? 9 : 8, ry, kWhite);
  const double px = x + 3.5 * pose.look_x;
  const double py = cy + (half ? 1 : 4.5) * pose.look_y;
  pen.Ellipse(px, py, wide ? 3.5 : 4.5, wide ? 3.5 : (half ? 3.5 : 5), kPupil);
  pen.Ellipse(px - 1.5, py - 2, 1.4, 1.4, kWhite);
}

void DrawMouth(Pen& pen, Mouth mouth) {
  switch (mouth) {
    case Mouth::kSmile:
      pen.Arc(64, 82, 9, 7, 25, 155, 2.5, kOutline);
      break;
    case Mouth::kGrin:
      pen.Ellipse(64, 86, 11, 8, kOutline);
      pen.Ellipse(64, 86, 9.5, 6.5, kMouth);
      pen.Ellipse(64, 90, 5.5, 2.5, kTongue);
      pen.Rect(52, 78, 77, 86, kBody);
      pen.Line(53, 86, 75, 86, 2.5, kOutline);
      break;
    case Mouth::kOpen:
      pen.Ellipse(64, 88, 6.5, 8, kOutline);
      pen.Ellipse(64, 88, 5, 6.5, kMouth);
      pen.Ellipse(64, 92, 3, 2, kTongue);
      break;
    case Mouth::kFlat:
      pen.Line(57, 88, 71, 88, 2.5, kOutline);
      break;
    case Mouth::kFrown:
      pen.Arc(64, 95, 8, 6, 205, 335, 2.5, kOutline);
      break;
    case Mouth::kSmall:
      pen.Ellipse(64, 88, 3.5, 3.5, kOutline);
      pen.Ellipse(64, 88, 2, 2, kMouth);
      break;
  }
}

void DrawStar(Canvas& c, double x, double y, double size) {
  c.Line(x - size, y, x + size, y, 2.5, kSpark);
  c.Line(x, y - size, x, y + size, 2.5, kSpark);
}

void DrawZ(Canvas& c, double x, double y, double size) {
  c.Line(x, y, x + size, y, 2, kSky);
  c.Line(x + size, y, x, y + size, 2, kSky);
  c.Line(x, y + size, x + size, y + size, 2, kSky);
}

// Decorations around the character; they ignore the pose's offset so they stay in place.
void DrawExtra(Canvas& c, Extra extra, int step) {
  switch (extra) {
    case Extra::kNone:
      return;
    case Extra::kSparkles: {
      const double big = step % 2 ? 4 : 7;
      const double small = step % 2 ? 7 : 4;
      DrawStar(c, 16, 30, big), DrawStar(c, 110, 26, small);
      DrawStar(c, 12, 84, small), DrawStar(c, 114, 80, big);
      return;
    }
    case Extra::kSleep:
      for (int i = 0; i <= std::min(step, 2); ++i) DrawZ(c, 92 + 10 * i, 30 - 11 * i, 6 + 2 * i);
      return;
    case Extra::kThought:
      for (int i = 0; i <= std::min(step, 2); ++i) c.Circle(98 + 8 * i, 40 - 10 * i, 2.5 + i, kSky);
      return;
    case Extra::kExclaim:
      c.Line(108, 10, 108, 28, 4.5, kMouth);
      c.Circle(108, 35, 2.8, kMouth);
      return;
    case Extra::kQuestion:
      c.Arc(106, 18, 7, 7, 180, 405, 3, kSky);
      c.Line(109, 24, 106, 30, 3, kSky);
      c.Circle(106, 36, 2.2, kSky);
      return;
    case Extra::kNote:
      c.Ellipse(100, 34 - 2 * (step % 2), 4.5, 3.2, kOutline, -20);
      c.Line(104, 33 - 2 * (step % 2), 104, 16 - 2 * (step % 2), 2, kOutline);
      c.Line(104, 16 - 2 * (step % 2), 111, 21 - 2 * (step % 2), 2, kOutline);
      return;
  }
}

}  // namespace

void DrawPose(Canvas& canvas, const Pose& pose) {
  Pen pen(canvas, pose);
  DrawBody(pen, pose);
  DrawEye(pen, 51, 60, pose);
  DrawEye(pen, 77, 60, pose);
  DrawMouth(pen, pose.mouth);
  DrawExtra(canvas, pose.extra, pose.extra_step);
}

// Shape 0 is the closed (smiling) mouth; 1 to 4 open ever wider; 5 is medium, 6 narrow. The
// overlay is cut from the resting pose drawn without its mouth, so every pixel of the cut is
// opaque and hides the frame's own mouth.
Canvas DrawMouthOverlay(int shape) {
  Canvas canvas(kFrameWidth, kFrameHeight, kClear);
  const Pose rest;
  Pen pen(canvas, rest);
  DrawBody(pen, rest);
  static constexpr double kOpenRx[] = {0, 8, 8.5, 9, 9.5, 6, 3.5};
  static constexpr double kOpenRy[] = {0, 2.5, 4, 5.5, 7, 4, 4};
  if (shape <= 0 || shape > 6) {
    DrawMouth(pen, Mouth::kSmile);
  } else {
    pen.Ellipse(64, 88, kOpenRx[shape] + 1.5, kOpenRy[shape] + 1.5, kOutline);
    pen.Ellipse(64, 88, kOpenRx[shape], kOpenRy[shape], kMouth);
    if (kOpenRy[shape] >= 4) {
      pen.Ellipse(64, 86 + kOpenRy[shape], kOpenRx[shape] / 2, 1.8, kTongue);
    }
  }
  return canvas.Crop(kMouthLeft, kMouthTop, kMouthWidth, kMouthHeight, kClear);
}

}  // namespace rira
