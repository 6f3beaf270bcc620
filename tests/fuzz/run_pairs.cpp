// Run-pair rows of arbitrary bytes into a turned and reduced bitonal image.
// Input: u16 width, u16 rows, one byte of options (bits 0-1 rotation, 2-4 factor as a power of
// two, 6 the AND halving rule), then records, each one length byte and that many bytes; the
// row of a record is the next byte (rows beyond the image are fed too).

#include <cstddef>
#include <cstdint>
#include <span>
#include <span>

#include "render/codecs/run_pair_decoder.h"
#include "tests/fuzz/raster_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const auto in = fuzz::ReadRasterFuzzInput(data, size, PixelKind::Bitonal, 4096, 512);
  if (!in) return 0;
  const std::span<std::uint8_t> image = fuzz::ImageFor(in->geometry);
  if (image.empty()) return 0;
  HalvingTables tables;
  tables.Build(in->options & 0x40 ? PairRule::And : PairRule::Or);
  RasterTarget target(in->geometry, image, &tables);
  std::size_t at = 5;
  std::int32_t row = 0;
  while (at + 2 <= size) {
    const std::size_t length = data[at];
    const std::int32_t jump = data[at + 1];
    at += 2;
    const std::size_t take = length < size - at ? length : size - at;
    DecodeRunPairRow(std::span<const std::uint8_t>(data + at, take), row, target);
    at += take;
    row += jump == 0xFF ? -1 : 1;  // now and then a row out of order or outside
  }
  target.Finish();
  return 0;
}
