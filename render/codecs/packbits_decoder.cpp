#include "render/codecs/packbits_decoder.h"

#include <cstring>

#include "render/codecs/packbits_reader.h"

namespace quillon {

void DecodePackBits8Row(std::span<const std::uint8_t> record, std::int32_t row,
                        RasterTarget& target) {
  if (!target.ok() || target.geometry().kind != PixelKind::Gray8) return;
  PackBitsReader in(record);
  std::uint8_t* pixels = target.BeginPixelRow(row);
  const auto width = static_cast<std::size_t>(target.geometry().width);
  const std::size_t got = in.Read(pixels, width);
  std::memset(pixels + got, 0, width - got);
  target.EndPixelRow();
}

bool DecodePackBits8Image(std::span<const std::uint8_t> record, RasterLead lead,
                          RasterTarget& target) {
  if (!target.ok() || target.geometry().kind != PixelKind::Gray8) return false;
  if (lead == RasterLead::Present) {
    if (record.size() < kRasterLeadBytes) return false;
    record = record.subspan(kRasterLeadBytes);
  }
  PackBitsReader in(record);
  const auto width = static_cast<std::size_t>(target.geometry().width);
  for (std::int32_t row = 0; row < target.geometry().rows; ++row) {
    std::uint8_t* pixels = target.BeginPixelRow(row);
    const std::size_t got = in.Read(pixels, width);
    std::memset(pixels + got, 0, width - got);
    target.EndPixelRow();
    if (got < width) {
      target.Finish();
      return false;
    }
  }
  target.Finish();
  return true;
}

}  // namespace quillon
