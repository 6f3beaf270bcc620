#pragma once
// Halving of pattern bitmaps: width and height halved (integer division), rows padded to 32
// bits. Rows are taken in pairs; an odd last row pairs with itself.

#include "render/bit_rotation.h"
#include "render/codecs/halving_tables.h"

namespace quillon {

// One-bit rows: each output pixel is the pair rule of the tables applied to two horizontally
// adjacent pixels of the first row, ORed with the same for the second row.
PixelRows HalveBits(const RowsView& in, const HalvingTables& tables);

// 4 and 8 bits per pixel hold palette indices, which cannot be mixed: the top-left pixel of
// each 2 x 2 block is kept. 24 and 32 bits: each channel is the rounded mean of the block.
PixelRows HalvePixels(const RowsView& in);

}  // namespace quillon
