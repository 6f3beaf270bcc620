#pragma once
// Source rows of 8-bit or RGB pixels written out as columns of a turned image, in blocks that
// stay in the cache: pixel j of rows[k] goes to out + j * outStep + k * bytesPerPixel.

#include <cstddef>
#include <cstdint>

namespace quillon {

// bytesPerPixel is 1 or 3. With 3, each of the rows must be readable 16 bytes past its last
// pixel (pixels are moved several at a time, bytes too many overwritten by the next ones).
void TransposePixelRows(const std::uint8_t* const* rows, std::size_t count, std::size_t width,
                        std::size_t bytesPerPixel, std::uint8_t* out, std::ptrdiff_t outStep);

}  // namespace quillon
