// Placing a decoded 4000 × 3000 image in the cache image, unturned and turned by 90 and 270,
// 8-bit and RGB: the cost of turning in the build that ships (run it under 32-bit Wine). Rows
// are copied from a prepared row, so decoding takes no part. Prints the median and fastest of
// the repetitions.
//
//   turn_bench.exe [--repeat N]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "render/codecs/raster_target.h"

namespace {

using quillon::PixelKind;
using quillon::RasterGeometry;

double PlaceMilliseconds(const RasterGeometry& g, const std::vector<std::uint8_t>& row,
                         std::vector<std::uint8_t>& image) {
  const auto start = std::chrono::steady_clock::now();
  {
    quillon::RasterTarget target(g, image);
    for (std::int32_t r = 0; r < g.rows; ++r) {
      std::memcpy(target.BeginPixelRow(r), row.data(), row.size());
      target.EndPixelRow();
    }
    target.Finish();
  }
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 21;
  if (argc == 3 && std::string(argv[1]) == "--repeat") repeat = std::max(1, std::atoi(argv[2]));
  const std::int32_t width = 4000, rows = 3000;
  for (const PixelKind kind : {PixelKind::Gray8, PixelKind::Rgb24}) {
    const int bpp = kind == PixelKind::Rgb24 ? 3 : 1;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * bpp);
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<std::uint8_t>(i * 37 >> 3);
    for (const int rotation : {0, 90, 270}) {
      const RasterGeometry g{width, rows, rotation, 1, kind};
      std::vector<std::uint8_t> image(quillon::MeasureRaster(g)->bytes);
      std::vector<double> times;
      for (int i = 0; i < repeat; ++i) times.push_back(PlaceMilliseconds(g, row, image));
      std::sort(times.begin(), times.end());
      std::printf("%s rotation %3d: median %.2f ms, fastest %.2f ms\n",
                  bpp == 1 ? "8-bit" : "RGB  ", rotation, times[times.size() / 2], times[0]);
    }
  }
  return 0;
}
