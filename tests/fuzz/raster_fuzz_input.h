#pragma once
// The head every decoder fuzz input starts with: u16 width and u16 rows (little-endian, taken
// modulo a limit so that images stay small), then one byte of options whose bits 0-1 give the
// rotation and, for bitonal images, bits 2-4 the reduction as a power of two. The rest of the
// input is the body the decoder reads. A target may also bound the pixels: rows beyond it are
// dropped, so wide rows and tall images are each still reached but no input pays for a
// megapixel image it mostly leaves blank.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "render/codecs/raster_target.h"

#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_FUZZ_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLON_FUZZ_ASAN 1
#endif
#endif
#ifdef QUILLON_FUZZ_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace quillon::fuzz {

inline void PoisonFuzzBytes([[maybe_unused]] const void* at, [[maybe_unused]] std::size_t n) {
#ifdef QUILLON_FUZZ_ASAN
  ASAN_POISON_MEMORY_REGION(at, n);
#endif
}
inline void UnpoisonFuzzBytes([[maybe_unused]] const void* at, [[maybe_unused]] std::size_t n) {
#ifdef QUILLON_FUZZ_ASAN
  ASAN_UNPOISON_MEMORY_REGION(at, n);
#endif
}

struct RasterFuzzInput {
  RasterGeometry geometry;
  int options = 0;
  std::span<const std::uint8_t> body;
};

inline std::optional<RasterFuzzInput> ReadRasterFuzzInput(const std::uint8_t* data,
                                                          std::size_t size, PixelKind kind,
                                                          int maxWidth, int maxRows,
                                                          std::int32_t maxPixels = 0) {
  if (size < 5) return std::nullopt;
  RasterFuzzInput in;
  in.options = data[4];
  in.geometry.width = 1 + ((data[0] | (data[1] << 8)) % maxWidth);
  in.geometry.rows = 1 + ((data[2] | (data[3] << 8)) % maxRows);
  if (maxPixels > 0)
    in.geometry.rows = std::max(1, std::min(in.geometry.rows, maxPixels / in.geometry.width));
  in.geometry.rotation = 90 * (in.options & 3);
  in.geometry.kind = kind;
  if (kind == PixelKind::Bitonal) in.geometry.factor = 1 << (((in.options >> 2) & 7) % 6);
  in.body = std::span<const std::uint8_t>(data + 5, size - 5);
  return in;
}

// An image buffer of the size the geometry needs; empty when the geometry is refused.
// One block serves every input: a fresh allocation of up to 4 MiB per input spent most of
// the run in page faults. The image takes the block's end, so the redzone after the block
// still catches a byte written one too far, and the unused front is poisoned for ASan.
inline std::span<std::uint8_t> ImageFor(const RasterGeometry& geometry) {
  const auto layout = MeasureRaster(geometry);
  const std::size_t bytes = layout ? layout->bytes : 0;
  static std::vector<std::uint8_t> block;
  if (bytes > block.size()) {
    UnpoisonFuzzBytes(block.data(), block.size());
    block = std::vector<std::uint8_t>(bytes);
  }
  UnpoisonFuzzBytes(block.data(), block.size());
  PoisonFuzzBytes(block.data(), block.size() - bytes);
  std::uint8_t* image = block.data() + (block.size() - bytes);
  std::fill_n(image, bytes, std::uint8_t{0});
  return {image, bytes};
}

// Feeds records of one length byte and that many bytes (the last cut to what is left) to
// `feed`, rows from the bottom up as whole-image writers store them. One record goes to the
// row below the image; the ones after it would only repeat that case, thousands of times.
template <class Feed>
void ForEachBottomUpRecord(std::span<const std::uint8_t> body, std::int32_t rows, Feed feed) {
  std::size_t at = 0;
  std::int32_t row = rows - 1;
  while (at < body.size() && row >= -1) {
    const std::size_t length = body[at++];
    const std::size_t take = length < body.size() - at ? length : body.size() - at;
    feed(body.subspan(at, take), row--);
    at += take;
  }
}

}  // namespace quillon::fuzz
