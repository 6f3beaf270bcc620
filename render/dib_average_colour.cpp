#include "render/dib_average_colour.h"

#include <cstdint>
#include <cstdlib>

namespace quillon {

namespace {

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// Pixels sampled per row and column at most: a pattern tile is small, a large bitmap's average
// needs no more.
constexpr std::int64_t kMaxSamples = 256;

}  // namespace

std::optional<ColorRef> AverageDibColour(const DibView& dib) {
  const auto info = dib.info;
  if (info.size() < 40) return std::nullopt;
  const std::uint32_t headerBytes = U32(info, 0);
  const std::int64_t width = static_cast<std::int32_t>(U32(info, 4));
  const std::int64_t height = std::llabs(static_cast<std::int32_t>(U32(info, 8)));
  const unsigned bits = info[14] | info[15] << 8;
  const std::uint32_t compression = U32(info, 16);
  if (headerBytes < 40 || headerBytes > info.size() || compression != 0) return std::nullopt;
  if (width <= 0 || height <= 0) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
  const std::int64_t stride = (width * bits + 31) / 32 * 4;
  if (static_cast<std::uint64_t>(stride) * height > dib.bits.size()) return std::nullopt;
  std::uint64_t entries = 0;
  if (bits <= 8) {
    const std::uint32_t used = U32(info, 32);
    entries = used != 0 ? used : 1u << bits;
    if (headerBytes + entries * 4 > info.size()) return std::nullopt;
  }

  const std::int64_t stepX = (width + kMaxSamples - 1) / kMaxSamples;
  const std::int64_t stepY = (height + kMaxSamples - 1) / kMaxSamples;
  std::uint64_t red = 0, green = 0, blue = 0, count = 0;
  for (std::int64_t y = 0; y < height; y += stepY) {
    const std::uint8_t* row = dib.bits.data() + y * stride;
    for (std::int64_t x = 0; x < width; x += stepX) {
      std::size_t colour = 0;  // offset of the pixel's blue, green, red bytes
      const std::uint8_t* source = nullptr;
      if (bits <= 8) {
        const std::int64_t bit = x * bits;
        const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (index >= entries) continue;  // outside the table: no colour to count
        source = info.data();
        colour = headerBytes + index * 4;
      } else {
        source = row;
        colour = static_cast<std::size_t>(x * (bits / 8));
      }
      blue += source[colour];
      green += source[colour + 1];
      red += source[colour + 2];
      ++count;
    }
  }
  if (count == 0) return std::nullopt;
  const auto mean = [&](std::uint64_t sum) { return static_cast<ColorRef>((sum + count / 2) / count); };
  return mean(red) | mean(green) << 8 | mean(blue) << 16;
}

}  // namespace quillon
