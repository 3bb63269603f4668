// Draws the program's icons from the demo character: the first frame of its greeting,
// cropped to a square around the character, as PNG files of the usual theme sizes and as an
// SVG that traces the same pixels.
//   draw_rira_icons OUTPUT_FOLDER
// writes OUTPUT_FOLDER/rirerazo-<size>.png for each size and OUTPUT_FOLDER/rirerazo.svg.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "png_io.h"
#include "rira_model.h"

namespace {

namespace acs = rirerazo::acs;

constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};
constexpr int kMargin = 2;  // transparent pixels kept around the character

// The smallest square around the opaque pixels (plus the margin), centred on them; parts
// outside the frame are transparent.
acs::RgbaImage CropToSquare(const acs::RgbaImage& frame) {
  int left = frame.width, top = frame.height, right = -1, bottom = -1;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      if (frame.rgba[(std::size_t(y) * frame.width + x) * 4 + 3] == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return frame;
  const int side = std::max(right - left, bottom - top) + 1 + 2 * kMargin;
  const int x0 = (left + right + 1) / 2 - side / 2;
  const int y0 = (top + bottom + 1) / 2 - side / 2;
  acs::RgbaImage square{side, side, std::vector<std::uint8_t>(std::size_t(side) * side * 4, 0)};
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const int sx = x0 + x, sy = y0 + y;
      if (sx < 0 || sy < 0 || sx >= frame.width || sy >= frame.height) continue;
      std::copy_n(&frame.rgba[(std::size_t(sy) * frame.width + sx) * 4], 4,
                  &square.rgba[(std::size_t(y) * side + x) * 4]);
    }
  }
  return square;
}

// How much of the source pixel [i, i+1) lies in the interval [a, b).
double Overlap(int i, double a, double b) {
  return std::max(0.0, std::min(b, i + 1.0) - std::max(a, double(i)));
}

// Box-filtered resampling with premultiplied alpha, so edges do not darken.
acs::RgbaImage Resample(const acs::RgbaImage& source, int size) {
  acs::RgbaImage out{size, size, std::vector<std::uint8_t>(std::size_t(size) * size * 4, 0)};
  const double scale = double(source.width) / size;
  for (int oy = 0; oy < size; ++oy) {
    const double ya = oy * scale, yb = (oy + 1) * scale;
    for (int ox = 0; ox < size; ++ox) {
      const double xa = ox * scale, xb = (ox + 1) * scale;
      double sum[4] = {0, 0, 0, 0};
      double weight = 0;
      for (int sy = int(ya); sy < std::min(source.height, int(std::ceil(yb))); ++sy) {
        for (int sx = int(xa); sx < std::min(source.width, int(std::ceil(xb))); ++sx) {
          const double w = Overlap(sx, xa, xb) * Overlap(sy, ya, yb);
          const std::uint8_t* p = &source.rgba[(std::size_t(sy) * source.width + sx) * 4];
          const double alpha = p[3] / 255.0;
          for (int c = 0; c < 3; ++c) sum[c] += w * p[c] * alpha;
          sum[3] += w * alpha;
          weight += w;
        }
      }
      std::uint8_t* q = &out.rgba[(std::size_t(oy) * size + ox) * 4];
      if (weight <= 0 || sum[3] <= 0) continue;
      for (int c = 0; c < 3; ++c) q[c] = std::uint8_t(std::lround(sum[c] / sum[3]));
      q[3] = std::uint8_t(std::lround(255.0 * sum[3] / weight));
    }
  }
  return out;
}

std::string Hex(const std::uint8_t* p) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", p[0], p[1], p[2]);
  return text;
}

// One rectangle per run of equal pixels in a row, grown downwards while the rows below
// repeat the run exactly.
void WriteSvg(const std::string& path, const acs::RgbaImage& image) {
  std::ofstream out(path);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << image.width << "\" height=\""
      << image.height << "\" viewBox=\"0 0 " << image.width << ' ' << image.height
      << "\" shape-rendering=\"crispEdges\">\n";
  auto pixel = [&](int x, int y) { return &image.rgba[(std::size_t(y) * image.width + x) * 4]; };
  auto same_run = [&](int x, int y, int width, int other_y) {
    return std::equal(pixel(x, y), pixel(x, y) + width * 4, pixel(x, other_y));
  };
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width;) {
      int end = x + 1;
      while (end < image.width && std::equal(pixel(x, y), pixel(x, y) + 4, pixel(end, y))) ++end;
      const int width = end - x;
      const bool continues_above =
          y > 0 && same_run(x, y, width, y - 1) &&
          (x == 0 || !std::equal(pixel(x, y - 1), pixel(x, y - 1) + 4, pixel(x - 1, y - 1))) &&
          (end == image.width ||
           !std::equal(pixel(x, y - 1), pixel(x, y - 1) + 4, pixel(end, y - 1)));
      if (pixel(x, y)[3] != 0 && !continues_above) {
        int height = 1;
        while (y + height < image.height && same_run(x, y, width, y + height) &&
               (x == 0 || !std::equal(pixel(x, y), pixel(x, y) + 4, pixel(x - 1, y + height))) &&
               (end == image.width ||
                !std::equal(pixel(x, y), pixel(x, y) + 4, pixel(end, y + height)))) {
          ++height;
        }
        out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << width << "\" height=\""
            << height << "\" fill=\"" << Hex(pixel(x, y)) << "\"/>\n";
      }
      x = end;
    }
  }
  out << "</svg>\n";
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: draw_rira_icons OUTPUT_FOLDER\n");
    return 2;
  }
  try {
    const acs::Character rira = rira::BuildRira();
    const acs::Animation* greet = rira.FindAnimation("Greet");
    if (greet == nullptr) throw std::runtime_error("the character has no Greet animation");
    const acs::RgbaImage square = CropToSquare(rira.ComposeFrame(*greet, 0));
    const std::string folder = argv[1];
    for (int size : kSizes) {
      rirerazo::chartool::WriteRgbaPng(folder + "/rirerazo-" + std::to_string(size) + ".png",
                                       Resample(square, size));
    }
    WriteSvg(folder + "/rirerazo.svg", square);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "draw_rira_icons: %s\n", e.what());
    return 1;
  }
  return 0;
}
