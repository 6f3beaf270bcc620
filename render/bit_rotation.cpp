#include "render/bit_rotation.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillon {

std::size_t DibStride(std::uint64_t width, unsigned bitsPerPixel) {
  const std::uint64_t bits = width * bitsPerPixel;  // width < 2^32, bpp <= 32: no overflow
  const std::uint64_t stride = (bits + 31) / 32 * 4;
  return stride > std::numeric_limits<std::uint32_t>::max() ? 0 : static_cast<std::size_t>(stride);
}

bool RowsView::Valid() const {
  if (bitsPerPixel == 0 || bitsPerPixel > 32) return false;
  const std::uint64_t need = (std::uint64_t{width} * bitsPerPixel + 7) / 8;
  if (stride < need) return false;
  return std::uint64_t{height} * stride <= data.size();
}

namespace {

// Source coordinates (column, row) of output pixel (x, row) for each turn. Rows are stored
// bottom row first, as in a bottom-up DIB: 90 turns the picture a quarter counter-clockwise as
// shown (the top edge goes to the left), 270 a quarter clockwise. Walking the columns of the
// input rows in stored order instead would mirror the picture, not turn it.
struct Turn {
  int angle;
  std::uint32_t w, h;  // of the input
  void Source(std::uint32_t x, std::uint32_t row, std::uint32_t& sx, std::uint32_t& sy) const {
    switch (angle) {
      case 90:
        sx = row;
        sy = h - 1 - x;
        return;
      case 180:
        sx = w - 1 - x;
        sy = h - 1 - row;
        return;
      case 270:
        sx = w - 1 - row;
        sy = x;
        return;
      default:
        sx = x;
        sy = row;
    }
  }
};

PixelRows Allocate(const RowsView& in, int angle) {
  PixelRows out;
  const bool swap = angle == 90 || angle == 270;
  out.width = swap ? in.height : in.width;
  out.height = swap ? in.width : in.height;
  out.stride = DibStride(out.width, in.bitsPerPixel);
  out.data.assign(out.stride * out.height, 0);
  return out;
}

std::uint32_t GetPixel(const RowsView& in, std::uint32_t x, std::uint32_t y) {
  const std::uint8_t* row = in.data.data() + std::size_t{y} * in.stride;
  switch (in.bitsPerPixel) {
    case 1:
      return (row[x / 8] >> (7 - x % 8)) & 1u;
    case 4:
      return (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xFu;
    case 8:
      return row[x];
    default: {
      const unsigned bytes = in.bitsPerPixel / 8;
      std::uint32_t v = 0;
      for (unsigned i = 0; i < bytes; ++i)
        v |= std::uint32_t{row[std::size_t{x} * bytes + i]} << (8 * i);
      return v;
    }
  }
}

void SetPixel(PixelRows& out, unsigned bpp, std::uint32_t x, std::uint32_t y, std::uint32_t v) {
  std::uint8_t* row = out.data.data() + std::size_t{y} * out.stride;
  switch (bpp) {
    case 1:
      row[x / 8] |= static_cast<std::uint8_t>(v << (7 - x % 8));
      return;
    case 4:
      row[x / 2] |= static_cast<std::uint8_t>(v << (x % 2 ? 0 : 4));
      return;
    case 8:
      row[x] = static_cast<std::uint8_t>(v);
      return;
    default: {
      const unsigned bytes = bpp / 8;
      for (unsigned i = 0; i < bytes; ++i)
        row[std::size_t{x} * bytes + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
  }
}

PixelRows Rotate(const RowsView& in, int angle) {
  if (!in.Valid()) return {};
  if (angle != 90 && angle != 180 && angle != 270) angle = 0;
  PixelRows out = Allocate(in, angle);
  if (out.stride == 0 && out.width != 0) return {};
  if (angle == 0) {
    // The last partial byte is kept as it stands; the padding after it is zero.
    const std::size_t used = (std::size_t{in.width} * in.bitsPerPixel + 7) / 8;
    for (std::uint32_t y = 0; y < in.height; ++y)
      std::memcpy(out.data.data() + y * out.stride, in.data.data() + y * in.stride, used);
    return out;
  }
  const Turn turn{angle, in.width, in.height};
  for (std::uint32_t y = 0; y < out.height; ++y)
    for (std::uint32_t x = 0; x < out.width; ++x) {
      std::uint32_t sx = 0, sy = 0;
      turn.Source(x, y, sx, sy);
      if (const std::uint32_t v = GetPixel(in, sx, sy)) SetPixel(out, in.bitsPerPixel, x, y, v);
    }
  return out;
}

}  // namespace

PixelRows RotateBits(const RowsView& in, int angle) {
  RowsView bits = in;
  bits.bitsPerPixel = 1;
  return Rotate(bits, angle);
}

PixelRows RotatePixels(const RowsView& in, int angle) {
  if (in.bitsPerPixel != 4 && in.bitsPerPixel != 8 && in.bitsPerPixel != 24 &&
      in.bitsPerPixel != 32)
    return {};
  return Rotate(in, angle);
}

}  // namespace quillon
