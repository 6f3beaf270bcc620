#include "render/cairo/dib_picture.h"

#include <limits>

namespace quillon {

namespace {

constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kBiRgb = 0;

std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t Get16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

}  // namespace

std::optional<DibPicture> DibPicture::Read(const DibView& dib) {
  const auto info = dib.info;
  if (info.size() < kInfoHeaderBytes) return std::nullopt;
  const std::uint32_t headerBytes = Get32(info, 0);
  const auto width = static_cast<std::int32_t>(Get32(info, 4));
  const auto height = static_cast<std::int32_t>(Get32(info, 8));
  const std::uint16_t bitCount = Get16(info, 14);
  const std::uint32_t compression = Get32(info, 16);
  const std::uint32_t used = Get32(info, 32);
  if (headerBytes < kInfoHeaderBytes || headerBytes > info.size()) return std::nullopt;
  if (compression != kBiRgb || width <= 0 || height == 0 ||
      height == std::numeric_limits<std::int32_t>::min())
    return std::nullopt;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
    return std::nullopt;

  DibPicture p;
  p.width_ = width;
  p.rows_ = height < 0 ? -height : height;
  p.bottomUp_ = height > 0;
  p.bitCount_ = bitCount;
  p.stride_ = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
  const std::size_t need = p.stride_ * static_cast<std::size_t>(p.rows_);
  if (p.stride_ > (std::numeric_limits<std::size_t>::max)() / static_cast<std::size_t>(p.rows_) ||
      dib.bits.size() < need)
    return std::nullopt;
  p.bits_ = dib.bits.first(need);

  if (bitCount <= 8) {
    const std::uint32_t full = 1u << bitCount;
    const std::uint32_t count = used == 0 || used > full ? full : used;
    p.colours_.assign(full, 0);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::size_t at = headerBytes + 4 * static_cast<std::size_t>(i);
      if (at + 4 > info.size()) break;
      p.colours_[i] = static_cast<std::uint32_t>(info[at + 2]) << 16 |
                      static_cast<std::uint32_t>(info[at + 1]) << 8 | info[at];
    }
  }
  return p;
}

int DibPicture::Index(const std::uint8_t* row, int x) const {
  switch (bitCount_) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case 8:
      return row[x];
    default:
      return 0;
  }
}

std::uint32_t DibPicture::Rgb(const std::uint8_t* row, int x) const {
  if (bitCount_ <= 8) return colours_[static_cast<std::size_t>(Index(row, x))];
  const std::uint8_t* px = row + static_cast<std::size_t>(x) * (bitCount_ / 8);
  return static_cast<std::uint32_t>(px[2]) << 16 | static_cast<std::uint32_t>(px[1]) << 8 | px[0];
}

}  // namespace quillon
