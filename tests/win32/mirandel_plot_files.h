#pragma once
// Small plots for the viewer tests: a grid of thick lines with its diagonals in one colour on
// a 0.1 m x 0.2 m sheet (turned a quarter by the control, it lies wide), so that two files are told
// apart by the colour the control shows and any part of the sheet holds lines at any zoom.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/kpz_builder.h"

namespace quillon::test {

inline std::vector<std::uint8_t> GridPlot(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  KpzBuilder b;
  b.PageSize(0.1, 0.2, 4000);  // 400 x 800 dots
  b.BeginPage().LineWidth(12).LineColour(KpzBuilder::Rgb(red, green, blue));
  for (int x = 20; x <= 380; x += 90) b.Polyline({{x, 20}, {x, 780}});
  for (int y = 20; y <= 780; y += 95) b.Polyline({{20, y}, {380, y}});
  b.Polyline({{20, 20}, {380, 780}}).Polyline({{20, 780}, {380, 20}});
  b.EndPage();
  return b.Build();
}

// Whether a pixel is near a colour (each channel within 60).
inline bool Similar(std::uint32_t p, std::uint32_t rgb) {
  auto channel = [](std::uint32_t v, int shift) { return static_cast<int>((v >> shift) & 0xFF); };
  bool similar = true;
  for (int shift : {0, 8, 16})
    similar = similar && std::abs(channel(p, shift) - channel(rgb, shift)) < 60;
  return similar;
}

// The median over the rows of how many separate runs of a colour a row holds: the lines that
// cross it. Zooming in spreads the lines, so fewer cross a row of the same width.
inline int TypicalCrossings(const std::vector<std::uint32_t>& pixels, int width,
                            std::uint32_t rgb) {
  std::vector<int> crossings;
  for (size_t row = 0; width > 0 && row + width <= pixels.size(); row += width) {
    int runs = 0;
    bool inside = false;
    for (int x = 0; x < width; ++x) {
      const bool hit = Similar(pixels[row + x], rgb);
      runs += hit && !inside ? 1 : 0;
      inside = hit;
    }
    if (runs > 0) crossings.push_back(runs);
  }
  if (crossings.empty()) return 0;
  std::sort(crossings.begin(), crossings.end());
  return crossings[crossings.size() / 2];
}

// Counts the pixels near a colour.
inline int CountNear(const std::vector<std::uint32_t>& pixels, std::uint32_t rgb) {
  int count = 0;
  for (std::uint32_t p : pixels) count += Similar(p, rgb) ? 1 : 0;
  return count;
}

}  // namespace quillon::test
