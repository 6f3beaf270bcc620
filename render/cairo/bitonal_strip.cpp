#include "render/cairo/bitonal_strip.h"

#include <algorithm>
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

BitonalStrip BitonalStrip::Shrunk(int keep) const {
  // Along a shrunk axis each bitmap pixel's centre falls into one device pixel; an axis that
  // is not shrunk keeps its pixels.
  const bool acrossShrunk = pixelWidth_ < 1, downShrunk = pixelHeight_ < 1;
  const double left = acrossShrunk ? std::floor(x_) : x_, top = downShrunk ? std::floor(y_) : y_;
  auto column = [&](int u) {
    return acrossShrunk ? static_cast<int>(std::floor(x_ + (u + 0.5) * pixelWidth_ - left)) : u;
  };
  auto row = [&](int v) {
    return downShrunk ? static_cast<int>(std::floor(y_ + (v + 0.5) * pixelHeight_ - top)) : v;
  };
  BitonalStrip out;
  out.width_ = std::max(1, column(width_ - 1) + 1);
  out.height_ = std::max(1, row(height_ - 1) + 1);
  out.stride_ = (static_cast<std::size_t>(out.width_) + 7) / 8;
  out.x_ = left, out.y_ = top;
  out.pixelWidth_ = acrossShrunk ? 1 : pixelWidth_;
  out.pixelHeight_ = downShrunk ? 1 : pixelHeight_;
  out.colours_[0] = colours_[0], out.colours_[1] = colours_[1];
  out.rop_ = rop_;
  // Bits set where a pixel of `keep` landed; for keep = 0 they are flipped at the end, so
  // that the strip's bits still mean index 1.
  out.rows_.assign(out.stride_ * static_cast<std::size_t>(out.height_), 0);
  const std::uint8_t flip = keep == 1 ? 0x00 : 0xFF;
  for (int v = 0; v < height_; ++v) {
    const std::uint8_t* src = Row(v);
    std::uint8_t* dst =
        out.rows_.data() + static_cast<std::size_t>(std::clamp(row(v), 0, out.height_ - 1)) * out.stride_;
    for (int u = 0; u < width_; ++u) {
      if (((src[u >> 3] ^ flip) >> (7 - (u & 7)) & 1) == 0) continue;
      const int c = std::clamp(column(u), 0, out.width_ - 1);
      dst[c >> 3] |= static_cast<std::uint8_t>(0x80 >> (c & 7));
    }
  }
  if (keep == 0)
    for (auto& b : out.rows_) b = static_cast<std::uint8_t>(~b);
  return out;
}

}  // namespace quillon
