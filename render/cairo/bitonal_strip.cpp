#include "render/cairo/bitonal_strip.h"

#include <cmath>
#include <cstring>

namespace quillon {

namespace {

// A strip larger than this is drawn and a new one started: memory stays bounded whatever
// the raster's size (an A0 sheet at 400 dpi is 31 MB of bits).
constexpr std::size_t kMaxStripBytes = 64u << 20;

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-6 * (1 + std::fabs(a)); }

}  // namespace

bool BitonalStrip::Append(const BitonalBand& band) {
  if (empty() || band.width != width_ || band.rop != rop_ || band.colours[0] != colours_[0] ||
      band.colours[1] != colours_[1] || !Near(band.x, x_) || !Near(band.pixelWidth, pixelWidth_) ||
      !Near(band.pixelHeight, pixelHeight_) || !Near(band.y, y_ + height_ * pixelHeight_))
    return false;
  if (rows_.size() + static_cast<std::size_t>(band.height) * stride_ > kMaxStripBytes) return false;
  AddRows(band);
  return true;
}

void BitonalStrip::Start(const BitonalBand& band) {
  rows_.clear();
  width_ = band.width;
  height_ = 0;
  stride_ = (static_cast<std::size_t>(band.width) + 7) / 8;
  x_ = band.x, y_ = band.y;
  pixelWidth_ = band.pixelWidth, pixelHeight_ = band.pixelHeight;
  colours_[0] = band.colours[0], colours_[1] = band.colours[1];
  rop_ = band.rop;
  AddRows(band);
}

void BitonalStrip::AddRows(const BitonalBand& band) {
  const std::size_t at = rows_.size();
  rows_.resize(at + static_cast<std::size_t>(band.height) * stride_, 0);
  const DibPicture& p = *band.picture;
  for (int k = 0; k < band.height; ++k) {
    const std::uint8_t* src = p.Row(band.flipped ? band.top + band.height - 1 - k : band.top + k);
    std::uint8_t* dst = rows_.data() + at + static_cast<std::size_t>(k) * stride_;
    if (band.left % 8 == 0) {
      std::memcpy(dst, src + band.left / 8, stride_);
    } else {
      for (int x = 0; x < band.width; ++x)
        if (p.Index(src, band.left + x)) dst[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
    }
  }
  height_ += band.height;
}

}  // namespace quillon
