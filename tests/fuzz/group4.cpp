// Group 4 decoding of arbitrary bytes into a turned and reduced bitonal image.
// Input: u16 width, u16 rows, one byte of options (bits 0-1 rotation, 2-4 factor as a power of
// two, 5 the 1024-byte lead, 6 the AND halving rule), then the record.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "render/codecs/group4_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  if (size < 5) return 0;
  const int options = data[4];
  RasterGeometry g;
  g.width = 1 + ((data[0] | (data[1] << 8)) % 4096);
  g.rows = 1 + ((data[2] | (data[3] << 8)) % 1024);
  g.rotation = 90 * (options & 3);
  g.factor = 1 << (((options >> 2) & 7) % 6);
  g.kind = PixelKind::Bitonal;
  const auto layout = MeasureRaster(g);
  if (!layout) return 0;
  HalvingTables tables;
  tables.Build(options & 0x40 ? PairRule::And : PairRule::Or);
  std::vector<std::uint8_t> image(layout->bytes);
  RasterTarget target(g, image, &tables);
  const std::span<const std::uint8_t> record(data + 5, size - 5);
  DecodeGroup4(record, options & 0x20 ? RasterLead::Present : RasterLead::Absent, target);
  target.Finish();
  return 0;
}
