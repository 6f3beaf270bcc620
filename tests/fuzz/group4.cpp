// Group 4 decoding of arbitrary bytes into a turned and reduced bitonal image.
// Input: u16 width, u16 rows, one byte of options (bits 0-1 rotation, 2-4 factor as a power of
// two, 5 the 1024-byte lead, 6 the AND halving rule), then the record.

#include <cstddef>
#include <cstdint>
#include <span>
#include <span>

#include "render/codecs/group4_decoder.h"
#include "tests/fuzz/raster_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const auto in = fuzz::ReadRasterFuzzInput(data, size, PixelKind::Bitonal, 4096, 1024);
  if (!in) return 0;
  const std::span<std::uint8_t> image = fuzz::ImageFor(in->geometry);
  if (image.empty()) return 0;
  HalvingTables tables;
  tables.Build(in->options & 0x40 ? PairRule::And : PairRule::Or);
  RasterTarget target(in->geometry, image, &tables);
  DecodeGroup4(in->body, in->options & 0x20 ? RasterLead::Present : RasterLead::Absent, target);
  target.Finish();
  return 0;
}
