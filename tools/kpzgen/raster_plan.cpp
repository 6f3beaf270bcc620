// The raster sample: an A2 sheet at 200 dots per inch carrying every raster format, coded by
// libtiff's and libjpeg's encoders (Group 4 with the first bit least significant, PackBits,
// JPEG) over synthetic drawings and pictures.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <span>
#include <utility>
#include <vector>

#include "tests/support/kpz_builder.h"
#include "tests/support/native/raster_oracle.h"
#include "tools/kpzgen/sample_plots.h"

namespace quillon {
namespace {

using oracle::BitImage;
using oracle::PixelImage;

constexpr std::uint16_t kDotsPerMetre = 7874;                // 200 dots per inch
constexpr double kSheetWidth = 0.594, kSheetHeight = 0.420;  // A2 landscape
constexpr std::int32_t kSheetDotsX = 4677, kSheetDotsY = 3307;
constexpr std::size_t kLead = 1024;
constexpr int kLevels = 5;  // factors 2 to 32

std::vector<std::uint8_t> Lead(std::span<const std::uint8_t> stream) {
  std::vector<std::uint8_t> out(kLead + stream.size(), 0);
  std::copy(stream.begin(), stream.end(), out.begin() + kLead);
  return out;
}

KpzRasterHeader Place(std::uint16_t format, std::int32_t width, std::int32_t rows, std::int32_t x,
                      std::int32_t y, std::int32_t boxWidth, std::int32_t boxHeight) {
  KpzRasterHeader h;
  h.foreColour = 0x000000;
  h.backColour = 0xFFFFFF;
  h.x = h.x1 = x;
  h.y = h.y1 = y;
  h.x2 = x + boxWidth;
  h.y2 = y + boxHeight;
  h.rows = rows;
  h.width = width;
  h.format = format;
  // The stored length of a row.
  const bool bitonal = (format & 0x1001) != 0, eight = (format & 0x0004) != 0;
  h.bytesPerRow = bitonal ? (width + 7) / 8 : eight ? width : 3 * width;
  return h;
}

// A scanned-drawing look: a border, a grid of thin lines, lines at any angle, small hatched
// and filled boxes, and scanner specks. Sparse, like a real sheet; `sparseness` thins it
// further for large sheets.
BitImage ScanDrawing(std::int32_t width, std::int32_t rows, unsigned seed, int sparseness = 1) {
  BitImage image(width, rows);
  std::mt19937 rng(seed);
  auto uniform = [&rng](std::int32_t n) {
    return n <= 0 ? 0 : static_cast<std::int32_t>(rng() % static_cast<unsigned>(n));
  };
  auto plot = [&image](std::int32_t x, std::int32_t y) {
    if (x >= 0 && y >= 0 && x < image.width && y < image.rows) image.Set(x, y);
  };
  auto line = [&](std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, int thick) {
    const std::int32_t steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1;
    for (std::int32_t s = 0; s <= steps; ++s) {
      const auto x = x0 + static_cast<std::int32_t>(static_cast<std::int64_t>(x1 - x0) * s / steps);
      const auto y = y0 + static_cast<std::int32_t>(static_cast<std::int64_t>(y1 - y0) * s / steps);
      for (int t = 0; t < thick; ++t) {
        plot(x + t, y);
        plot(x, y + t);
      }
    }
  };
  const std::int32_t m = std::max(4, width / 60);
  line(m, m, width - m, m, 4);
  line(width - m, m, width - m, rows - m, 4);
  line(width - m, rows - m, m, rows - m, 4);
  line(m, rows - m, m, m, 4);
  const std::int32_t grid = std::max(16, width / 12);
  for (std::int32_t x = m + grid; x < width - m; x += grid) line(x, m, x, rows - m, 1);
  for (std::int32_t y = m + grid; y < rows - m; y += grid) line(m, y, width - m, y, 1);
  const std::int64_t area = static_cast<std::int64_t>(width) * rows;
  for (std::int64_t i = 0; i < area / 100000 / sparseness + 8; ++i) {
    const std::int32_t x0 = uniform(width), y0 = uniform(rows);
    const std::int32_t x1 = x0 + uniform(width / 4) - width / 8,
                       y1 = y0 + uniform(rows / 4) - rows / 8;
    line(x0, y0, x1, y1, 1 + (uniform(6) == 0 ? 2 : 0));
  }
  for (std::int64_t i = 0; i < area / 400000 / (4 * sparseness) + 4; ++i) {
    const std::int32_t x0 = uniform(width), y0 = uniform(rows);
    const std::int32_t bw = 4 + uniform(width / 25), bh = 4 + uniform(rows / 25);
    const bool hatch = uniform(3) != 0;
    for (std::int32_t y = y0; y < y0 + bh; ++y)
      for (std::int32_t x = x0; x < x0 + bw; ++x)
        if (!hatch || (x + y) % 9 == 0 || x == x0 || y == y0 || x == x0 + bw - 1 ||
            y == y0 + bh - 1)
          plot(x, y);
  }
  for (std::int64_t i = 0; i < area / 3000 / sparseness; ++i) plot(uniform(width), uniform(rows));
  return image;
}

// Half size: a pixel is black when any of its four source pixels is.
BitImage HalveBits(const BitImage& in) {
  BitImage out(std::max(1, in.width / 2), std::max(1, in.rows / 2));
  for (std::int32_t y = 0; y < out.rows; ++y)
    for (std::int32_t x = 0; x < out.width; ++x) {
      const std::int32_t sx = std::min(2 * x + 1, in.width - 1),
                         sy = std::min(2 * y + 1, in.rows - 1);
      if (in.Get(2 * x, 2 * y) || in.Get(sx, 2 * y) || in.Get(2 * x, sy) || in.Get(sx, sy))
        out.Set(x, y);
    }
  return out;
}

PixelImage HalvePixels(const PixelImage& in) {
  PixelImage out;
  out.width = std::max(1, in.width / 2);
  out.rows = std::max(1, in.rows / 2);
  out.bytesPerPixel = in.bytesPerPixel;
  const auto bpp = static_cast<std::size_t>(in.bytesPerPixel);
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.rows * bpp);
  for (std::int32_t y = 0; y < out.rows; ++y)
    for (std::int32_t x = 0; x < out.width; ++x)
      for (std::size_t c = 0; c < bpp; ++c)
        out.pixels[(static_cast<std::size_t>(y) * out.width + x) * bpp + c] =
            in.pixels[(static_cast<std::size_t>(2 * y) * in.width + 2 * x) * bpp + c];
  return out;
}

// One row (or plane) as its own image, for the per-row formats.
PixelImage RowOf(const PixelImage& image, std::int32_t row, int channel) {
  PixelImage out;
  out.width = image.width;
  out.rows = 1;
  out.bytesPerPixel = 1;
  const auto bpp = static_cast<std::size_t>(image.bytesPerPixel);
  for (std::int32_t x = 0; x < image.width; ++x)
    out.pixels.push_back(image.pixels[(static_cast<std::size_t>(row) * image.width + x) * bpp +
                                      static_cast<std::size_t>(channel)]);
  return out;
}

std::vector<std::uint8_t> PackedRow(const PixelImage& image, std::int32_t row, int channel) {
  return oracle::ToVariantPackBits(oracle::EncodePackBits(RowOf(image, row, channel)));
}

// 8 bits, the whole image as one pixel stream.
std::vector<std::uint8_t> PackedImage(const PixelImage& image) {
  return oracle::ToVariantPackBits(oracle::EncodePackBits(image));
}

// 24 bits, one row as red, green and blue planes.
std::vector<std::uint8_t> PlanarRow(const PixelImage& image, std::int32_t row) {
  std::vector<std::uint8_t> out;
  for (int c = 0; c < 3; ++c) {
    const auto plane = PackedRow(image, row, c);
    out.insert(out.end(), plane.begin(), plane.end());
  }
  return out;
}

// 24 bits, the whole image.
std::vector<std::uint8_t> PlanarImage(const PixelImage& image) {
  std::vector<std::uint8_t> out;
  for (std::int32_t r = 0; r < image.rows; ++r) {
    const auto row = PlanarRow(image, r);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

// The bitmap takes each pixel's bytes in the order the decoder delivers them, as blue, green
// and red: the stream stores them that way round.
std::vector<std::uint8_t> JpegOf(PixelImage image) {
  for (std::size_t i = 0; i + 2 < image.pixels.size(); i += 3)
    std::swap(image.pixels[i], image.pixels[i + 2]);
  return oracle::EncodeJpeg(image, 85);
}

std::vector<std::uint32_t> ColourRamp() {
  std::vector<std::uint32_t> colours;
  for (std::uint32_t i = 0; i < 256; ++i)
    colours.push_back(((255 - i) << 16) | ((i * 3 / 4) << 8) | (i / 2 + 64));
  return colours;
}

// Writes each reduced level's data before the page and returns their descriptions.
template <typename Image, typename Halve, typename Encode>
std::vector<KpzRasterLevel> Levels(KpzBuilder& b, Image image, Halve halve, Encode encode) {
  std::vector<KpzRasterLevel> levels;
  const auto base = static_cast<std::int32_t>(b.Layout().dataStart);
  for (int k = 0; k < kLevels; ++k) {
    image = halve(image);
    const auto data = encode(image);
    const std::uint32_t at = b.LevelData(data);
    levels.push_back({image.width, image.rows, base + static_cast<std::int32_t>(at)});
  }
  return levels;
}

}  // namespace

std::vector<std::uint8_t> MakeRasterPlan() {
  KpzBuilder b;
  b.PageSize(kSheetWidth, kSheetHeight, kDotsPerMetre);

  // Several-resolution sources and their levels, written before the page.
  const BitImage drawing = ScanDrawing(1600, 1200, 13);
  const auto g4Levels =
      Levels(b, drawing, HalveBits, [](const BitImage& i) { return oracle::EncodeGroup4(i); });
  const PixelImage grey = oracle::SyntheticPicture(800, 600, 1, 17);
  const auto packedLevels = Levels(b, grey, HalvePixels, PackedImage);
  const PixelImage colour = oracle::SyntheticPicture(600, 450, 3, 19);
  const auto planarLevels = Levels(b, colour, HalvePixels, PlanarImage);
  const PixelImage photo = oracle::SyntheticPicture(1200, 900, 3, 23);
  const auto jpegLevels = Levels(b, photo, HalvePixels, JpegOf);

  b.BeginPage();
  // A full-sheet scan, Group 4.
  const BitImage scan = ScanDrawing(kSheetDotsX, kSheetDotsY, 7);
  b.RasterHeader(Place(0x1000, scan.width, scan.rows, 0, 0, kSheetDotsX, kSheetDotsY))
      .RasterData(Lead(oracle::EncodeGroup4(scan)));

  // Vectors: a frame and a filled band the transparent overlay lies on.
  b.LineWidth(8).LineColour(KpzBuilder::Rgb(200, 0, 0));
  b.Polyline({{60, 60},
              {kSheetDotsX - 60, 60},
              {kSheetDotsX - 60, kSheetDotsY - 60},
              {60, kSheetDotsY - 60},
              {60, 60}});
  b.FillColour(1, KpzBuilder::Rgb(255, 230, 150))
      .PolygonSet(2, {{{200, 200}, {1700, 200}, {1700, 1300}, {200, 1300}, {200, 200}}});

  // A transparent bitonal overlay in run pairs, blue, over the filled band.
  const BitImage overlay = ScanDrawing(1200, 800, 11);
  KpzRasterHeader over = Place(0x0001, overlay.width, overlay.rows, 300, 300, 1200, 800);
  over.flags = 0x84;
  over.foreColour = 0x0000C0;
  b.RasterHeader(over);
  for (const auto& row : oracle::EncodeRunPairRows(overlay)) b.RasterData(row);

  // 8 bits with a palette, PackBits rows.
  const PixelImage picture = oracle::SyntheticPicture(800, 600, 1, 3);
  KpzRasterHeader eight = Place(0x0004, picture.width, picture.rows, 1900, 200, 800, 600);
  eight.flags = 0x80;
  eight.colours = ColourRamp();
  b.RasterHeader(eight);
  for (std::int32_t r = 0; r < picture.rows; ++r) b.RasterData(PackedRow(picture, r, 0));

  // 24 bits, planar PackBits rows.
  const PixelImage rgb = oracle::SyntheticPicture(600, 400, 3, 5);
  KpzRasterHeader planar = Place(0x0002, rgb.width, rgb.rows, 2900, 200, 900, 600);
  planar.flags = 0x80;
  b.RasterHeader(planar);
  for (std::int32_t r = 0; r < rgb.rows; ++r) b.RasterData(PlanarRow(rgb, r));

  // A JPEG photograph.
  const PixelImage shot = oracle::SyntheticPicture(1200, 800, 3, 9);
  b.RasterHeader(Place(0x2000, shot.width, shot.rows, 3900, 200, 600, 400))
      .RasterData(JpegOf(shot));

  // Several resolutions of each multi-level format.
  b.RasterHeader(Place(0x5000, drawing.width, drawing.rows, 200, 1500, 1200, 900))
      .RasterData(Lead(oracle::EncodeGroup4(drawing)))
      .RasterLevels(g4Levels);
  KpzRasterHeader greyLevels = Place(0x4004, grey.width, grey.rows, 1500, 1500, 1000, 750);
  greyLevels.colours = ColourRamp();
  b.RasterHeader(greyLevels).RasterData(Lead(PackedImage(grey))).RasterLevels(packedLevels);
  b.RasterHeader(Place(0x4002, colour.width, colour.rows, 2600, 1500, 1000, 750))
      .RasterData(PlanarImage(colour))
      .RasterLevels(planarLevels);
  b.RasterHeader(Place(0x6000, photo.width, photo.rows, 3650, 1500, 900, 675))
      .RasterData(JpegOf(photo))
      .RasterLevels(jpegLevels);
  b.EndPage();
  return b.Build();
}

// The same full-sheet scan as rows of run pairs.
std::vector<std::uint8_t> MakeRasterScanRuns() {
  KpzBuilder b;
  b.PageSize(kSheetWidth, kSheetHeight, kDotsPerMetre);
  const BitImage scan = ScanDrawing(kSheetDotsX, kSheetDotsY, 7);
  KpzRasterHeader h = Place(0x0001, scan.width, scan.rows, 0, 0, kSheetDotsX, kSheetDotsY);
  h.flags = 0x80;
  b.BeginPage().RasterHeader(h);
  for (const auto& row : oracle::EncodeRunPairRows(scan)) b.RasterData(row);
  b.EndPage();
  return b.Build();
}

// An A0 sheet at 400 dots per inch (13244 × 18728 dots) covered by one Group 4 scan.
std::vector<std::uint8_t> MakeRasterSheetA0() {
  constexpr std::uint16_t kA0DotsPerMetre = 15748;
  constexpr std::int32_t kWidth = 13244, kRows = 18728;
  KpzBuilder b;
  b.PageSize(0.841, 1.189, kA0DotsPerMetre);
  const BitImage scan = ScanDrawing(kWidth, kRows, 29, 8);
  b.BeginPage()
      .RasterHeader(Place(0x1000, scan.width, scan.rows, 0, 0, kWidth, kRows))
      .RasterData(Lead(oracle::EncodeGroup4(scan)))
      .EndPage();
  return b.Build();
}

}  // namespace quillon
