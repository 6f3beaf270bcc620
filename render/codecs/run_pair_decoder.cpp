#include "render/codecs/run_pair_decoder.h"

namespace quillon {

void DecodeRunPairRow(std::span<const std::uint8_t> record, std::int32_t row,
                      RasterTarget& target) {
  if (!target.ok() || target.geometry().kind != PixelKind::Bitonal) return;
  const BitRow bits = target.BeginBitonalRow(row);
  const std::uint32_t width = bits.width;
  std::uint32_t position = 0;
  for (std::size_t i = 0; i + 4 <= record.size() && position < width; i += 4) {
    const std::uint32_t skip = record[i] | (record[i + 1] << 8);
    const std::uint32_t run = record[i + 2] | (record[i + 3] << 8);
    position += skip;  // both below 2^16, the sum of a row's pairs stays far from overflow
    if (position >= width) break;
    const std::uint32_t end = position + run < width ? position + run : width;
    if (end > position) FillSpan(bits, position, end);
    position = end;
  }
  target.EndBitonalRow();
}

}  // namespace quillon
