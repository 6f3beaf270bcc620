// JPEG decoding through libjpeg with our source and error manager, from arbitrary bytes.
// Input: u16 width, u16 rows of the destination, one byte with the rotation in bits 0-1, then
// the stream.

#include <cstddef>
#include <cstdint>
#include <span>
#include <span>

#include "render/codecs/jpeg_decoder.h"
#include "tests/fuzz/raster_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const auto in = fuzz::ReadRasterFuzzInput(data, size, PixelKind::Rgb24, 1024, 1024, 1 << 18);
  if (!in) return 0;
  const std::span<std::uint8_t> image = fuzz::ImageFor(in->geometry);
  if (image.empty()) return 0;
  RasterTarget target(in->geometry, image);
  DecodeJpeg(in->body, target);
  return 0;
}
