#include "render/bitmap_halving.h"

#include <algorithm>

namespace quillon {

namespace {

PixelRows HalfSize(const RowsView& in) {
  PixelRows out;
  out.width = in.width / 2;
  out.height = in.height / 2;
  out.stride = DibStride(out.width, in.bitsPerPixel);
  out.data.assign(out.stride * out.height, 0);
  return out;
}

std::uint32_t PairRow(const RowsView& in, std::uint32_t outRow, unsigned second) {
  return std::min(outRow * 2 + second, in.height - 1);
}

}  // namespace

PixelRows HalveBits(const RowsView& in, const HalvingTables& tables) {
  RowsView bits = in;
  bits.bitsPerPixel = 1;
  if (!bits.Valid()) return {};
  PixelRows out = HalfSize(bits);
  const std::size_t outBytes = (out.width + 7) / 8;
  // Bits of the last byte beyond the new width come from padding: cleared.
  const std::uint8_t lastMask =
      out.width % 8 ? static_cast<std::uint8_t>(0xFF00u >> (out.width % 8)) : 0xFF;
  for (std::uint32_t y = 0; y < out.height; ++y) {
    std::uint8_t* dst = out.data.data() + y * out.stride;
    for (unsigned second = 0; second < 2; ++second) {
      const std::uint8_t* src =
          bits.data.data() + std::size_t{PairRow(bits, y, second)} * bits.stride;
      for (std::size_t k = 0; k < outBytes; ++k) {
        const std::size_t a = 2 * k, b = 2 * k + 1;
        const std::uint8_t hi = a < bits.stride ? tables.high[src[a]] : 0;
        const std::uint8_t lo = b < bits.stride ? tables.low[src[b]] : 0;
        dst[k] |= static_cast<std::uint8_t>(hi | lo);
      }
    }
    if (outBytes) dst[outBytes - 1] &= lastMask;
  }
  return out;
}

PixelRows HalvePixels(const RowsView& in) {
  if (!in.Valid()) return {};
  const unsigned bpp = in.bitsPerPixel;
  if (bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return {};
  PixelRows out = HalfSize(in);
  for (std::uint32_t y = 0; y < out.height; ++y) {
    const std::uint8_t* r0 = in.data.data() + std::size_t{PairRow(in, y, 0)} * in.stride;
    const std::uint8_t* r1 = in.data.data() + std::size_t{PairRow(in, y, 1)} * in.stride;
    std::uint8_t* dst = out.data.data() + y * out.stride;
    for (std::uint32_t x = 0; x < out.width; ++x) {
      if (bpp == 8) {
        dst[x] = r0[2 * x];
      } else if (bpp == 4) {
        const std::uint8_t index = r0[x] >> 4;  // source pixel 2x is the high nibble of byte x
        dst[x / 2] |= static_cast<std::uint8_t>(index << (x % 2 ? 0 : 4));
      } else {
        const unsigned bytes = bpp / 8;
        for (unsigned c = 0; c < bytes; ++c) {
          const std::size_t left = std::size_t{2 * x} * bytes + c, right = left + bytes;
          const unsigned sum = r0[left] + r0[right] + r1[left] + r1[right];
          dst[std::size_t{x} * bytes + c] = static_cast<std::uint8_t>((sum + 2) / 4);
        }
      }
    }
  }
  return out;
}

}  // namespace quillon
