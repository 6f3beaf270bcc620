#pragma once
// Quarter turns of packed pixel rows (DIB rows, each padded to 32 bits), shared by patterns
// and bitonal rasters. Rows are taken as a bottom-up DIB holds them (bottom row first), and the
// picture turns as shown on the screen (a view rotation of R turns the page's points as a turn
// of 360 - R here does):
//   90:  a quarter turn counter-clockwise (the top edge goes to the left side);
//   180: a half turn (rows in reverse order, each read backwards);
//   270: a quarter turn clockwise (the top edge goes to the right side).
// For rows stored top row first the same call turns the other way round for 90 and 270.
// Output rows are padded with zero bits to whole double words.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

// Bytes of one row of `width` pixels padded to a multiple of 32 bits; 0 when it would not
// fit in 32 bits.
std::size_t DibStride(std::uint64_t width, unsigned bitsPerPixel);

// Rows of pixels in memory: `height` rows of `stride` bytes, `width` pixels each.
struct PixelRows {
  std::vector<std::uint8_t> data;
  std::uint32_t width = 0, height = 0;
  std::size_t stride = 0;
};

struct RowsView {
  std::span<const std::uint8_t> data;
  std::uint32_t width = 0, height = 0;
  std::size_t stride = 0;
  unsigned bitsPerPixel = 1;
  // The view holds height rows of stride bytes, each long enough for width pixels.
  bool Valid() const;
};

// One-bit rows turned by `angle` (0, 90, 180 or 270; anything else copies). Empty result
// (width or height 0) when the input is not Valid().
PixelRows RotateBits(const RowsView& in, int angle);
// The same turns for 4, 8, 24 and 32 bits per pixel, whole pixels at a time.
PixelRows RotatePixels(const RowsView& in, int angle);

}  // namespace quillon
