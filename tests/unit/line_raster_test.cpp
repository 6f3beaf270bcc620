#include "render/line_raster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

namespace quillon {
namespace {

constexpr std::uint32_t kInk = 0x00123456, kPaper = 0x00FFFFFF, kGuard = 0xDEADBEEF;

// A width x height bitmap inside a guard frame that no line may touch.
class Canvas {
 public:
  Canvas(int width, int height, bool bottomUp = false)
      : width_(width),
        height_(height),
        stride_(width + 2 * kFrame),
        memory_(static_cast<std::size_t>(stride_) * (height + 2 * kFrame), kGuard) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) Cell(x, y) = kPaper;
    surface_.width = width;
    surface_.height = height;
    if (bottomUp) {
      // Row 0 is the last in memory.
      surface_.bits = &Cell(0, 0) + static_cast<std::ptrdiff_t>(height - 1) * stride_;
      surface_.rowStep = -stride_;
      bottomUp_ = true;
    } else {
      surface_.bits = &Cell(0, 0);
      surface_.rowStep = stride_;
    }
  }
  const PixelSurface& surface() const { return surface_; }
  // Pixel (x, y) as the line sees it.
  std::uint32_t At(int x, int y) const {
    return const_cast<Canvas*>(this)->Cell(x, bottomUp_ ? height_ - 1 - y : y);
  }
  bool GuardIntact() const {
    for (int y = -kFrame; y < height_ + kFrame; ++y)
      for (int x = -kFrame; x < width_ + kFrame; ++x) {
        const bool inside = x >= 0 && y >= 0 && x < width_ && y < height_;
        if (!inside && const_cast<Canvas*>(this)->Cell(x, y) != kGuard) return false;
      }
    return true;
  }

 private:
  static constexpr int kFrame = 3;
  std::uint32_t& Cell(int x, int y) {
    return memory_[static_cast<std::size_t>(y + kFrame) * stride_ + (x + kFrame)];
  }
  int width_, height_;
  std::ptrdiff_t stride_;
  std::vector<std::uint32_t> memory_;
  PixelSurface surface_;
  bool bottomUp_ = false;
};

// GDI's stepping written the other way round: an error term walked from the start, one
// pixel per step along the major axis, the end left out; every pixel tested against the clip.
std::vector<std::vector<bool>> Reference(int width, int height, PixelClip clip, DevicePoint a,
                                         DevicePoint b) {
  std::vector<std::vector<bool>> set(height, std::vector<bool>(width, false));
  const long dx = b.x - a.x, dy = b.y - a.y;
  const long adx = std::labs(dx), ady = std::labs(dy);
  const bool xMajor = adx > ady;
  const long major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  int octant;
  if (dy > 0)
    octant = dx > 0 ? (dx > dy ? 1 : 2) : (-dx > dy ? 4 : 3);
  else
    octant = dx < 0 ? (-dx > -dy ? 5 : 6) : (dx > -dy ? 8 : 7);
  const long bias = (0xB4 >> (octant - 1)) & 1;
  long err = 2 * minor - major;
  long x = a.x, y = a.y;
  for (long k = 0; k < major; ++k) {
    if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom && x >= 0 && y >= 0 &&
        x < width && y < height)
      set[y][x] = true;
    if (err + bias > 0) {
      (xMajor ? y : x) += (xMajor ? dy : dx) > 0 ? 1 : -1;
      err += 2 * minor - 2 * major;
    } else {
      err += 2 * minor;
    }
    (xMajor ? x : y) += (xMajor ? dx : dy) > 0 ? 1 : -1;
  }
  return set;
}

void ExpectMatches(const Canvas& canvas, const std::vector<std::vector<bool>>& expected,
                   const char* what, int trial) {
  for (std::size_t y = 0; y < expected.size(); ++y)
    for (std::size_t x = 0; x < expected[y].size(); ++x)
      ASSERT_EQ(canvas.At(int(x), int(y)), expected[y][x] ? kInk : kPaper)
          << what << " trial " << trial << " at " << x << "," << y;
}

TEST(LineRaster, ClippedLinesKeepExactlyThePixelsOfTheWholeLine) {
  std::mt19937 random(7);
  auto in = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int trial = 0; trial < 4000; ++trial) {
    const int w = in(1, 40), h = in(1, 30);
    const bool bottomUp = trial % 2 == 1;
    Canvas canvas(w, h, bottomUp);
    // Ends inside, on the edges, just beyond and far beyond; clips inside, over and
    // beyond the bitmap.
    const int reach = trial % 3 == 0 ? 400 : 60;
    DevicePoint a{in(-reach, reach), in(-reach, reach)};
    DevicePoint b{in(-reach, reach), in(-reach, reach)};
    PixelClip clip{in(-5, w), in(-5, h), 0, 0};
    clip.right = in(clip.left, w + 5);
    clip.bottom = in(clip.top, h + 5);
    // Every fourth line has both ends inside the clip and the bitmap (drawn without clipping).
    const int left = std::max(clip.left, 0), top = std::max(clip.top, 0);
    const int right = std::min(clip.right, w), bottom = std::min(clip.bottom, h);
    if (trial % 4 == 3 && left < right && top < bottom) {
      a = {in(left, right - 1), in(top, bottom - 1)};
      b = {in(left, right - 1), in(top, bottom - 1)};
    }
    ASSERT_TRUE(DrawLine(canvas.surface(), clip, a, b, kInk));
    ExpectMatches(canvas, Reference(w, h, clip, a, b), "random", trial);
    ASSERT_TRUE(canvas.GuardIntact()) << "trial " << trial;
  }
}

TEST(LineRaster, EndsAndShortLines) {
  struct Case {
    const char* name;
    DevicePoint from, to;
    std::vector<DevicePoint> drawn;
  };
  const Case cases[] = {
      {"zero length draws nothing", {3, 3}, {3, 3}, {}},
      {"one pixel right", {3, 3}, {4, 3}, {{3, 3}}},
      {"one pixel left", {3, 3}, {2, 3}, {{3, 3}}},
      {"one pixel down", {3, 3}, {3, 4}, {{3, 3}}},
      {"one pixel diagonal up-left", {3, 3}, {2, 2}, {{3, 3}}},
      {"leftward leaves out its end", {5, 1}, {1, 1}, {{5, 1}, {4, 1}, {3, 1}, {2, 1}}},
      {"upward leaves out its end", {1, 5}, {1, 2}, {{1, 5}, {1, 4}, {1, 3}}},
      {"diagonal", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
  };
  for (const Case& c : cases) {
    Canvas canvas(8, 8);
    ASSERT_TRUE(DrawLine(canvas.surface(), {0, 0, 8, 8}, c.from, c.to, kInk)) << c.name;
    int inked = 0;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) inked += canvas.At(x, y) == kInk;
    EXPECT_EQ(inked, static_cast<int>(c.drawn.size())) << c.name;
    for (const DevicePoint& p : c.drawn) EXPECT_EQ(canvas.At(p.x, p.y), kInk) << c.name;
  }
}

TEST(LineRaster, PolylineDrawsEveryJointOnce) {
  Canvas canvas(10, 10);
  const DevicePoint points[] = {{1, 1}, {6, 1}, {6, 6}, {1, 1}};
  ASSERT_TRUE(DrawPolyline(canvas.surface(), {0, 0, 10, 10}, points, kInk));
  EXPECT_EQ(canvas.At(6, 1), kInk);  // the joint, from the second segment
  EXPECT_EQ(canvas.At(6, 6), kInk);
  EXPECT_EQ(canvas.At(1, 1), kInk);  // the first point; the closing end is the same pixel
  EXPECT_EQ(canvas.At(7, 1), kPaper);
}

TEST(LineRaster, CoordinatesTooLargeAreRefusedAndLargeOnesStayInside) {
  Canvas canvas(16, 12);
  const PixelClip all{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  EXPECT_FALSE(DrawLine(canvas.surface(), all, {INT32_MIN, 0}, {5, 5}, kInk));
  EXPECT_FALSE(DrawLine(canvas.surface(), all, {0, 0}, {5, INT32_MAX}, kInk));
  EXPECT_FALSE(DrawLine(canvas.surface(), all, {kMaxRasterCoordinate + 1, 0}, {5, 5}, kInk));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(canvas.At(x, y), kPaper);
  // Lines from the far corners of the allowed range through the bitmap.
  const std::int32_t m = kMaxRasterCoordinate;
  const DevicePoint far[][2] = {{{-m, -m}, {m, m}},
                                {{m, -m}, {-m, m}},
                                {{-m, 5}, {m, 6}},
                                {{7, -m}, {8, m}},
                                {{-m, -m + 3}, {m, m - 1}}};
  int inked = 0;
  for (const auto& line : far) {
    EXPECT_TRUE(DrawLine(canvas.surface(), all, line[0], line[1], kInk));
    EXPECT_TRUE(DrawLine(canvas.surface(), all, line[1], line[0], kInk));
  }
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) inked += canvas.At(x, y) == kInk;
  EXPECT_GT(inked, 30);  // they do cross the bitmap
  EXPECT_TRUE(canvas.GuardIntact());
}

}  // namespace
}  // namespace quillon
