#include "render/codecs/planar_rgb_decoder.h"

#include <algorithm>
#include <vector>

#include "render/codecs/packbits_reader.h"

namespace quillon {

namespace {

// The three planes of a row to blue, green, red pixels, as the bitmap stores them.
void InterleavePlanes(const std::uint8_t* red, const std::uint8_t* green,
                      const std::uint8_t* blue, std::size_t width, std::uint8_t* pixels) {
  for (std::size_t i = 0; i < width; ++i, pixels += 3) {
    pixels[0] = blue[i];
    pixels[1] = green[i];
    pixels[2] = red[i];
  }
}

// Decodes one row's three planes from `in` and writes them interleaved. Returns false when the
// input ended first (the row is still written, its missing pixels 0).
bool DecodeRow(PackBitsReader& in, std::int32_t row, RasterTarget& target,
               std::vector<std::uint8_t>& planes) {
  const auto width = static_cast<std::size_t>(target.geometry().width);
  bool complete = true;
  for (std::size_t plane = 0; plane < 3; ++plane) {
    std::uint8_t* out = planes.data() + plane * width;
    const std::size_t got = in.Read(out, width);
    std::fill(out + got, out + width, std::uint8_t{0});
    complete = complete && got == width;
    in.Drop();
  }
  const std::uint8_t* red = planes.data();
  const std::uint8_t* green = red + width;
  const std::uint8_t* blue = green + width;
  InterleavePlanes(red, green, blue, width, target.BeginPixelRow(row));
  target.EndPixelRow();
  return complete;
}

bool Ready(const RasterTarget& target) {
  return target.ok() && target.geometry().kind == PixelKind::Rgb24;
}

}  // namespace

void DecodePlanarRgbRow(std::span<const std::uint8_t> record, std::int32_t row,
                        RasterTarget& target) {
  if (!Ready(target)) return;
  std::vector<std::uint8_t> planes(static_cast<std::size_t>(target.geometry().width) * 3);
  PackBitsReader in(record);
  DecodeRow(in, row, target, planes);
}

bool DecodePlanarRgbImage(std::span<const std::uint8_t> record, RasterTarget& target) {
  if (!Ready(target)) return false;
  std::vector<std::uint8_t> planes(static_cast<std::size_t>(target.geometry().width) * 3);
  PackBitsReader in(record);
  for (std::int32_t row = 0; row < target.geometry().rows; ++row) {
    if (!DecodeRow(in, row, target, planes)) {
      target.Finish();
      return false;
    }
  }
  target.Finish();
  return true;
}

}  // namespace quillon
