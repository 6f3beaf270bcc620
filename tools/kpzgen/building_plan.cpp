#include <cmath>

#include "tests/support/kpz_builder.h"
#include "tools/kpzgen/sample_plots.h"

namespace quillon {
namespace {

constexpr std::uint16_t kDotsPerMetre = 7874;                // 200 dots per inch
constexpr double kSheetWidth = 0.420, kSheetHeight = 0.297;  // A3 landscape
constexpr int kMm = 8;                                       // dots per millimetre, near enough

// Fill styles: the hatches, then the patterns defined below.
enum : std::uint16_t {
  kSolidFill = 0,
  kHatchDiagonal = 3,
  kHatchCross = 5,
  kFloorTiles = 7,
  kBrick = 8,
  kParquet = 9,
  kGravel = 10
};

DevicePoint P(int x, int y) { return {x, y}; }

std::vector<DevicePoint> Ring(int x, int y, int w, int h) {
  return {P(x, y), P(x + w, y), P(x + w, y + h), P(x, y + h), P(x, y)};
}

// A one-bit pattern of side x side pixels; `on(x, y)` gives the set pixels (y from the top).
template <typename On>
KpzPattern OneBit(std::uint16_t id, int side, On on) {
  KpzPattern p;
  p.id = id;
  p.width = side;
  p.rows = side;
  p.bytesPerRow = (side + 31) / 32 * 4;
  p.format = 0x8010;
  p.colours = {0x000000, 0xFFFFFF};
  p.pixels.assign(static_cast<std::size_t>(p.bytesPerRow) * side, 0);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      if (on(x, y)) p.pixels[(side - 1 - y) * p.bytesPerRow + x / 8] |= 0x80 >> (x % 8);
  return p;
}

void DefinePatterns(KpzBuilder& b) {
  // Floor tiles: a 16-pixel grid (small: used as defined).
  b.PatternDefinition(OneBit(kFloorTiles, 16, [](int x, int y) { return x == 0 || y == 0; }));
  // Brick courses, 48 pixels a side: large enough to be reduced when zoomed out.
  b.PatternDefinition(OneBit(kBrick, 48, [](int x, int y) {
    const int course = y / 12;
    return y % 12 == 0 || (x + (course % 2) * 12) % 24 == 0;
  }));
  // Parquet: blocks of diagonal strokes, 32 pixels a side.
  b.PatternDefinition(OneBit(kParquet, 32, [](int x, int y) {
    const bool left = x < 16, top = y < 16;
    return left == top ? (x + y) % 8 == 0 : (x - y + 32) % 8 == 0;
  }));
  // Gravel: a scatter of dots, 24 pixels a side.
  b.PatternDefinition(OneBit(kGravel, 24, [](int x, int y) { return (x * 7 + y * 13) % 23 == 0; }));
}

void Room(KpzBuilder& b, std::uint16_t style, double angle, const std::vector<DevicePoint>& ring) {
  b.FillStyle(style).PatternAngle(angle).ShortPolygonSet(3, {ring});
}

}  // namespace

std::vector<std::uint8_t> MakeBuildingPlan() {
  KpzBuilder b;
  b.PageSize(kSheetWidth, kSheetHeight, kDotsPerMetre).PatternTableDeclaration(4);
  b.header().versionText = "kpzgen 1.0 sample plot";
  const int w = static_cast<int>(kSheetWidth * kDotsPerMetre);
  const int h = static_cast<int>(kSheetHeight * kDotsPerMetre);
  b.BeginPage().SheetBackground(kDotsPerMetre, kSheetWidth, kSheetHeight,
                                KpzBuilder::Rgb(250, 246, 232));
  DefinePatterns(b);
  b.OutlineColour(KpzBuilder::Rgb(0, 0, 0)).OutlineWidth(2);

  // Site: gravel all round, a lawn, the frame.
  b.PatternFore(1, KpzBuilder::Rgb(150, 140, 120)).PatternBack(2, KpzBuilder::Rgb(255, 255, 255));
  Room(b, kGravel, 0, Ring(15 * kMm, 15 * kMm, w - 30 * kMm, h - 30 * kMm));
  b.FillColour(1, KpzBuilder::Rgb(170, 220, 150)).FillStyle(kSolidFill);
  b.PolygonSet(2, {Ring(300 * kMm, 30 * kMm, 95 * kMm, 230 * kMm)});

  // The building: walls are the ring between the outer and inner outlines, with a courtyard.
  const int x0 = 40 * kMm, y0 = 40 * kMm, bw = 240 * kMm, bh = 200 * kMm, t = 6 * kMm;
  b.PatternFore(1, KpzBuilder::Rgb(90, 90, 90));
  Room(b, kFloorTiles, 0, Ring(x0 + t, y0 + t, 110 * kMm, 90 * kMm));  // hall
  b.PatternFore(1, KpzBuilder::Rgb(150, 80, 40));
  Room(b, kParquet, 45, Ring(x0 + 116 * kMm, y0 + t, bw - 122 * kMm, 90 * kMm));  // living
  Room(b, kParquet, 90, Ring(x0 + t, y0 + 102 * kMm, 80 * kMm, bh - 108 * kMm));  // study
  b.PatternFore(1, KpzBuilder::Rgb(170, 60, 50)).PatternBack(1, KpzBuilder::Rgb(235, 215, 190));
  Room(b, kBrick, 0, Ring(x0 + 170 * kMm, y0 + 102 * kMm, 64 * kMm, bh - 108 * kMm));  // terrace
  // Courtyard: planted, with a pool cut out of it.
  b.FillColour(1, KpzBuilder::Rgb(120, 180, 110)).FillStyle(kSolidFill);
  b.PolygonSet(3, {Ring(x0 + 92 * kMm, y0 + 108 * kMm, 70 * kMm, 80 * kMm),
                   Ring(x0 + 110 * kMm, y0 + 130 * kMm, 34 * kMm, 36 * kMm)});
  b.FillColour(1, KpzBuilder::Rgb(120, 170, 230));
  b.PolygonSet(3, {Ring(x0 + 110 * kMm, y0 + 130 * kMm, 34 * kMm, 36 * kMm)});

  // Walls, hatched.
  b.PatternFore(1, KpzBuilder::Rgb(0, 0, 0)).PatternBack(1, KpzBuilder::Rgb(255, 255, 255));
  b.FillStyle(kHatchDiagonal);
  b.PolygonSet(3, {Ring(x0, y0, bw, bh), Ring(x0 + t, y0 + t, bw - 2 * t, bh - 2 * t)});
  b.FillStyle(kHatchCross);
  b.Rectangles({{x0 + 110 * kMm, y0 + t, x0 + 116 * kMm, y0 + 96 * kMm},
                {x0 + t, y0 + 96 * kMm, x0 + bw - t, y0 + 102 * kMm},
                {x0 + 86 * kMm, y0 + 102 * kMm, x0 + 92 * kMm, y0 + bh - t},
                {x0 + 164 * kMm, y0 + 102 * kMm, x0 + 170 * kMm, y0 + bh - t}});
  // Columns along the terrace, solid.
  b.FillColour(1, KpzBuilder::Rgb(60, 60, 60)).FillStyle(kSolidFill);
  for (int i = 0; i < 5; ++i) {
    const int cy = y0 + 112 * kMm + i * 18 * kMm;
    b.Rectangles({{x0 + bw + 4 * kMm, cy, x0 + bw + 10 * kMm, cy + 6 * kMm}});
  }
  b.EndPage();
  return b.Build();
}

}  // namespace quillon
