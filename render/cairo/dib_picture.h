#pragma once
// A device-independent bitmap read the way GDI reads one for StretchDIBits and pattern
// brushes: a 40-byte (or larger) BITMAPINFOHEADER, the colour table, and rows padded to 32
// bits, bottom-up when the height is positive. Only uncompressed 1, 4, 8, 24 and 32-bit
// bitmaps are taken; anything else, or bits too short for the rows, is refused.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "render/device.h"

namespace quillon {

class DibPicture {
 public:
  static std::optional<DibPicture> Read(const DibView& dib);

  int width() const { return width_; }
  int rows() const { return rows_; }
  int bitCount() const { return bitCount_; }
  bool bottomUp() const { return bottomUp_; }
  // Colour table entries as 0x00RRGGBB; entries the header announces but the block lacks
  // read as black, as GDI reads whatever follows.
  const std::vector<std::uint32_t>& colours() const { return colours_; }
  // Row r of the picture as seen, 0 at the top.
  const std::uint8_t* Row(int r) const {
    const int stored = bottomUp_ ? rows_ - 1 - r : r;
    return bits_.data() + static_cast<std::size_t>(stored) * stride_;
  }
  // The colour table index of pixel x of a row (bit depths up to 8).
  int Index(const std::uint8_t* row, int x) const;
  // The colour of pixel x of a row, 0x00RRGGBB.
  std::uint32_t Rgb(const std::uint8_t* row, int x) const;

 private:
  int width_ = 0, rows_ = 0, bitCount_ = 0;
  bool bottomUp_ = true;
  std::size_t stride_ = 0;
  std::vector<std::uint32_t> colours_;
  std::span<const std::uint8_t> bits_;
};

}  // namespace quillon
