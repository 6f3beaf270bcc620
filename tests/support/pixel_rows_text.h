#pragma once
// One-bit DIB rows written as text: one string a row, '1' for a set bit, first row first.
// Lets tests state bitmaps and their expected results as pictures.

#include <string>
#include <vector>

#include "render/bit_rotation.h"

namespace quillon::test {

inline PixelRows PixelRowsFromText(const std::vector<std::string>& rows) {
  PixelRows out;
  out.width = static_cast<std::uint32_t>(rows.empty() ? 0 : rows[0].size());
  out.height = static_cast<std::uint32_t>(rows.size());
  out.stride = DibStride(out.width, 1);
  out.data.assign(out.stride * out.height, 0);
  for (std::size_t y = 0; y < rows.size(); ++y)
    for (std::size_t x = 0; x < rows[y].size(); ++x)
      if (rows[y][x] == '1') out.data[y * out.stride + x / 8] |= 0x80 >> (x % 8);
  return out;
}

inline std::vector<std::string> PixelRowsToText(const PixelRows& rows) {
  std::vector<std::string> text;
  for (std::uint32_t y = 0; y < rows.height; ++y) {
    std::string row;
    for (std::uint32_t x = 0; x < rows.width; ++x)
      row += (rows.data[y * rows.stride + x / 8] >> (7 - x % 8)) & 1 ? '1' : '0';
    text.push_back(row);
  }
  return text;
}

}  // namespace quillon::test
