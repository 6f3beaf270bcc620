#pragma once
// Reference encodes and decodes through libtiff and libjpeg, and a plain pixel-by-pixel model
// of turning and reduction, for checking the raster decoders against libraries we did not write.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "render/codecs/halving_tables.h"

namespace quillon::oracle {

// One bit per pixel, most significant bit leftmost, 1 = black; rows of (width + 7) / 8 bytes.
struct BitImage {
  std::int32_t width = 0;
  std::int32_t rows = 0;
  std::vector<std::uint8_t> bits;

  BitImage() = default;
  BitImage(std::int32_t w, std::int32_t h);
  std::size_t stride() const { return (static_cast<std::size_t>(width) + 7) / 8; }
  bool Get(std::int32_t x, std::int32_t y) const {
    return (bits[static_cast<std::size_t>(y) * stride() + (x >> 3)] >> (7 - (x & 7))) & 1;
  }
  void Set(std::int32_t x, std::int32_t y) {
    bits[static_cast<std::size_t>(y) * stride() + (x >> 3)] |=
        static_cast<std::uint8_t>(0x80u >> (x & 7));
  }
};

// Bytes per pixel 1 (grey / palette index) or 3; rows packed without padding.
struct PixelImage {
  std::int32_t width = 0;
  std::int32_t rows = 0;
  int bytesPerPixel = 1;
  std::vector<std::uint8_t> pixels;
};

std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

// A one-strip bitonal TIFF: the raw strip (TIFFReadRawStrip) and libtiff's decode of it
// (TIFFReadEncodedStrip). Damage reported by libtiff's handlers fills `warnings`.
struct TiffBitonal {
  BitImage image;
  std::vector<std::uint8_t> stream;
  std::string warnings;
};
std::optional<TiffBitonal> ReadBitonalTiff(const std::string& path);

// Each row as the plot writer's run pairs: u16 (skip, run) pairs, the skip counted from the
// end of the previous run.
std::vector<std::vector<std::uint8_t>> EncodeRunPairRows(const BitImage& image);

// libtiff's Group 4 encoder (as tiffcp -c g4 -f lsb2msb): the raw strip of `image`.
std::vector<std::uint8_t> EncodeGroup4(const BitImage& image);

// An 8-bit one-strip TIFF compressed with standard PackBits: raw strip and libtiff's decode.
struct TiffPackBits {
  PixelImage image;
  std::vector<std::uint8_t> stream;
};
std::optional<TiffPackBits> ReadPackBitsTiff(const std::string& path);
// libtiff's PackBits encoder over an 8-bit image (every row coded on its own).
std::vector<std::uint8_t> EncodePackBits(const PixelImage& image);
// Standard PackBits to the variant of the image formats: a literal header h becomes h + 1
// (128-byte literals split), a run header h becomes h - 1, -128 is dropped.
std::vector<std::uint8_t> ToVariantPackBits(std::span<const std::uint8_t> standard);

// libjpeg's decode with its defaults, three bytes per pixel as delivered.
std::optional<PixelImage> DecodeJpegReference(std::span<const std::uint8_t> stream);
// libjpeg's compressor (as cjpeg): RGB or grey input.
std::vector<std::uint8_t> EncodeJpeg(const PixelImage& image, int quality,
                                     bool progressive = false);

// What a decoder should leave in its destination, computed pixel by pixel: the image reduced
// by `factor` (pairs of pixels by `rule`, pairs of rows ORed, level by level), then turned by
// `rotation`, in rows padded to 4 bytes.
std::vector<std::uint8_t> ExpectedBitonal(const BitImage& image, int rotation, int factor,
                                          PairRule rule);
std::vector<std::uint8_t> ExpectedPixels(const PixelImage& image, int rotation);

// A bitonal drawing of lines, boxes, hatching and specks, the same for the same seed.
BitImage SyntheticDrawing(std::int32_t width, std::int32_t rows, unsigned seed, int density);
// A smooth picture with some noise; bytesPerPixel 1 or 3.
PixelImage SyntheticPicture(std::int32_t width, std::int32_t rows, int bytesPerPixel,
                            unsigned seed);

// The raster reference data beside the repository (shared/data/rasters), or empty when that is
// missing. Programs that use it define QUILLON_SHARED_DIR.
std::string RasterDataDir(const char* sharedDir);

}  // namespace quillon::oracle
