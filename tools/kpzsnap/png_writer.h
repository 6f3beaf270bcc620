#pragma once
// Writes a picture as an 8-bit RGB PNG, compressed with zlib.

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// Pixels row by row from the top, each 0x00RRGGBB (the layout of a 32-bit DIB).
struct SnapImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// The whole PNG file in memory; empty when the image is empty or zlib fails.
std::vector<std::uint8_t> EncodePng(const SnapImage& image);

// False when the picture cannot be encoded or the file not written.
bool WritePng(const std::string& path, const SnapImage& image);

}  // namespace quillon
