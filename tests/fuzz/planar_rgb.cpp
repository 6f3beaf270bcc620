// Planar RGB rows and whole images in the PackBits variant, from arbitrary bytes.
// Input: u16 width, u16 rows, one byte of options (bits 0-1 rotation, 7 per-row records), then
// either the whole-image record or records of one length byte each.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "render/codecs/planar_rgb_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  if (size < 5) return 0;
  const int options = data[4];
  RasterGeometry g;
  g.width = 1 + ((data[0] | (data[1] << 8)) % 2048);
  g.rows = 1 + ((data[2] | (data[3] << 8)) % 512);
  g.rotation = 90 * (options & 3);
  g.kind = PixelKind::Rgb24;
  const auto layout = MeasureRaster(g);
  if (!layout) return 0;
  std::vector<std::uint8_t> image(layout->bytes);
  RasterTarget target(g, image);
  if (options & 0x80) {
    std::size_t at = 5;
    std::int32_t row = g.rows - 1;
    while (at < size) {
      const std::size_t length = data[at++];
      const std::size_t take = length < size - at ? length : size - at;
      DecodePlanarRgbRow(std::span<const std::uint8_t>(data + at, take), row--, target);
      at += take;
    }
    target.Finish();
  } else {
    DecodePlanarRgbImage(std::span<const std::uint8_t>(data + 5, size - 5), target);
  }
  return 0;
}
