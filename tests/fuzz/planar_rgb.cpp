// Planar RGB rows and whole images in the PackBits variant, from arbitrary bytes.
// Input: u16 width, u16 rows, one byte of options (bits 0-1 rotation, 7 per-row records), then
// either the whole-image record or records of one length byte each.

#include <cstddef>
#include <cstdint>
#include <span>
#include <span>

#include "render/codecs/planar_rgb_decoder.h"
#include "tests/fuzz/raster_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const auto in = fuzz::ReadRasterFuzzInput(data, size, PixelKind::Rgb24, 2048, 512, 1 << 16);
  if (!in) return 0;
  const std::span<std::uint8_t> image = fuzz::ImageFor(in->geometry);
  if (image.empty()) return 0;
  RasterTarget target(in->geometry, image);
  if (in->options & 0x80) {
    fuzz::ForEachBottomUpRecord(in->body, in->geometry.rows,
                                [&](std::span<const std::uint8_t> record, std::int32_t row) {
                                  DecodePlanarRgbRow(record, row, target);
                                });
    target.Finish();
  } else {
    DecodePlanarRgbImage(in->body, target);
  }
  return 0;
}
