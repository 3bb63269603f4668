#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace rira {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

double SegmentDistance(double px, double py, double x0, double y0, double x1, double y1) {
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}

}  // namespace

Canvas::Canvas(int width, int height, std::uint8_t background)
    : width_(width), height_(height), indices_(std::size_t(width) * height, background) {}

// Visits the pixel centres inside the clipped bounding box and paints those `inside` accepts.
template <typename Inside>
void Canvas::Fill(double left, double top, double right, double bottom, std::uint8_t color,
                  Inside inside) {
  const int x0 = std::max(0, static_cast<int>(std::floor(left)));
  const int y0 = std::max(0, static_cast<int>(std::floor(top)));
  const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(right)));
  const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(bottom)));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      if (inside(x + 0.5, y + 0.5)) indices_[y * width_ + x] = color;
    }
  }
}

void Canvas::Ellipse(double cx, double cy, double rx, double ry, std::uint8_t color,
                     double angle_deg) {
  const double c = std::cos(angle_deg * kRadiansPerDegree);
  const double s = std::sin(angle_deg * kRadiansPerDegree);
  const double reach = std::max(rx, ry);
  Fill(cx - reach, cy - reach, cx + reach, cy + reach, color, [&](double x, double y) {
    const double u = ((x - cx) * c + (y - cy) * s) / rx;
    const double v = (-(x - cx) * s + (y - cy) * c) / ry;
    return u * u + v * v <= 1.0;
  });
}

void Canvas::Line(double x0, double y0, double x1, double y1, double width, std::uint8_t color) {
  const double r = width / 2;
  Fill(std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r,
       color, [&](double x, double y) { return SegmentDistance(x, y, x0, y0, x1, y1) <= r; });
}

void Canvas::Arc(double cx, double cy, double rx, double ry, double a0_deg, double a1_deg,
                 double width, std::uint8_t color) {
  const int steps = std::max(4, static_cast<int>(std::abs(a1_deg - a0_deg) / 10));
  double px = cx + rx * std::cos(a0_deg * kRadiansPerDegree);
  double py = cy + ry * std::sin(a0_deg * kRadiansPerDegree);
  for (int i = 1; i <= steps; ++i) {
    const double a = (a0_deg + (a1_deg - a0_deg) * i / steps) * kRadiansPerDegree;
    const double x = cx + rx * std::cos(a);
    const double y = cy + ry * std::sin(a);
    Line(px, py, x, y, width, color);
    px = x;
    py = y;
  }
}

void Canvas::Rect(int left, int top, int right, int bottom, std::uint8_t color) {
  Fill(left, top, right - 1, bottom - 1, color, [](double, double) { return true; });
}

Canvas Canvas::Crop(int x, int y, int width, int height, std::uint8_t fill) const {
  Canvas out(width, height, fill);
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) {
      const int sx = x + col;
      const int sy = y + row;
      if (sx >= 0 && sy >= 0 && sx < width_ && sy < height_) {
        out.indices_[row * width + col] = At(sx, sy);
      }
    }
  }
  return out;
}

}  // namespace rira
