#pragma once
// Tolerant looks at a drawn surface: how many pixels of a kind lie in a box, and the runs of
// a kind along a row or a column (where dashes start and how long they are).

#include <functional>
#include <vector>

#include "base/win32/memory_dc.h"

namespace quillon::test {

using PixelTest = std::function<bool(std::uint32_t colourRef)>;

inline PixelTest Is(std::uint32_t colourRef) {
  return [colourRef](std::uint32_t c) { return c == colourRef; };
}

// Pixels of [x0, x1) x [y0, y1) that pass.
inline int CountPixels(const MemoryDc& surface, const PixelTest& test, int x0, int y0, int x1,
                       int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += test(surface.PixelColour(x, y));
  return n;
}

struct PixelRun {
  int start = 0;   // first pixel
  int length = 0;  // pixels
};

// Runs of passing pixels from `from` to `to` (exclusive) along row y, or along column x when
// `vertical`.
inline std::vector<PixelRun> Runs(const MemoryDc& surface, const PixelTest& test, bool vertical,
                                  int line, int from, int to) {
  std::vector<PixelRun> runs;
  bool inside = false;
  for (int i = from; i < to; ++i) {
    const bool pass =
        test(vertical ? surface.PixelColour(line, i) : surface.PixelColour(i, line));
    if (pass && !inside) runs.push_back({i, 0});
    if (pass) ++runs.back().length;
    inside = pass;
  }
  return runs;
}

}  // namespace quillon::test
