#pragma once
// cairo's image surfaces hold at most 32767 pixels a side, and a raster of an A0 sheet at 1200
// dots per inch is 56000 pixels across. Larger bitmaps go to cairo as tiles, each its own image
// placed at its columns and rows. The tiles are much smaller than cairo allows: pixman samples
// images in 16.16 fixed point, and a tile whose origin lies 32767 pixels from the picture's
// corner (a raster reaching far above or left of the view) draws nothing.

#include <algorithm>

namespace quillon {

struct ImageTile {
  int left = 0, top = 0, width = 0, height = 0;
};

inline constexpr int kMaxImageSide = 32767;
// The side of the tiles of a larger bitmap: a multiple of 8, so that 1-bit rows split between
// bytes and every tile's first pixel is the most significant bit of its first byte.
inline constexpr int kTileSide = 8192;

// Calls `paint` with each tile of a width x height bitmap, left to right, then top to bottom;
// one tile when the bitmap fits.
template <typename Paint>
void ForEachTile(int width, int height, Paint&& paint) {
  const int across = width <= kMaxImageSide ? width : kTileSide;
  const int down = height <= kMaxImageSide ? height : kTileSide;
  for (int top = 0; top < height; top += down)
    for (int left = 0; left < width; left += across)
      paint(ImageTile{left, top, std::min(across, width - left), std::min(down, height - top)});
}

}  // namespace quillon
