#include <algorithm>
#include <cmath>
#include <numbers>

#include "tests/support/kpz_builder.h"
#include "tools/kpzgen/sample_plots.h"

namespace quillon {
namespace {

constexpr std::uint16_t kDotsPerMetre = 15748;  // 400 dots per inch
constexpr double kSheetWidth = 0.841, kSheetHeight = 0.594;  // A1 landscape
constexpr int kMm = 16;                                      // dots per millimetre, near enough

// Line style numbers of the built-in dash styles.
enum : std::uint16_t { kSolid = 0, kDash = 1, kDot = 2, kDashDot = 3, kDashDotDot = 4, kAlternate = 5 };

DevicePoint P(int x, int y) { return {x, y}; }

std::vector<DevicePoint> Box(int x, int y, int w, int h) {
  return {P(x, y), P(x + w, y), P(x + w, y + h), P(x, y + h), P(x, y)};
}

// A circle as a chain of four cubic Bézier segments (13 points).
std::vector<DevicePoint> BezierCircle(int cx, int cy, int r) {
  const int k = static_cast<int>(r * 0.5523);
  return {P(cx + r, cy),     P(cx + r, cy + k), P(cx + k, cy + r), P(cx, cy + r),
          P(cx - k, cy + r), P(cx - r, cy + k), P(cx - r, cy),     P(cx - r, cy - k),
          P(cx - k, cy - r), P(cx, cy - r),     P(cx + k, cy - r), P(cx + r, cy - k),
          P(cx + r, cy)};
}

void Pen(KpzBuilder& b, double width, std::uint16_t style, std::uint32_t colour) {
  b.LineWidth(width).LineStyle(style).LineColour(colour);
}

void FrameAndTitleBlock(KpzBuilder& b, int w, int h) {
  b.LineCap(1).LineJoin(2);
  Pen(b, 1.0 * kMm, kSolid, KpzBuilder::Rgb(0, 0, 0));
  b.Polyline(Box(10 * kMm, 10 * kMm, w - 20 * kMm, h - 20 * kMm));
  Pen(b, 0.25 * kMm, kSolid, KpzBuilder::Rgb(0, 0, 0));
  b.Polyline(Box(12 * kMm, 12 * kMm, w - 24 * kMm, h - 24 * kMm));
  // Title block in the lower right corner, with its rows.
  const int tw = 180 * kMm, th = 60 * kMm, tx = w - 12 * kMm - tw, ty = h - 12 * kMm - th;
  Pen(b, 0.5 * kMm, kSolid, KpzBuilder::Rgb(0, 0, 0));
  b.Polyline(Box(tx, ty, tw, th));
  Pen(b, 0.18 * kMm, kSolid, KpzBuilder::Rgb(0, 0, 0));
  for (int row = 1; row < 4; ++row) b.ShortPolyline({P(tx, ty + row * 15 * kMm), P(tx + tw, ty + row * 15 * kMm)});
  b.ShortPolyline({P(tx + 60 * kMm, ty), P(tx + 60 * kMm, ty + th)});
  b.Text(0, {P(tx + 65 * kMm, ty + 10 * kMm)}, "SITE PLAN  1:500");
  // North arrow.
  const int nx = 40 * kMm, ny = 45 * kMm;
  Pen(b, 0.35 * kMm, kSolid, KpzBuilder::Rgb(0, 0, 0));
  b.Polyline({P(nx, ny - 20 * kMm), P(nx + 6 * kMm, ny + 8 * kMm), P(nx, ny + 3 * kMm),
              P(nx - 6 * kMm, ny + 8 * kMm), P(nx, ny - 20 * kMm)});
  b.Bezier(BezierCircle(nx, ny, 14 * kMm));
}

void Roads(KpzBuilder& b, int w, int h) {
  const int y0 = h * 62 / 100, roadWidth = 14 * kMm;
  // Kerbs: thick grey, flat ends.
  b.LineCap(0);
  Pen(b, 0.7 * kMm, kSolid, KpzBuilder::Rgb(90, 90, 90));
  b.Polyline({P(14 * kMm, y0), P(w - 14 * kMm, y0)});
  b.Polyline({P(14 * kMm, y0 + roadWidth), P(w - 14 * kMm, y0 + roadWidth)});
  // A side road that bends down with a Bézier.
  const int x0 = w * 45 / 100;
  b.Bezier({P(x0, y0 + roadWidth), P(x0, y0 + 40 * kMm), P(x0 + 30 * kMm, y0 + 60 * kMm),
            P(x0 + 30 * kMm, h - 14 * kMm)});
  b.Bezier({P(x0 + roadWidth, y0 + roadWidth), P(x0 + roadWidth, y0 + 35 * kMm),
            P(x0 + 30 * kMm + roadWidth, y0 + 55 * kMm), P(x0 + 30 * kMm + roadWidth, h - 14 * kMm)});
  // Centre line: dashed, amber.
  b.LineCap(3);
  Pen(b, 0.3 * kMm, kDash, KpzBuilder::Rgb(230, 160, 0));
  b.Polyline({P(14 * kMm, y0 + roadWidth / 2), P(w - 14 * kMm, y0 + roadWidth / 2)});
}

void Lots(KpzBuilder& b, int w, int h, std::uint16_t fenceStyle) {
  // Plot boundaries: dash-dot red; a fence in a user style along the rear boundary.
  const int top = 40 * kMm, bottom = h * 62 / 100 - 8 * kMm, lotWidth = 110 * kMm;
  Pen(b, 0.5 * kMm, kDashDot, KpzBuilder::Rgb(200, 0, 0));
  for (int x = 80 * kMm; x + lotWidth < w - 200 * kMm; x += lotWidth) {
    b.Polyline(Box(x, top, lotWidth, bottom - top));
  }
  Pen(b, 0.35 * kMm, fenceStyle, KpzBuilder::Rgb(120, 60, 20));
  b.Polyline({P(80 * kMm, top - 6 * kMm), P(w - 200 * kMm, top - 6 * kMm)});
}

void Buildings(KpzBuilder& b, int w, int h) {
  const int top = 70 * kMm, lotWidth = 110 * kMm;
  b.FillColour(0, KpzBuilder::Rgb(235, 225, 200));
  b.LineJoin(2);
  Pen(b, 0.7 * kMm, kSolid, KpzBuilder::Rgb(0, 0, 0));
  int i = 0;
  for (int x = 80 * kMm + 20 * kMm; x + lotWidth < w - 200 * kMm; x += lotWidth, ++i) {
    const int bw = 60 * kMm + (i % 3) * 8 * kMm, bh = 70 * kMm + (i % 2) * 20 * kMm;
    // An L-shaped house: filled compound shape of two parts, closed.
    KpzShape house;
    house.closeFlag = 1;
    house.parts.push_back({4, {P(x, top), P(x + bw, top), P(x + bw, top + bh / 2)}, {}});
    house.parts.push_back({5, {P(x + bw / 2, top + bh / 2), P(x + bw / 2, top + bh), P(x, top + bh)}, {}});
    b.CompoundShape(2, {house});
    // Its outline, drawn over the fill, and the ridge lines.
    KpzShape outline = house;
    b.CompoundShape(0, {outline});
    Pen(b, 0.18 * kMm, kDashDotDot, KpzBuilder::Rgb(0, 0, 160));
    b.Polyline({P(x + 4 * kMm, top + 4 * kMm), P(x + bw - 4 * kMm, top + bh / 2 - 4 * kMm)});
    Pen(b, 0.7 * kMm, kSolid, KpzBuilder::Rgb(0, 0, 0));
  }
  (void)h;
}

void Trees(KpzBuilder& b, int w, int h) {
  Pen(b, 0.25 * kMm, kSolid, KpzBuilder::Rgb(0, 130, 0));
  const int y = h * 62 / 100 - 4 * kMm;
  for (int x = 30 * kMm; x < w - 30 * kMm; x += 38 * kMm) {
    const int r = 6 * kMm + (x / kMm) % 4 * kMm;
    b.Bezier(BezierCircle(x, y - r, r));
    b.ShortPolyline({P(x - 2 * kMm, y - r), P(x + 2 * kMm, y - r)});
    b.ShortPolyline({P(x, y - r - 2 * kMm), P(x, y - r + 2 * kMm)});
  }
  // A park of trees in the lower left.
  for (int i = 0; i < 40; ++i) {
    const int x = 40 * kMm + (i * 37 % 160) * kMm, ty = h * 75 / 100 + (i * 53 % 110) * kMm;
    b.Bezier(BezierCircle(x, ty, (4 + i % 5) * kMm));
  }
}

void Contours(KpzBuilder& b, int w, int h) {
  // Contour lines: brown Bézier chains, every fifth one thicker; minor ones dotted.
  for (int c = 0; c < 12; ++c) {
    const bool major = c % 5 == 0;
    Pen(b, (major ? 0.35 : 0.18) * kMm, major ? kSolid : kDot, KpzBuilder::Rgb(150, 90, 40));
    std::vector<DevicePoint> chain;
    const int base = h * 70 / 100 + c * 12 * kMm, x0 = w * 55 / 100;
    chain.push_back(P(x0, base));
    for (int s = 0; s < 6; ++s) {
      const int xs = x0 + s * 50 * kMm;
      const int wave = static_cast<int>(std::sin((s + c * 0.3) * 1.3) * 15 * kMm);
      chain.push_back(P(xs + 16 * kMm, base + wave));
      chain.push_back(P(xs + 33 * kMm, base - wave));
      chain.push_back(P(xs + 50 * kMm, base));
    }
    b.Bezier(chain);
  }
  // Water main in the alternate (every other dot) style, blue.
  Pen(b, 0.2 * kMm, kAlternate, KpzBuilder::Rgb(0, 90, 220));
  b.Polyline({P(14 * kMm, h * 62 / 100 + 20 * kMm), P(w - 14 * kMm, h * 62 / 100 + 20 * kMm)});
}

void ParkingBays(KpzBuilder& b, int w, int h) {
  Pen(b, 0.18 * kMm, kSolid, KpzBuilder::Rgb(60, 60, 60));
  const int y = h * 62 / 100 + 14 * kMm + 4 * kMm, x0 = w * 62 / 100;
  for (int i = 0; i <= 30; ++i) {
    const int x = x0 + i * 5 * kMm / 2 * 2;
    b.ShortPolyline({P(x, y), P(x, y + 10 * kMm)});
  }
  b.ShortPolyline({P(x0, y + 10 * kMm), P(x0 + 30 * 5 * kMm, y + 10 * kMm)});
}

}  // namespace

std::vector<std::uint8_t> MakeSitePlan() {
  KpzBuilder b;
  b.PageSize(kSheetWidth, kSheetHeight, kDotsPerMetre);
  b.header().versionText = "kpzgen 1.0 sample plot";
  const int w = static_cast<int>(kSheetWidth * kDotsPerMetre);
  const int h = static_cast<int>(kSheetHeight * kDotsPerMetre);
  // Fence: long dash, gap, short dash, gap (millimetres on paper).
  const std::uint16_t fence = b.AddLineStyle({6.0 * kMm, 2.0 * kMm, 1.0 * kMm, 2.0 * kMm});
  b.BeginPage();
  b.PlotInfo(0, kSheetWidth, kSheetHeight, 1, "site-plan");
  FrameAndTitleBlock(b, w, h);
  Lots(b, w, h, fence);
  Buildings(b, w, h);
  Roads(b, w, h);
  ParkingBays(b, w, h);
  Trees(b, w, h);
  Contours(b, w, h);
  b.EndPage();
  return b.Build();
}

std::vector<std::uint8_t> MakeLargePlan(std::uint32_t polylines) {
  KpzBuilder b;
  constexpr double kA0Width = 1.189, kA0Height = 0.841;
  b.PageSize(kA0Width, kA0Height, kDotsPerMetre);
  b.header().versionText = "kpzgen 1.0 sample plot";
  const int w = static_cast<int>(kA0Width * kDotsPerMetre);
  const int h = static_cast<int>(kA0Height * kDotsPerMetre);
  std::uint32_t seed = 12345;
  auto next = [&seed](int range) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
  };
  b.BeginPage();
  for (std::uint32_t i = 0; i < polylines; ++i) {
    if (i % 5000 == 0) {
      b.LineColour(KpzBuilder::Rgb(next(200), next(200), next(200)));
      b.LineWidth(1 + next(6));
    }
    int x = next(w), y = next(h);
    std::vector<DevicePoint> points{P(x, y)};
    for (int k = 0; k < 4; ++k) {
      x = std::clamp(x + next(400) - 200, 0, w - 1);
      y = std::clamp(y + next(400) - 200, 0, h - 1);
      points.push_back(P(x, y));
    }
    b.Polyline(points);
  }
  b.EndPage();
  return b.Build();
}

}  // namespace quillon
