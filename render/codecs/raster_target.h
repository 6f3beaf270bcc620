#pragma once
// The destination of a raster decoder: the cached image, already turned by the view rotation
// and, for bitonal images, reduced by the factor as rows arrive. Decoders hand over source
// rows in the image's own orientation; this class places them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "render/codecs/halving_tables.h"

namespace quillon {

enum class PixelKind : std::uint8_t { Bitonal, Gray8, Rgb24 };

// What a decoder is asked to produce: the source image size, the view rotation (0, 90, 180 or
// 270 degrees) and the reduction factor (1 to 32, a power of two; bitonal images only).
struct RasterGeometry {
  std::int32_t width = 0;
  std::int32_t rows = 0;
  int rotation = 0;
  int factor = 1;
  PixelKind kind = PixelKind::Bitonal;
};

// The destination image: turned and reduced size, bytes per row (padded to 4) and total size.
struct RasterLayout {
  std::int32_t width = 0;
  std::int32_t rows = 0;
  std::size_t stride = 0;
  std::size_t bytes = 0;
};

// Checked against overflow and absurd sizes; nullopt for a geometry that cannot be drawn.
std::optional<RasterLayout> MeasureRaster(const RasterGeometry& geometry);

// One bitonal source row being painted: set pixels are 1, most significant bit leftmost. With
// `mirrored` a span [a, b) lands at [width - b, width - a).
struct BitRow {
  std::uint8_t* bits = nullptr;
  std::uint32_t width = 0;
  bool mirrored = false;
};

// Sets the pixels [begin, end) of a row; begin < end <= width.
void FillSpan(const BitRow& row, std::uint32_t begin, std::uint32_t end);

// Sets the black spans of a row given by its changing elements (strictly increasing, below the
// width): [changes[0], changes[1]), [changes[2], changes[3]), ...; changes[count] must hold
// the width, which closes an odd last span.
void FillChanges(const BitRow& row, const std::uint32_t* changes, std::size_t count);

class RasterTarget {
 public:
  // The image must hold MeasureRaster(geometry)->bytes; it is cleared here unless it comes
  // `zeroed` (fresh from a heap that hands out zeroed blocks: clearing a large image again
  // touches every page for nothing). The tables are needed for a factor above 1 (their rule
  // combines pixel pairs).
  RasterTarget(const RasterGeometry& geometry, std::span<std::uint8_t> image,
               const HalvingTables* tables = nullptr, bool zeroed = false);
  ~RasterTarget() { Finish(); }
  RasterTarget(const RasterTarget&) = delete;
  RasterTarget& operator=(const RasterTarget&) = delete;

  // Writes out what is still held back and clears the rows no decoder reached. Called by the
  // whole-image decoders and by the destructor; the image is complete only after it.
  void Finish();
  // Lets go of the image without touching it again: its memory may already be gone.
  void Abandon() { ok_ = false; }

  bool ok() const { return ok_; }
  const RasterGeometry& geometry() const { return geometry_; }
  const RasterLayout& layout() const { return layout_; }

  // Bitonal: a clean row to paint source row `row` into, then End to place it. Rows outside the
  // image get a scratch row that is thrown away.
  BitRow BeginBitonalRow(std::int32_t row);
  void EndBitonalRow();

  // Gray8 / Rgb24: room for the source row's pixels (width × 1 or 3 bytes, in stored order),
  // then End to place it. The decoder writes every byte of the row before End; a row begun and
  // not ended is left 0.
  std::uint8_t* BeginPixelRow(std::int32_t row);
  void EndPixelRow();

 private:
  std::uint8_t* OutRow(std::int32_t y) {
    return image_.data() + static_cast<std::size_t>(y) * layout_.stride;
  }
  void PushLevel(int level, const std::uint8_t* bits);
  void PlaceReducedRow(std::int32_t row, const std::uint8_t* bits);
  void ClearThrough(std::int32_t y);
  std::uint8_t* ColumnSlot(std::int32_t row);
  void FlushColumns();
  void CloseOpenRow();
  std::uint8_t* BandSlot(std::int32_t row);
  void FlushBand();
  void WriteBandRows(std::int32_t first, std::int32_t count);
  void ClearUnwrittenColumns();

  RasterGeometry geometry_;
  RasterLayout layout_;
  std::span<std::uint8_t> image_;
  const HalvingTables* tables_ = nullptr;
  bool ok_ = false;
  int levels_ = 0;  // log2 of the factor

  std::int32_t row_ = 0;  // source row being painted
  bool direct_ = false;   // the row being painted is the destination row itself
  std::vector<std::uint8_t> scratch_;
  std::size_t rowBytes_ = 0;  // bytes of a full-size source row

  // Reduction cascade: per level the halved sum of the rows seen so far in the current pair.
  std::vector<std::vector<std::uint8_t>> pairs_;
  std::vector<std::size_t> levelBytes_;
  std::vector<std::uint32_t> levelRowsSeen_;
  std::int32_t reducedRows_ = 0;
  // Rows above this one are cleared or written; only at rotation 0 and factor 1, where rows
  // are cleared just before they are painted instead of all at once.
  bool lazyClear_ = false;
  std::int32_t clearedRows_ = 0;

  // Turned by 90 or 270 degrees, up to eight source rows that share one output byte column
  // are held and then written a byte at a time.
  std::vector<std::uint8_t> columnRows_;
  std::size_t columnRowBytes_ = 0;
  std::int32_t columnByte_ = -1;  // output byte column held, -1 none
  std::uint8_t columnSlots_ = 0;  // bit p set: slot p holds a row
  std::int32_t columnSlot_ = 0;   // slot of the row being painted

  // At rotation 0 and factor 1, the pixel row handed out and not yet ended, -1 none.
  std::int32_t openRow_ = -1;

  // Turned 8-bit and RGB images: a pixel per output row a stride apart would miss the cache at
  // every store, so source rows are gathered in a band (aligned on multiples of bandRows_) and
  // written out as columns a block at a time. The slot after the band takes rows outside the
  // image.
  std::vector<std::uint8_t> band_;
  std::size_t bandStride_ = 0;
  std::int32_t bandRows_ = 0;
  std::int32_t bandFirst_ = -1;  // first source row of the band held, -1 none
  std::uint64_t bandHeld_ = 0;   // bit k set: row bandFirst_ + k is complete
  std::int32_t bandSlot_ = 0;    // slot of the row being filled
  // The image is not cleared up front: source rows [writtenLo_, writtenHi_) are written, the
  // other columns are cleared at the end, or at once when rows arrive out of that order.
  bool lazyColumns_ = false;
  bool zeroed_ = false;
  std::int32_t writtenLo_ = 0;
  std::int32_t writtenHi_ = 0;
};

}  // namespace quillon
