// A palette canvas with a few filled shapes: enough to draw the demo character from circles,
// ellipses and thick strokes. Coordinates are pixels, y down; shapes are clipped to the
// canvas. Every shape fills the pixels whose centres lie inside it.
#pragma once

#include <cstdint>
#include <vector>

namespace rira {

class Canvas {
 public:
  Canvas(int width, int height, std::uint8_t background);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<std::uint8_t>& Indices() const { return indices_; }
  std::uint8_t At(int x, int y) const { return indices_[y * width_ + x]; }

  // An ellipse with radii rx, ry, turned by angle_deg (clockwise, as y points down).
  void Ellipse(double cx, double cy, double rx, double ry, std::uint8_t color,
               double angle_deg = 0);
  void Circle(double cx, double cy, double r, std::uint8_t color) { Ellipse(cx, cy, r, r, color); }
  // A stroke with round ends, `width` pixels across.
  void Line(double x0, double y0, double x1, double y1, double width, std::uint8_t color);
  // An arc of the ellipse (cx, cy, rx, ry) from angle a0 to a1 (degrees, 0 = right, 90 = down),
  // drawn as a stroke.
  void Arc(double cx, double cy, double rx, double ry, double a0_deg, double a1_deg, double width,
           std::uint8_t color);
  void Rect(int left, int top, int right, int bottom, std::uint8_t color);

  // A copy of the area (x, y, width, height); parts outside the canvas are `fill`.
  Canvas Crop(int x, int y, int width, int height, std::uint8_t fill) const;

 private:
  template <typename Inside>
  void Fill(double left, double top, double right, double bottom, std::uint8_t color,
            Inside inside);

  int width_;
  int height_;
  std::vector<std::uint8_t> indices_;
};

}  // namespace rira
