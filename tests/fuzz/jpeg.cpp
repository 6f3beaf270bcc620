// JPEG decoding through libjpeg with our source and error manager, from arbitrary bytes.
// Input: u16 width, u16 rows of the destination, one byte with the rotation in bits 0-1, then
// the stream.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "render/codecs/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  if (size < 5) return 0;
  RasterGeometry g;
  g.width = 1 + ((data[0] | (data[1] << 8)) % 1024);
  g.rows = 1 + ((data[2] | (data[3] << 8)) % 1024);
  g.rotation = 90 * (data[4] & 3);
  g.kind = PixelKind::Rgb24;
  const auto layout = MeasureRaster(g);
  if (!layout) return 0;
  std::vector<std::uint8_t> image(layout->bytes);
  RasterTarget target(g, image);
  DecodeJpeg(std::span<const std::uint8_t>(data + 5, size - 5), target);
  return 0;
}
