#include "render/codecs/pixel_transpose.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// The wider instructions are chosen at run time, in 32-bit builds too: the shipped control is
// one, and processors without them still take the SSE2 and plain paths.
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QUILLON_TRANSPOSE_AVX2 1
#endif

namespace quillon {

namespace {

// Output rows lie a stride apart, on different pages, so no hardware prefetcher sees them
// coming: the bytes of the rows this many ahead are asked for while the block is worked on.
constexpr std::size_t kAhead = 64;

inline void PrefetchRows(std::uint8_t* out, std::size_t rows, std::size_t bytes,
                         std::ptrdiff_t step) {
  for (std::size_t q = 0; q < rows; ++q, out += step) {
    for (std::size_t b = 0; b < bytes; b += 64) __builtin_prefetch(out + b, 1);
    __builtin_prefetch(out + bytes - 1, 1);
  }
}

#if defined(__SSE2__)
// A 16 × 16 byte block: 16 pixels of 16 rows become 16 bytes of 16 output rows, by four rounds
// of interleaving (bytes, pairs, quads, halves).
void TransposeBlock16(const std::uint8_t* const* rows, std::size_t j, std::uint8_t* out,
                      std::ptrdiff_t step) {
  __m128i a[16], b[16];
#pragma GCC unroll 16
  for (int k = 0; k < 16; ++k)
    a[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + j));
    // b[2i], b[2i + 1]: rows 2i and 2i + 1 paired, pixels 0-7 and 8-15.
#pragma GCC unroll 8
  for (int i = 0; i < 8; ++i) {
    b[2 * i] = _mm_unpacklo_epi8(a[2 * i], a[2 * i + 1]);
    b[2 * i + 1] = _mm_unpackhi_epi8(a[2 * i], a[2 * i + 1]);
  }
  // a[4m + c]: rows 4m to 4m + 3, pixels 4c to 4c + 3.
#pragma GCC unroll 8
  for (int m = 0; m < 4; ++m) {
    a[4 * m + 0] = _mm_unpacklo_epi16(b[4 * m], b[4 * m + 2]);
    a[4 * m + 1] = _mm_unpackhi_epi16(b[4 * m], b[4 * m + 2]);
    a[4 * m + 2] = _mm_unpacklo_epi16(b[4 * m + 1], b[4 * m + 3]);
    a[4 * m + 3] = _mm_unpackhi_epi16(b[4 * m + 1], b[4 * m + 3]);
  }
  // b[8q + 2c + h]: rows 8q to 8q + 7, pixels 4c + 2h and 4c + 2h + 1.
#pragma GCC unroll 8
  for (int q = 0; q < 2; ++q) {
#pragma GCC unroll 4
    for (int c = 0; c < 4; ++c) {
      b[8 * q + 2 * c] = _mm_unpacklo_epi32(a[8 * q + c], a[8 * q + 4 + c]);
      b[8 * q + 2 * c + 1] = _mm_unpackhi_epi32(a[8 * q + c], a[8 * q + 4 + c]);
    }
  }
  // Pixel 2p of all 16 rows, then pixel 2p + 1.
#pragma GCC unroll 8
  for (int p = 0; p < 8; ++p) {
    const __m128i even = _mm_unpacklo_epi64(b[p], b[8 + p]);
    const __m128i odd = _mm_unpackhi_epi64(b[p], b[8 + p]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (2 * p) * step), even);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (2 * p + 1) * step), odd);
  }
}
#endif

#if defined(QUILLON_TRANSPOSE_AVX2)
// The same rounds on 32 pixels of 16 rows: each half of the wide registers carries 16 of them.
__attribute__((target("avx2"))) void TransposeBlock32(const std::uint8_t* const* rows,
                                                      std::size_t j, std::uint8_t* out,
                                                      std::ptrdiff_t step) {
  __m256i a[16], b[16];
#pragma GCC unroll 16
  for (int k = 0; k < 16; ++k)
    a[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k] + j));
#pragma GCC unroll 8
  for (int i = 0; i < 8; ++i) {
    b[2 * i] = _mm256_unpacklo_epi8(a[2 * i], a[2 * i + 1]);
    b[2 * i + 1] = _mm256_unpackhi_epi8(a[2 * i], a[2 * i + 1]);
  }
#pragma GCC unroll 8
  for (int m = 0; m < 4; ++m) {
    a[4 * m + 0] = _mm256_unpacklo_epi16(b[4 * m], b[4 * m + 2]);
    a[4 * m + 1] = _mm256_unpackhi_epi16(b[4 * m], b[4 * m + 2]);
    a[4 * m + 2] = _mm256_unpacklo_epi16(b[4 * m + 1], b[4 * m + 3]);
    a[4 * m + 3] = _mm256_unpackhi_epi16(b[4 * m + 1], b[4 * m + 3]);
  }
#pragma GCC unroll 8
  for (int q = 0; q < 2; ++q) {
#pragma GCC unroll 4
    for (int c = 0; c < 4; ++c) {
      b[8 * q + 2 * c] = _mm256_unpacklo_epi32(a[8 * q + c], a[8 * q + 4 + c]);
      b[8 * q + 2 * c + 1] = _mm256_unpackhi_epi32(a[8 * q + c], a[8 * q + 4 + c]);
    }
  }
  // The low half holds pixel 2p (or 2p + 1), the high half the pixel 16 further on.
#pragma GCC unroll 8
  for (int p = 0; p < 8; ++p) {
    const __m256i even = _mm256_unpacklo_epi64(b[p], b[8 + p]);
    const __m256i odd = _mm256_unpackhi_epi64(b[p], b[8 + p]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (2 * p) * step),
                     _mm256_castsi256_si128(even));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (2 * p + 1) * step),
                     _mm256_castsi256_si128(odd));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (2 * p + 16) * step),
                     _mm256_extracti128_si256(even, 1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (2 * p + 17) * step),
                     _mm256_extracti128_si256(odd, 1));
  }
}

// Whole 32 × 16 blocks of the band; returns the pixels done.
__attribute__((target("avx2,prfchw"))) std::size_t TransposeBytesAvx2(
    const std::uint8_t* const* rows, std::size_t whole, std::size_t width, std::uint8_t* out,
    std::ptrdiff_t step) {
  std::size_t j = 0;
  for (; j + 32 <= width; j += 32) {
    std::uint8_t* o = out + static_cast<std::ptrdiff_t>(j) * step;
    if (j + 32 + kAhead <= width)
      PrefetchRows(o + static_cast<std::ptrdiff_t>(kAhead) * step, 32, whole, step);
    for (std::size_t k = 0; k < whole; k += 16) TransposeBlock32(rows + k, j, o + k, step);
  }
  return j;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

void TransposeBytes(const std::uint8_t* const* rows, std::size_t count, std::size_t width,
                    std::uint8_t* out, std::ptrdiff_t step) {
  std::size_t j = 0;
#if defined(__SSE2__)
  // Output rows are finished 16 at a time, each row's bytes of the band written together.
  const std::size_t whole = count / 16 * 16;
  if (whole > 0) {
#if defined(QUILLON_TRANSPOSE_AVX2)
    if (HasAvx2()) {
      const std::size_t done = TransposeBytesAvx2(rows, whole, width, out, step);
      // The rows past the whole blocks, for the pixels done.
      for (std::size_t q = 0; q < done && whole < count; ++q)
        for (std::size_t k = whole; k < count; ++k)
          out[static_cast<std::ptrdiff_t>(q) * step + static_cast<std::ptrdiff_t>(k)] = rows[k][q];
      j = done;
    }
#endif
    for (; j + 16 <= width; j += 16) {
      std::uint8_t* o = out + static_cast<std::ptrdiff_t>(j) * step;
      if (j + 16 + kAhead <= width)
        PrefetchRows(o + static_cast<std::ptrdiff_t>(kAhead) * step, 16, whole, step);
      for (std::size_t k = 0; k < whole; k += 16) TransposeBlock16(rows + k, j, o + k, step);
      for (std::size_t q = 0; q < 16; ++q)
        for (std::size_t k = whole; k < count; ++k)
          o[static_cast<std::ptrdiff_t>(q) * step + static_cast<std::ptrdiff_t>(k)] =
              rows[k][j + q];
    }
  }
#endif
  for (; j < width; ++j) {
    std::uint8_t* o = out + static_cast<std::ptrdiff_t>(j) * step;
    for (std::size_t k = 0; k < count; ++k) o[k] = rows[k][j];
  }
}

// Three bytes a pixel: four bytes are moved and the next pixel overwrites the fourth; the last
// pixel of each output row is moved exactly, as its fourth byte belongs to another column.
// Output rows from `from` on.
void TransposeTriples(const std::uint8_t* const* rows, std::size_t count, std::size_t from,
                      std::size_t width, std::uint8_t* out, std::ptrdiff_t step) {
  constexpr std::size_t kBlock = 16;  // output rows finished together
  for (std::size_t j0 = from; j0 < width; j0 += kBlock) {
    const std::size_t j1 = j0 + kBlock < width ? j0 + kBlock : width;
    if (j1 + kAhead <= width)
      PrefetchRows(out + static_cast<std::ptrdiff_t>(j0 + kAhead) * step, kBlock, 3 * count, step);
    for (std::size_t k = 0; k + 1 < count; ++k) {
      const std::uint8_t* src = rows[k] + 3 * j0;
      std::uint8_t* dst = out + static_cast<std::ptrdiff_t>(j0) * step + 3 * k;
      for (std::size_t j = j0; j < j1; ++j, src += 3, dst += step) std::memcpy(dst, src, 4);
    }
    const std::uint8_t* src = rows[count - 1] + 3 * j0;
    std::uint8_t* dst = out + static_cast<std::ptrdiff_t>(j0) * step + 3 * (count - 1);
    for (std::size_t j = j0; j < j1; ++j, src += 3, dst += step) std::memcpy(dst, src, 3);
  }
}

#if defined(QUILLON_TRANSPOSE_AVX2)
// 4 × 4 blocks of three-byte pixels: each row's four pixels are widened to four-byte words by
// a byte shuffle, the words transposed, and narrowed again. A block's 12 bytes are stored as
// 16 where the four extra bytes fall on pixels of the same row still to be written. Rows must
// be readable 16 bytes past their last pixel. Returns the output rows done.
__attribute__((target("ssse3"))) std::size_t TransposeTriplesSsse3(const std::uint8_t* const* rows,
                                                                   std::size_t count,
                                                                   std::size_t width,
                                                                   std::uint8_t* out,
                                                                   std::ptrdiff_t step) {
  const __m128i widen = _mm_setr_epi8(0, 1, 2, -128, 3, 4, 5, -128, 6, 7, 8, -128, 9, 10, 11, -128);
  const __m128i narrow =
      _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -128, -128, -128, -128);
  const std::size_t whole = count / 4 * 4;
  std::size_t j = 0;
  for (; j + 4 <= width; j += 4) {
    std::uint8_t* o = out + static_cast<std::ptrdiff_t>(j) * step;
    if (j % 16 == 0 && j + 16 + kAhead <= width)
      PrefetchRows(o + static_cast<std::ptrdiff_t>(kAhead) * step, 16, 3 * count, step);
    for (std::size_t k = 0; k < whole; k += 4) {
      __m128i e[4];
#pragma GCC unroll 4
      for (int i = 0; i < 4; ++i)
        e[i] = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + i] + 3 * j)), widen);
      const __m128i t0 = _mm_unpacklo_epi32(e[0], e[1]), t1 = _mm_unpackhi_epi32(e[0], e[1]);
      const __m128i t2 = _mm_unpacklo_epi32(e[2], e[3]), t3 = _mm_unpackhi_epi32(e[2], e[3]);
      const __m128i c[4] = {_mm_shuffle_epi8(_mm_unpacklo_epi64(t0, t2), narrow),
                            _mm_shuffle_epi8(_mm_unpackhi_epi64(t0, t2), narrow),
                            _mm_shuffle_epi8(_mm_unpacklo_epi64(t1, t3), narrow),
                            _mm_shuffle_epi8(_mm_unpackhi_epi64(t1, t3), narrow)};
      std::uint8_t* d = o + 3 * k;
      if (k + 6 <= count) {
#pragma GCC unroll 4
        for (int q = 0; q < 4; ++q)
          _mm_storeu_si128(reinterpret_cast<__m128i*>(d + q * step), c[q]);
      } else {
#pragma GCC unroll 4
        for (int q = 0; q < 4; ++q) {
          _mm_storel_epi64(reinterpret_cast<__m128i*>(d + q * step), c[q]);
          const int tail = _mm_cvtsi128_si32(_mm_srli_si128(c[q], 8));
          std::memcpy(d + q * step + 8, &tail, 4);
        }
      }
    }
    for (std::size_t k = whole; k < count; ++k)
      for (std::size_t q = 0; q < 4; ++q)
        std::memcpy(o + static_cast<std::ptrdiff_t>(q) * step + 3 * k, rows[k] + 3 * (j + q), 3);
  }
  return j;
}

bool HasSsse3() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}
#endif

void TransposeTriplesFrom(const std::uint8_t* const* rows, std::size_t count, std::size_t width,
                          std::uint8_t* out, std::ptrdiff_t step) {
  std::size_t from = 0;
#if defined(QUILLON_TRANSPOSE_AVX2)
  if (HasSsse3()) from = TransposeTriplesSsse3(rows, count, width, out, step);
#endif
  TransposeTriples(rows, count, from, width, out, step);
}

}  // namespace

void TransposePixelRows(const std::uint8_t* const* rows, std::size_t count, std::size_t width,
                        std::size_t bytesPerPixel, std::uint8_t* out, std::ptrdiff_t outStep) {
  if (count == 0 || width == 0) return;
  if (bytesPerPixel == 1)
    TransposeBytes(rows, count, width, out, outStep);
  else
    TransposeTriplesFrom(rows, count, width, out, outStep);
}

}  // namespace quillon
